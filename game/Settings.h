#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

// How the game's pictures reach the screen. Neither changes the game: its frames, its
// keyboard polls and every picture it composes are the same; smooth only draws more
// pictures between two frames, moving the view and the sprites part of the way.
enum class Motion : uint8_t {
    Smooth,  // presented at the display's rate, positions blended between two frames
    Classic, // each composed picture presented once, as it was made
};
// The words the command line and the launcher's settings file use.
constexpr std::string_view MotionWord(Motion m) { return m == Motion::Classic ? "classic" : "smooth"; }
constexpr std::optional<Motion> MotionFromWord(std::string_view word)
{
    if (word == "smooth")
        return Motion::Smooth;
    if (word == "classic")
        return Motion::Classic;
    return std::nullopt;
}

// Music (presentation too: it never changes the game). Without a word from the player it
// plays in smooth motion and stays off in classic, which shows the game as it always was.
enum class MusicChoice : uint8_t {
    Automatic, // on in smooth motion, off in classic
    On,
    Off,
};
// The words the command line and the launcher's settings file use for a choice made
// ("on", "off"); Automatic has none, and the file leaves the key out.
constexpr std::string_view MusicWord(MusicChoice m) { return m == MusicChoice::Off ? "off" : "on"; }
constexpr std::optional<MusicChoice> MusicFromWord(std::string_view word)
{
    if (word == "on")
        return MusicChoice::On;
    if (word == "off")
        return MusicChoice::Off;
    return std::nullopt;
}
// Whether music is heard with this choice in this motion (with sound on).
constexpr bool MusicHeard(MusicChoice m, Motion motion)
{
    return m == MusicChoice::On || (m == MusicChoice::Automatic && motion == Motion::Smooth);
}

// The level-set file `file` in `folder`, or in the data folder when folder is empty.
inline std::string LevelSetPathOf(const std::string& dataPath, const std::string& folder, const std::string& file)
{
    std::string in = folder.empty() ? dataPath : folder;
    if (!in.empty() && in.back() != '/')
        in += '/';
    return in + file;
}

// The choices the launcher (or the command line) hands to the game window.
struct Settings {
    int32_t gLevel = 0;          // 0..9
    bool gFullScreen = false;
    bool gWindow640 = false;
    int32_t gDifficulty = Difficulty::Normal; // one of Difficulty
    std::string gLevelSet = "Standard.txt"; // the level set's file name, as recordings name it
    bool gSoundOn = true;
    std::string DataPath;        // the data folder, ending in '/'
    // The folder gLevelSet is read from, ending in '/' (the player's own, or a file's named
    // by its path); empty for the data folder.
    std::string LevelSetFolder;
    // 0, or the map column where the start level begins instead of at its hero start
    // (for trying a level out from the level editor).
    int32_t StartColumn = 0;
    // The start level begins again after its end and after a game over, each time as a new
    // game would (the level editor's test play; never recorded).
    bool LoopLevel = false;
    // Presentation only: never recorded, never part of the game's state.
    Motion motion = Motion::Smooth;
    MusicChoice music = MusicChoice::Automatic;

    // The level-set file the game reads.
    std::string LevelSetPath() const { return LevelSetPathOf(DataPath, LevelSetFolder, gLevelSet); }
};

} // namespace zorbo
