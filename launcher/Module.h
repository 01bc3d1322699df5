#pragma once
// The launcher as a module of its own, loaded by the game only when the dialog is shown:
// a game started with its settings on the command line never loads the dialog's toolkit.
#include "game/Settings.h"

#include <string>

namespace zorbo {

// The one entry the module exports, and its C name. The version string keeps a module
// of another build from being used with this program.
struct LauncherModuleEntry {
    const char* version;
    bool (*run)(const std::string& dataPath, Settings& settings, const std::string& editorProgram);
};
inline constexpr const char* LauncherModuleSymbol = "zorbo_launcher_entry";
inline constexpr const char* LauncherModuleFile = "zorbo-launcher.so";

} // namespace zorbo
