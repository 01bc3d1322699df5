#pragma once
#include "game/Settings.h"

#include <string>
#include <vector>

namespace zorbo {

struct CommandLine {
    Settings settings;
    bool anySetting = false;   // at least one game setting was given
    bool recordedSetting = false; // --level-set, --level or --difficulty: a recording fixes these
    bool windowOption = false; // --screen, --no-sound, --motion, --music, --screenshot or --frame-log: only for a window
    std::string tryingOut;     // the first of --start-column and --loop-level given, else empty
    bool help = false;
    bool version = false;
    std::string dataDir;       // --data, empty when not given
    std::string levelSet;      // --level-set as given (a name or a path), empty when not given
    int quitAfterFrames = -1;  // --quit-after-frames: end after that many pictures
    std::string screenshot;    // --screenshot: the last picture is saved there (BMP)
    std::string frameLog;      // --frame-log: a line per picture shown is written there
    std::string record;        // --record: the game is recorded to this file
    std::string play;          // --play: this recording is played back
    bool headless = false;     // --headless: play back without a window, as fast as possible
    std::string checkLevelSet; // --check-level-set: check this level-set file and exit
    std::string error;         // one line, empty when the command line is good
};

// Exit statuses of the program.
namespace ExitStatus {
constexpr int Ok = 0;
constexpr int Failed = 1;        // a file or the game failed, or a replay went its own way
constexpr int BadCommandLine = 2;
constexpr int CutOff = 3;        // a replay matched up to where its recording was cut off
constexpr int Stopped = 4;       // a replay was stopped before its recording's end
} // namespace ExitStatus

// Whether the game keeps the furthest level the player reaches in the level set
// (game/Progress.h): a game a player plays, recorded or not; never a replay, in a window or
// headless, nor a level tried out from the editor (a temporary copy of the set, looped).
bool KeepsProgress(const CommandLine& cl);

// The parser and --help read one table of options (CommandLine.cpp); the manual page is
// written from UsageText().
CommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();

// The data folder: --data when given, else "Data" beside the program, else the share
// folder of the prefix the program is installed in, else the configured share folder.
// Always ends in '/'.
std::string FindDataPath(const std::string& dataDir, const std::string& programDir);

// The level set a game started with game settings plays (--level-set, else Standard), found
// by the rules of level/LevelSets.h: gLevelSet and LevelSetFolder are set for it. False with
// a one-line reason when no folder holds it.
bool ChooseLevelSet(const CommandLine& cl, const std::string& playerFolder, Settings& settings, std::string& error);

} // namespace zorbo
