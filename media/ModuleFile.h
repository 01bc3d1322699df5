#pragma once
// Parts of the program kept in modules of their own and loaded only when they are used
// (the launcher's dialog, the sound mixer): a game that does not use one never loads its
// libraries, their memory or their start-up time.
//
// Loading a module runs its code at once (its constructors run inside dlopen), so a module
// is taken only from a place nobody else could have written to, and only once the file is
// known to be whole: a truncated shared object makes dlopen fault instead of failing.
#include <cstddef>
#include <string>
#include <vector>

namespace zorbo {

// The running program's folder; empty when the system does not say.
std::string ProgramFolder();

// Where a module is looked for, first to last: beside the program (a build), then where
// the install puts it from the program's folder, then the configured install path.
std::vector<std::string> ModulePlaces(const std::string& programDir, const std::string& file);

// Empty when the module file at path may be loaded, else a phrase to follow its name: it
// must be a regular file owned by this user or root and writable by nobody else, in folders
// up to the root of which the same holds (a folder with the sticky bit, like /tmp, may be
// writable by all: nobody can replace what is in it but its owner), and an ELF shared
// object of this machine's word size whose headers and segments lie inside the file.
// A group of the user's own (named after them, no other members) counts as the user.
std::string ModuleFileProblem(const std::string& path);

// Loads the module from the first place that holds it and returns its entry `symbol` (the
// module stays loaded to the end: a library may leave handlers behind that run at exit).
// The entry is a struct of `entryBytes` made of pointers: first `const char* version`,
// naming the build it belongs to, then functions, none of them null, so that a module of
// another build, or a damaged one, is never called. Null with a reason that names `what`
// and the file when none can be used ("cannot load the sound mixer
// /usr/lib/zorbo/zorbo-sound.so: ..."); `notFoundHint` is added to the reason when no place
// holds the module. A place that holds a module that fails ModuleFileProblem ends the
// search with that reason: a later place is not tried behind a refused one.
const void* LoadModuleEntry(const std::string& programDir, const std::string& file, const char* symbol,
                            size_t entryBytes, const std::string& what, std::string& problem,
                            const std::string& notFoundHint = {});

} // namespace zorbo
