#pragma once
#include "game/Settings.h"

#include <string>

namespace zorbo {

// Opens the launcher dialog on the desktop and waits for the player. Returns true with
// the chosen settings when "New Game" accepted a level set, false when the player left.
// dataPath is the data folder, ending in '/'; it may be missing (then nothing is listed).
bool RunLauncher(const std::string& dataPath, Settings& settings);

} // namespace zorbo
