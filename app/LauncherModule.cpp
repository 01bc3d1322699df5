#include "app/LauncherModule.h"

#include "media/ModuleFile.h"

namespace zorbo {

const LauncherModuleEntry* LoadLauncherModule(const std::string& programDir, std::string& problem)
{
    const auto* entry = static_cast<const LauncherModuleEntry*>(LoadModuleEntry(
        programDir, LauncherModuleFile, LauncherModuleSymbol, sizeof(LauncherModuleEntry), "launcher", problem,
        " (settings on the command line skip it)"));
    return entry;
}

} // namespace zorbo
