#pragma once
// Finding and loading the launcher module (launcher/Module.h) beside the program or where
// it is installed.
#include "launcher/Module.h"

#include <string>
#include <vector>

namespace zorbo {

// Where the module is looked for, first to last: beside the program (a build), then where
// the install puts it from the program's folder, then the configured install path.
std::vector<std::string> LauncherModulePlaces(const std::string& programDir);

// Loads the module from the first place that holds it (it stays loaded to the end: the
// toolkit may leave handlers behind that run at exit). Null with a reason naming the file
// when none can be used ("cannot load the launcher /usr/lib/zorbo/zorbo-launcher.so: ...").
const LauncherModuleEntry* LoadLauncherModule(const std::string& programDir, std::string& problem);

} // namespace zorbo
