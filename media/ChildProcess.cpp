#include "media/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zorbo {

namespace {

// Between fork and exec only async-signal-safe calls: everything is prepared before.
[[noreturn]] void RunChild(char* const argv[], const char* output, bool detached, pid_t parent, int reportFd)
{
    if (!detached) {
        // A child ends with this process, even one killed without a chance to end it; a
        // parent gone before the request took effect is seen by getppid.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
    }
    const int in = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (in >= 0)
        ::dup2(in, 0);
    if (output != nullptr) {
        const int out = ::open(output, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
        }
    }
    if (detached) {
        // The short-lived middle process ends at once, so the program is adopted by init.
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0)
            ::_exit(grandchild < 0 ? 127 : 0);
    }
    ::execv(argv[0], argv);
    // The report pipe closes on a successful exec; a failed one sends its errno.
    const int error = errno;
    [[maybe_unused]] const ssize_t n = ::write(reportFd, &error, sizeof error);
    ::_exit(127);
}

void WaitFor(pid_t pid)
{
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}

} // namespace

pid_t StartProgram(const ProgramStart& start, std::string& reason)
{
    if (start.args.empty() || ::access(start.args[0].c_str(), X_OK) != 0) {
        reason = std::strerror(start.args.empty() ? ENOENT : errno);
        return -1;
    }
    std::vector<std::string> args = start.args;
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        reason = std::strerror(errno);
        return -1;
    }
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child == 0)
        RunChild(argv.data(), start.output.empty() ? nullptr : start.output.c_str(), start.detached, parent,
                 report[1]);
    const int forkError = errno;
    ::close(report[1]);
    if (child < 0) {
        ::close(report[0]);
        reason = std::strerror(forkError);
        return -1;
    }
    if (start.detached)
        WaitFor(child);
    // Blocks until the program runs (the pipe closes) or its exec failed.
    int execError = 0;
    ssize_t n = 0;
    while ((n = ::read(report[0], &execError, sizeof execError)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (n == static_cast<ssize_t>(sizeof execError)) {
        if (!start.detached)
            WaitFor(child);
        reason = std::strerror(execError);
        return -1;
    }
    return start.detached ? 0 : child;
}

} // namespace zorbo
