#include "media/ModuleFile.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace zorbo {

std::string ProgramFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}

std::vector<std::string> ModulePlaces(const std::string& programDir, const std::string& file)
{
    namespace fs = std::filesystem;
    std::vector<std::string> places;
    if (!programDir.empty()) {
        places.push_back((fs::path(programDir) / file).string());
        places.push_back((fs::path(programDir) / ZORBO_MODULES_FROM_PROGRAM / file).lexically_normal().string());
    }
    places.push_back((fs::path(ZORBO_INSTALL_MODULE_DIR) / file).string());
    return places;
}

const void* LoadModuleEntry(const std::string& programDir, const std::string& file, const char* symbol,
                            const std::string& what, std::string& problem, const std::string& notFoundHint)
{
    std::string found;
    for (const std::string& place : ModulePlaces(programDir, file)) {
        if (::access(place.c_str(), F_OK) == 0) {
            found = place;
            break;
        }
    }
    if (found.empty()) {
        problem = "the " + what + " " + file + " is not installed beside the program or in " + ZORBO_INSTALL_MODULE_DIR +
                  notFoundHint;
        return nullptr;
    }
    void* module = ::dlopen(found.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = ::dlerror();
        problem = "cannot load the " + what + " " + found + ": " + (why != nullptr ? why : "unknown reason");
        return nullptr;
    }
    const void* entry = ::dlsym(module, symbol);
    const char* version = entry != nullptr ? *static_cast<const char* const*>(entry) : nullptr;
    if (version == nullptr || std::strcmp(version, ZORBO_VERSION) != 0) {
        // Left loaded, like a used one: its libraries may have set up what runs at exit.
        problem = "the " + what + " " + found + " belongs to another version of the game (this is " ZORBO_VERSION ")";
        return nullptr;
    }
    problem.clear();
    return entry;
}

} // namespace zorbo
