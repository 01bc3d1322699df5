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
