#include "level/LevelSets.h"

#include "media/UserFolders.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace zorbo {

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

// Whether anything is at path, a link that leads nowhere included.
bool Exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Two folders are one when they are the same folder on disk; a folder that is not there is
// no other folder.
bool SameFolder(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return false;
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && S_ISDIR(sa.st_mode) &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

} // namespace

std::string PlayerLevelsFolder()
{
    const std::string folder = ZorboDataFolder();
    return folder.empty() ? std::string() : folder + "/levels/";
}

bool HasTxtExtension(const std::string& file)
{
    if (file.size() < 4)
        return false;
    std::string ext = file.substr(file.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return ext == ".txt";
}

std::string LevelSetName(const std::string& file)
{
    return HasTxtExtension(file) ? file.substr(0, file.size() - 4) : file;
}

std::optional<LevelSetFile> FindLevelSet(const std::string& name, const std::string& dataFolder,
                                         const std::string& playerFolder)
{
    if (name.empty())
        return std::nullopt;
    if (name.find('/') != std::string::npos) {
        const fs::path path(name);
        std::string folder = path.parent_path().string();
        folder = folder.empty() ? "/" : WithSlash(folder);
        return LevelSetFile{folder, path.filename().string(), PlaceOf(folder, dataFolder, playerFolder)};
    }
    for (const LevelSetFile& candidate : RecordedSetFiles(name + ".txt", dataFolder, playerFolder))
        if (Exists(candidate.Path()))
            return candidate;
    return std::nullopt;
}

std::vector<LevelSetFile> RecordedSetFiles(const std::string& file, const std::string& dataFolder,
                                           const std::string& playerFolder)
{
    std::vector<LevelSetFile> files{{WithSlash(dataFolder), file, SetPlace::Data}};
    // The data folder given as the player's own (--data ~/.local/share/zorbo/levels) is
    // looked in once.
    if (!playerFolder.empty() && !SameFolder(dataFolder, playerFolder))
        files.push_back({WithSlash(playerFolder), file, SetPlace::Player});
    return files;
}

SetPlace PlaceOf(const std::string& folder, const std::string& dataFolder, const std::string& playerFolder)
{
    if (SameFolder(folder, dataFolder))
        return SetPlace::Data;
    if (SameFolder(folder, playerFolder))
        return SetPlace::Player;
    return SetPlace::Elsewhere;
}

bool LiesIn(const std::string& path, const std::string& folder)
{
    std::string parent = fs::path(path).parent_path().string();
    return SameFolder(parent.empty() ? "." : parent, folder);
}

} // namespace zorbo
