// zorbo-edit: the level editor. Opens a level-set file (or starts a new one) in a window.
#include "editor/EditorWindow.h"
#include "app/CommandLine.h"
#include "launcher/FltkFatal.h"
#include "launcher/MessageText.h"
#include "media/Warn.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "Usage: zorbo-edit [--data DIR] [FILE]\n"
    "Edits the level set FILE (a new set is saved there if it does not exist yet), or a new\n"
    "set without one. A set of the game's data folder, or one you may not write, is edited\n"
    "as a copy. New sets and copies are saved in your own level sets folder,\n"
    "$XDG_DATA_HOME/zorbo/levels (or ~/.local/share/zorbo/levels), where the game finds\n"
    "them too.\n"
    "  --data DIR   read the game's pictures from DIR (default: the game's data folder);\n"
    "               the level sets in DIR are then yours to save\n"
    "  --help       show this help and exit\n"
    "  --version    show the version and exit\n";

struct Options {
    std::string dataDir;
    std::string file;
    bool help = false;
    bool version = false;
    std::string error;
};

Options ParseOptions(const std::vector<std::string>& args)
{
    Options o;
    for (size_t i = 0; i < args.size() && o.error.empty(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h")
            o.help = true;
        else if (a == "--version")
            o.version = true;
        else if (a == "--data") {
            if (i + 1 < args.size())
                o.dataDir = args[++i];
            else
                o.error = "--data needs a folder";
        } else if (a.size() > 1 && a[0] == '-' && a != "--")
            o.error = "unknown option " + a;
        else if (!o.file.empty())
            o.error = "one level-set file at a time";
        else
            o.file = a == "--" && i + 1 < args.size() ? args[++i] : a;
    }
    return o;
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!options.error.empty()) {
        std::fprintf(stderr, "zorbo-edit: %s\n%s", options.error.c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("zorbo-edit %s\n", ZORBO_VERSION);
        return 0;
    }

    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string programDir = ec ? std::string() : program.parent_path().string();
    const std::string dataPath = zorbo::FindDataPath(options.dataDir, programDir);
    zorbo::editor::Pictures pictures;
    std::vector<std::string> missing;
    if (!pictures.Load(dataPath, missing)) {
        std::fprintf(stderr, "zorbo-edit: the data folder %s holds none of the game's pictures (use --data DIR)\n",
                     dataPath.c_str());
        return 1;
    }
    for (const std::string& m : missing)
        zorbo::Warn("bitmap " + m + "; it is drawn empty");

    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fputs("zorbo-edit: no display: DISPLAY is not set, and the editor needs a desktop\n", stderr);
        return 1;
    }
    zorbo::EndOnFltkFatal("zorbo-edit");
    // Test-play folders of an editor that was killed are of no use to anyone.
    zorbo::editor::SweepPlayFolders(zorbo::editor::PlayFolderRoot());
    Fl_Window::default_xclass("ZorboEdit");
    fl_message_hotspot(0);

    // The game is installed, and built, beside the editor.
    zorbo::editor::EditorWindow window(dataPath, (std::filesystem::path(programDir) / "zorbo").string(), pictures);
    if (!options.dataDir.empty())
        window.DataFolderGiven();
    if (!options.file.empty()) {
        std::string error;
        if (!window.Open(options.file, error)) {
            std::fprintf(stderr, "zorbo-edit: %s\n", error.c_str());
            fl_message_title("Cannot open the level set");
            fl_alert("%s", zorbo::FitToScreen(error).c_str());
            return 1;
        }
    } else {
        window.RecoverUntitled();
    }
    return window.Run();
}
