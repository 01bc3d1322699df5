#include "editor/SetPlaces.h"

#include "level/LevelSets.h"
#include "media/AtomicFile.h"

#include <unistd.h>

#include <filesystem>

namespace zorbo::editor {

namespace fs = std::filesystem;

namespace {

// The file a save of path would write (the end of its links), or path itself when that
// cannot be told; a save names the reason then.
std::string Written(const std::string& path)
{
    std::string resolved, reason;
    return AtomicFile::Resolve(path, resolved, reason) ? resolved : path;
}

std::string FolderOf(const std::string& path)
{
    const std::string folder = fs::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

bool InShippedFolder(const std::string& written, const std::string& shippedFolder)
{
    return !shippedFolder.empty() && LiesIn(written, shippedFolder);
}

} // namespace

CopyReason EditedAsCopy(const std::string& path, const std::string& shippedFolder)
{
    const std::string written = Written(path);
    if (InShippedFolder(written, shippedFolder))
        return CopyReason::Shipped;
    // A save writes a file of its own beside the set and renames it over the set: both the
    // folder and an existing file must be the user's to write.
    std::error_code ec;
    const bool exists = fs::exists(written, ec);
    if (::access(FolderOf(written).c_str(), W_OK | X_OK) != 0 || (exists && ::access(written.c_str(), W_OK) != 0))
        return CopyReason::ReadOnly;
    return CopyReason::None;
}

std::string SaveRefusal(const std::string& path, const std::string& shippedFolder)
{
    if (!InShippedFolder(Written(path), shippedFolder))
        return {};
    return "The game's data folder " + shippedFolder +
           " holds the sets that come with the game, and it is not changed: save your set in your own levels "
           "folder (" + PlayerLevelsFolder() + "), where the game finds it too.";
}

std::string CopyWords(CopyReason reason)
{
    switch (reason) {
    case CopyReason::Shipped:
        return "shipped with the game: saved as a copy";
    case CopyReason::ReadOnly:
        return "read-only: saved as a copy";
    case CopyReason::None:
        break;
    }
    return {};
}

std::string ProposedSavePath(const std::string& path, const std::string& playerFolder)
{
    const std::string name = path.empty() ? "Untitled.txt" : fs::path(path).filename().string();
    if (playerFolder.empty())
        return name;
    return playerFolder + (playerFolder.back() == '/' ? "" : "/") + name;
}

} // namespace zorbo::editor
