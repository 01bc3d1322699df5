#pragma once
// The player's own folders, as the desktop's folder rules name them: each is the folder an
// XDG variable names, else its usual place under the home folder. A relative value is not
// to be used, so it counts as unset.
#include <string>

namespace zorbo {

// The game's folder under $variable (an absolute path), else under $HOME/homeRelative;
// "zorbo" is added to either. Empty when neither names an absolute folder.
std::string ZorboUserFolder(const char* variable, const char* homeRelative);

// Where each kind of file goes: settings ($XDG_CONFIG_HOME), state such as progress and the
// editor's recovery copies ($XDG_STATE_HOME), and data the player made, his own level sets
// among it ($XDG_DATA_HOME).
inline std::string ZorboConfigFolder() { return ZorboUserFolder("XDG_CONFIG_HOME", ".config"); }
inline std::string ZorboStateFolder() { return ZorboUserFolder("XDG_STATE_HOME", ".local/state"); }
inline std::string ZorboDataFolder() { return ZorboUserFolder("XDG_DATA_HOME", ".local/share"); }

// Makes folder and every missing folder above it, each private to this user (0700) as the
// folder rules ask of the XDG folders. False with the system's reason.
bool MakePrivateFolders(const std::string& folder, std::string& reason);

} // namespace zorbo
