// The launcher module's exported entry (built only into zorbo-launcher.so).
#include "launcher/Launcher.h"
#include "launcher/Module.h"

extern "C" __attribute__((visibility("default"))) const zorbo::LauncherModuleEntry zorbo_launcher_entry = {
    ZORBO_VERSION, &zorbo::RunLauncher};
