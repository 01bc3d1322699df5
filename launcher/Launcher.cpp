#include "launcher/Launcher.h"

#include "launcher/LauncherDialog.h"
#include "level/LevelCheck.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zorbo {

namespace {

// FLTK's fatal errors (above all "Can't open display") end the program with one clear
// line instead of FLTK's bare text.
[[noreturn]] void LauncherFatal(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::fputs("zorbo: ", stderr);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputs(" (the launcher needs a desktop; settings on the command line skip it)\n",
               stderr);
    std::exit(1);
}

std::string CheckFile(const std::string& path)
{
    const LevelCheckResult result = CheckLevelSet(path);
    return result.ok() ? std::string() : result.FirstError(path);
}

} // namespace

std::string StartDetached(const std::string& program, const std::string& argument)
{
    if (::access(program.c_str(), X_OK) != 0)
        return "The level editor " + program + " cannot be started: " + std::strerror(errno) + ".";
    std::string programCopy = program, argumentCopy = argument;
    char* argv[] = {programCopy.data(), argumentCopy.data(), nullptr};
    // Started through a short-lived child, so the editor is nobody's child to wait for and
    // never lingers as a finished process while the game plays on.
    const pid_t child = ::fork();
    if (child < 0)
        return std::string("The level editor cannot be started: ") + std::strerror(errno) + ".";
    if (child == 0) {
        ::setsid();
        if (::fork() == 0) {
            ::execv(argv[0], argv);
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return {};
}

std::string LauncherNoDisplayReason()
{
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        return "no display: DISPLAY is not set, and the launcher needs a desktop (settings on the command line skip it)";
    return {};
}

bool RunLauncher(const std::string& dataPath, Settings& settings, const std::string& editorProgram)
{
    Fl::fatal = LauncherFatal;
    // Message boxes use the dialog's font size too.
    FL_NORMAL_SIZE = 11;
    // Tells the launcher's windows apart from the game's own window on the desktop.
    Fl_Window::default_xclass("ZorboLauncher");
    bool start = false;
    {
        LauncherDialog dialog(dataPath, CheckFile, [&editorProgram](const std::string& file) {
            return StartDetached(editorProgram, file);
        });
        start = dialog.Run(settings);
    }
    // The game opens its own connection; FLTK's would only sit idle.
    if (fl_display)
        fl_close_display();
    return start;
}

} // namespace zorbo
