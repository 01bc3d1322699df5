#include "media/ChildProcess.h"

#include "media/RegularFile.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zorbo {

namespace {

// Between fork and exec only async-signal-safe calls: everything is prepared before.
// A started program reads nothing and writes to output (or where this process writes).
// Only async-signal-safe calls: it runs between fork and exec.
void ConnectStdio(const char* output)
{
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
}

[[noreturn]] void RunChild(char* const argv[], const char* output, bool detached, pid_t parent, int reportFd)
{
    if (!detached) {
        // A child ends with this process, even one killed without a chance to end it; a
        // parent gone before the request took effect is seen by getppid.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent)
            ::_exit(127);
    }
    ConnectStdio(output);
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

// ---- Watched starts

namespace zorbo {

namespace {

// What the watcher and the program report; one record is one write, never split.
struct StartReport {
    enum Kind : int { ExecFailed, Ended } kind;
    int value; // the errno of a failed exec, the wait status of an ended program
};

constexpr int kWatchStepMs = 20;

void Send(int fd, StartReport::Kind kind, int value)
{
    const StartReport report{kind, value};
    [[maybe_unused]] const ssize_t n = ::write(fd, &report, sizeof report);
}

// The program's side: only async-signal-safe calls, as in RunChild.
[[noreturn]] void RunWatchedProgram(char* const argv[], const char* output, int reportFd)
{
    ConnectStdio(output);
    ::execv(argv[0], argv);
    Send(reportFd, StartReport::ExecFailed, errno);
    ::_exit(127);
}

// The watcher: starts the program in a session of its own, reports its end if it comes
// within the watch, and ends, leaving the program to init.
[[noreturn]] void RunWatcher(char* const argv[], const char* output, int watchMs, int reportFd)
{
    ::setsid();
    const pid_t program = ::fork();
    if (program == 0)
        RunWatchedProgram(argv, output, reportFd);
    if (program < 0) {
        Send(reportFd, StartReport::ExecFailed, errno);
        ::_exit(127);
    }
    // Between looks, waits on the report pipe: once the caller stops watching (closes its
    // end) the pipe shows an error and the watcher ends at once.
    pollfd caller{reportFd, 0, 0};
    for (int waited = 0; waited <= watchMs; waited += kWatchStepMs) {
        int status = 0;
        if (::waitpid(program, &status, WNOHANG) == program) {
            Send(reportFd, StartReport::Ended, status);
            ::_exit(0);
        }
        if (::poll(&caller, 1, kWatchStepMs) > 0)
            ::_exit(0);
    }
    ::_exit(0);
}

void EndWatch(StartWatch& watch)
{
    if (watch.fd >= 0)
        ::close(watch.fd);
    if (watch.watcher > 0)
        WaitFor(watch.watcher);
    watch = StartWatch{};
}

std::string EndedText(int status)
{
    if (WIFSIGNALED(status))
        return "was ended at once by signal " + std::to_string(WTERMSIG(status)) + " (" + strsignal(WTERMSIG(status)) + ")";
    return "ended at once with status " + std::to_string(WEXITSTATUS(status));
}

} // namespace

bool StartWatched(const ProgramStart& start, int watchMs, StartWatch& watch, std::string& reason)
{
    watch = StartWatch{};
    if (start.args.empty() || ::access(start.args[0].c_str(), X_OK) != 0) {
        reason = "cannot be run: " + ErrorText(start.args.empty() ? ENOENT : errno);
        return false;
    }
    std::vector<std::string> args = start.args;
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        reason = "cannot be started: " + ErrorText(errno);
        return false;
    }
    const pid_t watcher = ::fork();
    if (watcher == 0)
        RunWatcher(argv.data(), start.output.empty() ? nullptr : start.output.c_str(), watchMs, report[1]);
    const int forkError = errno;
    ::close(report[1]);
    if (watcher < 0) {
        ::close(report[0]);
        reason = "cannot be started: " + ErrorText(forkError);
        return false;
    }
    ::fcntl(report[0], F_SETFL, ::fcntl(report[0], F_GETFL) | O_NONBLOCK);
    watch.watcher = watcher;
    watch.fd = report[0];
    return true;
}

StartState CheckStart(StartWatch& watch, std::string& reason)
{
    if (watch.fd < 0)
        return StartState::Running;
    StartReport report{};
    ssize_t n = 0;
    while ((n = ::read(watch.fd, &report, sizeof report)) < 0 && errno == EINTR) {
    }
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
        return StartState::Watching;
    EndWatch(watch);
    // The pipe closed with nothing in it: the program runs on past the watch.
    if (n != static_cast<ssize_t>(sizeof report))
        return StartState::Running;
    if (report.kind == StartReport::ExecFailed) {
        reason = "cannot be run: " + ErrorText(report.value);
        return StartState::Failed;
    }
    if (WIFEXITED(report.value) && WEXITSTATUS(report.value) == 0)
        return StartState::Running;
    reason = EndedText(report.value);
    return StartState::Failed;
}

void StopWatching(StartWatch& watch)
{
    // Closing the pipe ends the watcher at once, after it has started the program.
    EndWatch(watch);
}

} // namespace zorbo
