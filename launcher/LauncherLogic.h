#pragma once
#include "game/Settings.h"
#include "level/LevelSets.h"
#include "media/Presentation.h" // CentredLifted, where the launcher's windows go

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zorbo {

// The launcher's rules, apart from any window, so they can be tested without a display.

// One level set offered in the launcher: the name shown (the file name without ".txt",
// marked when the player's own folder holds a set of a data folder set's name) and the file
// it stands for.
struct LevelSetEntry {
    LevelSetEntry() = default;
    LevelSetEntry(std::string name_, std::string file_, std::string folder_ = {}, SetPlace place_ = SetPlace::Data)
        : name(std::move(name_)), file(std::move(file_)), folder(std::move(folder_)), place(place_)
    {
    }

    std::string name;
    std::string file;
    std::string folder;             // ending in '/'; empty for the data folder
    SetPlace place = SetPlace::Data;
    // The file's path, its folder's or the data folder's.
    std::string PathIn(const std::string& dataFolder) const { return (folder.empty() ? dataFolder : folder) + file; }
    bool operator==(const LevelSetEntry&) const = default;
};

// The level-set files of the data folder, sorted by file name, then those of the player's
// own folder (when given), sorted so too. A missing or unreadable folder lists nothing.
std::vector<LevelSetEntry> ListLevelSets(const std::string& dataFolder, const std::string& playerFolder = {});

// The name a player's set is listed by when a data folder set has its name (ignoring case):
// "Standard (mine)", with a number when even that is taken ("Standard (mine 2)").
std::string MarkedName(const std::string& name, const std::vector<LevelSetEntry>& listed);

// The level-set name check of "New Game": every entry whose name equals the typed text,
// ignoring case, becomes the chosen one, so the last match wins. Kept on purpose: without a
// match `chosen` keeps what an earlier attempt left, and that file is checked again.
void MatchLevelSet(const std::vector<LevelSetEntry>& entries, const std::string& text, LevelSetEntry& chosen);

// The level slider's caption once it has moved: "Level: (4/10)".
std::string LevelCaption(int value);

// The difficulty options, in the order they sit in the dialog.
enum class DifficultyOption { Easy = 1, Normal, Difficult, Crazy };
int32_t DifficultyFrameRate(DifficultyOption option);

// The screen-size box's text, compared exactly (kept on purpose: "full screen" typed by
// hand gives the 320 x 240 window). Other texts leave both flags as they are.
void ApplyScreenSize(const std::string& text, bool& gFullScreen, bool& gWindow640);
inline constexpr const char* kScreenSizes[3] = {"Full Screen", "320 x 240", "640 x 480"};

// Everything the dialog holds that "New Game" reads, and the choice it keeps between
// attempts.
struct LauncherChoices {
    std::vector<LevelSetEntry> levelSets;   // Combo1's list
    std::string levelSetText = "Standard";  // Combo1's text
    int level = 1;                          // HScroll1, 1..10
    std::string screenSizeText = "Full Screen";
    bool soundOn = true;
    DifficultyOption difficulty = DifficultyOption::Normal;
    Motion motion = Motion::Smooth;         // the level-set box's context menu
    MusicChoice music = MusicChoice::Automatic; // the context menu too
    LevelSetEntry chosen;                   // survives failed attempts; no file before a match
};

// What "New Game" decided.
struct NewGameOutcome {
    enum Kind { UnknownLevelSet, InvalidLevelSet, Start } kind = UnknownLevelSet;
    std::string message;   // for the message box when the game does not start
    Settings settings;     // the game's settings when it starts
};

extern const char* const kUnknownLevelSetMessage;

// Runs the checks of "New Game". checkFile looks at the chosen file and returns an empty
// string when it can be played, else one sentence naming the problem.
template <class CheckFile>
NewGameOutcome DecideNewGame(LauncherChoices& c, const std::string& dataPath, CheckFile checkFile);

// The settings "New Game" writes once the level set is accepted.
Settings SettingsFromChoices(const LauncherChoices& c, const std::string& dataPath);

template <class CheckFile>
NewGameOutcome DecideNewGame(LauncherChoices& c, const std::string& dataPath, CheckFile checkFile)
{
    NewGameOutcome out;
    MatchLevelSet(c.levelSets, c.levelSetText, c.chosen);
    if (c.chosen.file.empty()) {
        out.kind = NewGameOutcome::UnknownLevelSet;
        out.message = kUnknownLevelSetMessage;
        return out;
    }
    std::string problem = checkFile(c.chosen.PathIn(dataPath));
    if (!problem.empty()) {
        out.kind = NewGameOutcome::InvalidLevelSet;
        out.message = std::move(problem);
        return out;
    }
    out.kind = NewGameOutcome::Start;
    out.settings = SettingsFromChoices(c, dataPath);
    return out;
}

} // namespace zorbo
