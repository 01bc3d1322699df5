#pragma once
// Parts of the program kept in modules of their own and loaded only when they are used
// (the launcher's dialog, the sound mixer): a game that does not use one never loads its
// libraries, their memory or their start-up time.
#include <string>
#include <vector>

namespace zorbo {

// The running program's folder; empty when the system does not say.
std::string ProgramFolder();

// Where a module is looked for, first to last: beside the program (a build), then where
// the install puts it from the program's folder, then the configured install path.
std::vector<std::string> ModulePlaces(const std::string& programDir, const std::string& file);

// Loads the module from the first place that holds it and returns its entry `symbol` (the
// module stays loaded to the end: a library may leave handlers behind that run at exit).
// The entry is a struct whose first member, `const char* version`, names the build it
// belongs to, so that a module of another build is never used with this program. Null
// with a reason that names `what` and the file when none can be used ("cannot load the
// sound mixer /usr/lib/zorbo/zorbo-sound.so: ..."); `notFoundHint` is added to the reason
// when no place holds the module.
const void* LoadModuleEntry(const std::string& programDir, const std::string& file, const char* symbol,
                            const std::string& what, std::string& problem, const std::string& notFoundHint = {});

} // namespace zorbo
