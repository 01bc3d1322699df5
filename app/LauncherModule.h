#pragma once
// Finding and loading the launcher module (launcher/Module.h) beside the program or where
// it is installed.
#include "launcher/Module.h"

#include <string>

namespace zorbo {

// The module's entry, or null with a reason naming the file ("cannot load the launcher
// /usr/lib/zorbo/zorbo-launcher.so: ...").
const LauncherModuleEntry* LoadLauncherModule(const std::string& programDir, std::string& problem);

} // namespace zorbo
