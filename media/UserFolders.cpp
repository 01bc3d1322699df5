#include "media/UserFolders.h"

#include "media/RegularFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace zorbo {

std::string ZorboUserFolder(const char* variable, const char* homeRelative)
{
    const char* named = std::getenv(variable);
    if (named != nullptr && named[0] == '/')
        return std::string(named) + "/zorbo";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/" + homeRelative + "/zorbo";
    return {};
}

bool MakePrivateFolders(const std::string& folder, std::string& reason)
{
    namespace fs = std::filesystem;
    fs::path built;
    for (const fs::path& part : fs::path(folder).lexically_normal()) {
        built /= part;
        if (part.empty() || part == "/")
            continue;
        if (::mkdir(built.c_str(), 0700) == 0 || errno == EEXIST)
            continue;
        reason = "cannot make the folder " + built.string() + ": " + ErrorText(errno);
        return false;
    }
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        reason = folder + " is not a folder";
        return false;
    }
    return true;
}

} // namespace zorbo
