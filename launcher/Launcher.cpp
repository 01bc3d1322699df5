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

std::string EditorProblemText(const std::string& program, const std::string& reason)
{
    return "The level editor could not be started: " + program + " " + reason + ".";
}

// How often the launcher's event loop looks at the editors it is watching.
constexpr double kCheckSeconds = 0.05;

void CheckEditors(void* data);

// Looks at the editors again soon, from the dialog's event loop.
void KeepWatching(EditorStarts& editors)
{
    if (!Fl::has_timeout(CheckEditors, &editors))
        Fl::add_timeout(kCheckSeconds, CheckEditors, &editors);
}

void CheckEditors(void* data)
{
    auto& editors = *static_cast<EditorStarts*>(data);
    if (editors.Check())
        KeepWatching(editors);
}

} // namespace

EditorStarts::EditorStarts(Report report, int watchMs) : report_(std::move(report)), watchMs_(watchMs) {}

EditorStarts::~EditorStarts()
{
    for (Watched& w : watched_)
        StopWatching(w.watch);
}

std::string EditorStarts::Start(const std::string& program, const std::string& file)
{
    ProgramStart start;
    start.args = {program, file};
    Watched w{program, {}};
    std::string reason;
    if (!StartWatched(start, watchMs_, w.watch, reason))
        return EditorProblemText(program, reason);
    watched_.push_back(std::move(w));
    return {};
}

bool EditorStarts::Check()
{
    std::vector<std::string> problems;
    for (auto it = watched_.begin(); it != watched_.end();) {
        std::string reason;
        const StartState state = CheckStart(it->watch, reason);
        if (state == StartState::Watching) {
            ++it;
            continue;
        }
        if (state == StartState::Failed)
            problems.push_back(EditorProblemText(it->program, reason));
        it = watched_.erase(it);
    }
    // Reported once the list is settled: a message box runs events of its own.
    if (report_)
        for (const std::string& problem : problems)
            report_(problem);
    return !watched_.empty();
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
        LauncherDialog* shownIn = nullptr;
        EditorStarts editors([&shownIn](const std::string& problem) {
            if (shownIn != nullptr)
                shownIn->ShowProblem(problem);
        });
        const auto openEditor = [&](const std::string& file) {
            std::string problem = editors.Start(editorProgram, file);
            if (problem.empty())
                KeepWatching(editors);
            return problem;
        };
        LauncherDialog dialog(dataPath, CheckFile, openEditor, shown, [&choicesFile](const SavedChoices& choices) {
            std::string reason;
            if (!choicesFile.empty() && !SaveChoices(choicesFile, choices, reason))
                Warn("settings file " + choicesFile + ": " + reason + "; the choices are not remembered");
        });
        dialog.SetProgress(LoadProgress(ProgressPath()));
        shownIn = &dialog;
        start = dialog.Run(settings);
        // An editor still watched is let go (EditorStarts' end): nothing reports once the dialog is gone.
        Fl::remove_timeout(CheckEditors, &editors);
        shownIn = nullptr;
    }
    // The game opens its own connection; FLTK's would only sit idle.
    if (fl_display)
        fl_close_display();
    return start;
}

} // namespace zorbo
