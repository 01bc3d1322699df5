#include "launcher/Launcher.h"

#include "launcher/FltkFatal.h"
#include "launcher/LauncherDialog.h"
#include "level/LevelCheck.h"
#include "media/ChildProcess.h"
#include "media/Warn.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <cstdlib>

namespace zorbo {

namespace {

std::string CheckFile(const std::string& path)
{
    const LevelCheckResult result = CheckLevelSet(path);
    return result.ok() ? std::string() : result.FirstError(path);
}

} // namespace

std::string StartDetached(const std::string& program, const std::string& argument)
{
    // Detached, so the editor is nobody's child to wait for and never lingers as a finished
    // process while the game plays on.
    ProgramStart start;
    start.args = {program, argument};
    start.detached = true;
    std::string reason;
    if (StartProgram(start, reason) < 0)
        return "The level editor " + program + " cannot be started: " + reason + ".";
    return {};
}

bool RunLauncher(const std::string& dataPath, Settings& settings, const std::string& editorProgram)
{
    EndOnFltkFatal("zorbo", "the launcher needs a desktop; settings on the command line skip it");
    // Message boxes use the dialog's font size too.
    FL_NORMAL_SIZE = 11;
    // Tells the launcher's windows apart from the game's own window on the desktop.
    Fl_Window::default_xclass("ZorboLauncher");
    bool start = false;
    {
        const std::string choicesFile = SavedChoicesPath();
        const SavedChoices shown = choicesFile.empty() ? SavedChoices() : LoadSavedChoices(choicesFile);
        LauncherDialog dialog(
            dataPath, CheckFile, [&editorProgram](const std::string& file) { return StartDetached(editorProgram, file); },
            shown, [&choicesFile](const SavedChoices& choices) {
                std::string reason;
                if (!choicesFile.empty() && !SaveChoices(choicesFile, choices, reason))
                    Warn("settings file " + choicesFile + ": " + reason + "; the choices are not remembered");
            });
        start = dialog.Run(settings);
    }
    // The game opens its own connection; FLTK's would only sit idle.
    if (fl_display)
        fl_close_display();
    return start;
}

} // namespace zorbo
