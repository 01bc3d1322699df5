#pragma once
#include "game/Settings.h"

#include <cstdlib>
#include <string>

namespace zorbo {

// Opens the launcher dialog on the desktop and waits for the player. Returns true with
// the chosen settings when "New Game" accepted a level set, false when the player left.
// dataPath is the data folder, ending in '/'; it may be missing (then nothing is listed).
// editorProgram is the level editor that Ctrl+E and the level-set box's context menu start.
bool RunLauncher(const std::string& dataPath, Settings& settings, const std::string& editorProgram = {});

// Starts a program with one argument as a process of its own, which goes on when this one
// ends; empty, or why it could not be started.
std::string StartDetached(const std::string& program, const std::string& argument);

// Empty when the launcher can open its dialog, else a one-line reason that starts with
// "no display". The dialog is an X11 one: it needs DISPLAY, whatever SDL_VIDEODRIVER says.
// (Inline: the game asks this before it loads the launcher module.)
inline std::string LauncherNoDisplayReason()
{
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        return "no display: DISPLAY is not set, and the launcher needs a desktop (settings on the command line skip it)";
    return {};
}

} // namespace zorbo
