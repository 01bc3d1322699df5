#pragma once
// Starting another program: the level editor from the launcher (Ctrl+E), the game from
// the editor's test play.
#include <sys/types.h>

#include <string>
#include <vector>

namespace zorbo {

struct ProgramStart {
    std::vector<std::string> args; // the program's path, then its arguments
    // The file that takes its output and error output (created or emptied); when empty
    // it writes where this process does. Its input is always /dev/null.
    std::string output;
    // In a session of its own and nobody's child: it goes on when this process ends and
    // is never left for this process to wait on. Otherwise it is a child to wait for, and
    // is sent SIGTERM when this process ends, however it ends.
    bool detached = false;
};

// Starts the program. Its process id (0 when detached), or -1 with the system's reason
// ("No such file or directory") when it cannot be started.
pid_t StartProgram(const ProgramStart& start, std::string& reason);

} // namespace zorbo

namespace zorbo {

// A detached program watched through its first moments, so that a caller learns that it
// could not run (its exec failed, or it ended with a failure at once) without waiting for
// it. A short-lived watcher process, this process's child, reports through `fd`.
struct StartWatch {
    pid_t watcher = -1;
    int fd = -1;
};

enum class StartState { Watching, Running, Failed };

// Starts the program detached (whatever start.detached says) and watches it for watchMs
// milliseconds. False, with a phrase to follow the program's name ("cannot be run:
// permission denied"), when it cannot be started at all.
bool StartWatched(const ProgramStart& start, int watchMs, StartWatch& watch, std::string& reason);

// Never blocks. Watching while the watch lasts; Running once the program has run past it,
// or ended well within it; Failed with a phrase to follow the program's name ("cannot be
// run: no such file or directory", "ended at once with status 1") when it could not run.
// Running and Failed end the watch.
StartState CheckStart(StartWatch& watch, std::string& reason);

// Ends a watch without its verdict; the program goes on. No watcher is left to wait for.
void StopWatching(StartWatch& watch);

} // namespace zorbo
