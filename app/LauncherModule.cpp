#include "app/LauncherModule.h"

#include "media/ModuleFile.h"

namespace zorbo {

const LauncherModuleEntry* LoadLauncherModule(const std::string& programDir, std::string& problem)
{
    const auto* entry = static_cast<const LauncherModuleEntry*>(LoadModuleEntry(
        programDir, LauncherModuleFile, LauncherModuleSymbol, "launcher", problem, " (settings on the command line skip it)"));
    if (entry != nullptr && entry->run == nullptr) {
        problem = "the launcher " + std::string(LauncherModuleFile) + " has no dialog to run";
        return nullptr;
    }
    return entry;
}

} // namespace zorbo
