#pragma once
#include "game/Settings.h"
#include "media/ChildProcess.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace zorbo {

// Opens the launcher dialog on the desktop and waits for the player. Returns true with
// the chosen settings when "New Game" accepted a level set, false when the player left.
// dataPath is the data folder, ending in '/'; it may be missing (then nothing is listed).
// editorProgram is the level editor that Ctrl+E and the level-set box's context menu start.
bool RunLauncher(const std::string& dataPath, Settings& settings, const std::string& editorProgram = {});

// The level editor started from the launcher: a process of its own, which goes on when
// the launcher and the game end, watched through its first moments so that an editor that
// cannot run (a missing interpreter, a failure at once) is reported instead of silently
// missing. Whatever is still watched when the object goes is let go unwatched.
class EditorStarts {
public:
    // Takes the sentence for an editor that turned out not to run.
    using Report = std::function<void(const std::string& problem)>;
    static constexpr int kWatchMs = 2000;

    explicit EditorStarts(Report report, int watchMs = kWatchMs);
    ~EditorStarts();
    EditorStarts(const EditorStarts&) = delete;
    EditorStarts& operator=(const EditorStarts&) = delete;

    // Starts program on file. Empty, or the sentence for an editor that cannot be started
    // at all; a failure found later goes to the report.
    std::string Start(const std::string& program, const std::string& file);
    // Looks at the watched starts without blocking; true while any is still watched.
    bool Check();

private:
    struct Watched {
        std::string program;
        StartWatch watch;
    };
    Report report_;
    int watchMs_;
    std::vector<Watched> watched_;
};

// Empty when the launcher can open its dialog, else a one-line reason that starts with
// "no display". The dialog is an X11 one: it needs DISPLAY, whatever SDL_VIDEODRIVER says.
// (Inline: the game asks this before it loads the launcher module.)
inline std::string LauncherNoDisplayReason()
{
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0')
        return "no display: DISPLAY is not set, and the launcher needs a desktop (settings on the command line skip it)";
    return {};
}

} // namespace zorbo
