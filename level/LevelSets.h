#pragma once
// Where level sets are found: the data folder, which comes with the game and is not the
// player's to change, and the player's own folder, $XDG_DATA_HOME/zorbo/levels (else
// ~/.local/share/zorbo/levels), where the level editor saves the sets he makes. The game's
// --level-set, the launcher's list, the replays and the editor all go by these rules.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zorbo {

// The player's own level-set folder, ending in '/'; empty when neither XDG_DATA_HOME nor
// HOME names an absolute folder. It need not exist yet: the editor makes it on a first save.
std::string PlayerLevelsFolder();

enum class SetPlace : uint8_t {
    Data,      // the data folder
    Player,    // the player's own folder
    Elsewhere, // a file named by its path, in neither
};

// One level-set file and where it lies.
struct LevelSetFile {
    std::string folder; // ending in '/'
    std::string file;   // the file's name: what a recording names and progress is kept by
    SetPlace place = SetPlace::Data;
    std::string Path() const { return folder + file; }
};

// The name a level set goes by: its file name without ".txt" (compared ignoring case).
std::string LevelSetName(const std::string& file);
bool HasTxtExtension(const std::string& file);

// What --level-set NAME stands for. A NAME holding '/' is the path of a file, taken as it
// is; its place is the folder it lies in. Any other NAME is the file NAME.txt of the data
// folder when that holds it (whatever it is: one that is no level set is refused with its
// reason, as it always was), else of the player's folder; nullopt when neither does.
std::optional<LevelSetFile> FindLevelSet(const std::string& name, const std::string& dataFolder,
                                         const std::string& playerFolder);

// The files a recording's level set (a plain file name) may be, in the order a replay
// tries them: the data folder's, then the player's (when there is a player's folder).
std::vector<LevelSetFile> RecordedSetFiles(const std::string& file, const std::string& dataFolder,
                                           const std::string& playerFolder);

// Which of the two folders `folder` is, compared as folders on disk (a link to one is it),
// else Elsewhere.
SetPlace PlaceOf(const std::string& folder, const std::string& dataFolder, const std::string& playerFolder);

// Whether `path` lies directly in `folder` (compared as folders on disk).
bool LiesIn(const std::string& path, const std::string& folder);

} // namespace zorbo
