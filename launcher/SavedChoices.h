#pragma once
// The launcher's last choices, kept between starts in a small text file:
//
//   # Zorbo: the launcher's last choices
//   level-set Standard
//   level 1
//   screen-size Full Screen
//   difficulty normal
//   sound on
//   motion smooth
//   music on
//
// Each line is a key, one space and a value; empty lines and lines starting with '#' are
// skipped. A key the file leaves out keeps its designed value, so a file written before a
// key existed reads as it always did. The music key is written only once the player has
// chosen: without it the music follows the motion (game/Settings.h, MusicChoice).
#include "launcher/LauncherLogic.h" // DifficultyOption, kScreenSizes

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zorbo {

// What the launcher shows when it opens; the defaults are its designed values.
struct SavedChoices {
    std::string levelSet = "Standard"; // a level set's name, as the list shows it
    int level = 1;                     // 1..10
    std::string screenSize = kScreenSizes[0];
    DifficultyOption difficulty = DifficultyOption::Normal;
    bool soundOn = true;
    Motion motion = Motion::Smooth;    // the level-set box's context menu
    MusicChoice music = MusicChoice::Automatic; // the context menu too
    bool operator==(const SavedChoices&) const = default;
};

namespace SavedChoicesFormat {
constexpr size_t MaxFileBytes = 4096;
constexpr size_t MaxNameBytes = 255; // a file name's limit on Linux
constexpr size_t MaxListedProblems = 10;
} // namespace SavedChoicesFormat

struct SavedChoicesProblem {
    int line = 0; // from 1; 0 for the file as a whole
    std::string message;
};

struct SavedChoicesRead {
    SavedChoices choices;  // what the file says, designed values elsewhere
    std::vector<SavedChoicesProblem> problems;
    bool valid() const { return problems.empty(); }
    // The first problem as "line 3: ..." for a message.
    std::string FirstProblem() const;
};

// What a started game leaves for the next start: the listed name of the chosen file, the
// screen size the game was given (a typed size the list does not hold gave 320 x 240), its
// motion and its music.
SavedChoices ChoicesToRemember(const LauncherChoices& choices, const Settings& started);

// Reads the file's bytes. Any problem makes the whole file untrusted: callers use the
// choices only when valid().
SavedChoicesRead ReadSavedChoices(std::string_view bytes);

// The file's text for these choices; ReadSavedChoices gives them back. A level-set name
// the format cannot hold (a line break in it, too long) is left out.
std::string SavedChoicesText(const SavedChoices& choices);

// $XDG_CONFIG_HOME/zorbo/settings, else ~/.config/zorbo/settings; empty when neither
// variable names an absolute folder (then nothing is remembered).
std::string SavedChoicesPath();

// The choices kept at path: the designed ones when there is no file. A file that cannot be
// read or is damaged is warned about, naming it, and ignored.
SavedChoices LoadSavedChoices(const std::string& path);

// Writes the choices to path whole or not at all (its folder is made when missing); false
// with a reason to follow the file's name.
bool SaveChoices(const std::string& path, const SavedChoices& choices, std::string& reason);

} // namespace zorbo
