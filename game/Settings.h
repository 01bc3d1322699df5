#pragma once
#include <cstdint>
#include <string>

namespace zorbo {

// The four difficulties, by the frames per second the game runs at.
namespace Difficulty {
constexpr int32_t Easy = 18;
constexpr int32_t Normal = 26;
constexpr int32_t Difficult = 32;
constexpr int32_t Crazy = 38;
} // namespace Difficulty

// The lives a new game (and a continue) begins with.
constexpr int32_t NewGameLives = 5;

// The choices the launcher (or the command line) hands to the game window.
struct Settings {
    int32_t gLevel = 0;          // 0..9
    bool gFullScreen = false;
    bool gWindow640 = false;
    int32_t gDifficulty = Difficulty::Normal; // one of Difficulty
    std::string gLevelSet = "Standard.txt";
    bool gSoundOn = true;
    std::string DataPath;        // the data folder, ending in '/'
    // 0, or the map column where the start level begins instead of at its hero start
    // (for trying a level out from the level editor).
    int32_t StartColumn = 0;
    // The start level begins again after its end and after a game over, each time as a new
    // game would (the level editor's test play; never recorded).
    bool LoopLevel = false;
};

} // namespace zorbo
