#include "app/LauncherModule.h"

#include "launcher/Module.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace zorbo {

std::vector<std::string> LauncherModulePlaces(const std::string& programDir)
{
    namespace fs = std::filesystem;
    std::vector<std::string> places;
    if (!programDir.empty()) {
        places.push_back((fs::path(programDir) / LauncherModuleFile).string());
        places.push_back((fs::path(programDir) / ZORBO_LAUNCHER_FROM_PROGRAM / LauncherModuleFile).lexically_normal().string());
    }
    places.push_back((fs::path(ZORBO_INSTALL_LAUNCHER_DIR) / LauncherModuleFile).string());
    return places;
}

const LauncherModuleEntry* LoadLauncherModule(const std::string& programDir, std::string& problem)
{
    std::string found;
    for (const std::string& place : LauncherModulePlaces(programDir)) {
        if (::access(place.c_str(), F_OK) == 0) {
            found = place;
            break;
        }
    }
    if (found.empty()) {
        problem = "the launcher " + std::string(LauncherModuleFile) + " is not installed beside the program or in " +
                  ZORBO_INSTALL_LAUNCHER_DIR + " (settings on the command line skip it)";
        return nullptr;
    }
    void* module = ::dlopen(found.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* why = ::dlerror();
        problem = "cannot load the launcher " + found + ": " + (why != nullptr ? why : "unknown reason");
        return nullptr;
    }
    const auto* entry = static_cast<const LauncherModuleEntry*>(::dlsym(module, LauncherModuleSymbol));
    if (entry == nullptr || entry->version == nullptr || std::strcmp(entry->version, ZORBO_VERSION) != 0 ||
        entry->run == nullptr) {
        problem = "the launcher " + found + " belongs to another version of the game (this is " ZORBO_VERSION ")";
        ::dlclose(module);
        return nullptr;
    }
    problem.clear();
    return entry;
}

} // namespace zorbo
