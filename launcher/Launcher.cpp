#include "launcher/Launcher.h"

#include "launcher/LauncherDialog.h"
#include "world/LevelCheck.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

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

std::string LauncherNoDisplayReason()
{
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        return "no display: DISPLAY is not set, and the launcher needs a desktop (settings on the command line skip it)";
    return {};
}

bool RunLauncher(const std::string& dataPath, Settings& settings)
{
    Fl::fatal = LauncherFatal;
    // Message boxes use the dialog's font size too.
    FL_NORMAL_SIZE = 11;
    // Tells the launcher's windows apart from the game's own window on the desktop.
    Fl_Window::default_xclass("ZorboLauncher");
    bool start = false;
    {
        LauncherDialog dialog(dataPath, CheckFile);
        start = dialog.Run(settings);
    }
    // The game opens its own connection; FLTK's would only sit idle.
    if (fl_display)
        fl_close_display();
    return start;
}

} // namespace zorbo
