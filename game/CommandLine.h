#pragma once
#include "game/Settings.h"

#include <string>
#include <vector>

namespace zorbo {

struct CommandLine {
    Settings settings;
    bool anySetting = false;   // at least one game setting was given
    bool help = false;
    bool version = false;
    std::string dataDir;       // --data, empty when not given
    int quitAfterFrames = -1;  // --quit-after-frames: end after that many pictures
    std::string screenshot;    // --screenshot: the last picture is saved there (BMP)
    std::string record;        // --record: the game is recorded to this file
    std::string play;          // --play: this recording is played back
    bool headless = false;     // --headless: play back without a window, as fast as possible
    std::string checkLevelSet; // --check-level-set: check this level-set file and exit
    std::string error;         // one line, empty when the command line is good
};

CommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();

// The data folder: --data when given, else "Data" beside the program, else the share
// folder of the prefix the program is installed in, else the configured share folder.
// Always ends in '/'.
std::string FindDataPath(const std::string& dataDir, const std::string& programDir);

} // namespace zorbo
