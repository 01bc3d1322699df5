#include "app/CommandLine.h"

#include <filesystem>
#include <set>

namespace zorbo {

std::string UsageText()
{
    return "Usage: zorbo [options]\n"
           "\n"
           "  --level-set NAME    level set: the file NAME.txt in the data folder (default Standard)\n"
           "  --level N           start level, 1 to 10 (default 1)\n"
           "  --difficulty D      easy, normal, difficult or crazy (default normal)\n"
           "  --screen S          full, 320x240 or 640x480 (default 640x480)\n"
           "  --no-sound          no sound effects\n"
           "  --data DIR          read the game's files from DIR\n"
           "  --start-column N    begin the start level at map column N instead of its hero start\n"
           "                      (the level editor's test play)\n"
           "  --quit-after-frames N  end the game after N frames (for measurements)\n"
           "  --screenshot FILE   save the last picture shown as a BMP file when the game ends\n"
           "  --record FILE       record the game to FILE (written as FILE.part while the game runs)\n"
           "  --play FILE         play a recorded game back in a window (--screen, --no-sound and\n"
           "                      --quit-after-frames apply)\n"
           "  --headless          with --play: no window, as fast as possible; prints where it ended\n"
           "  --check-level-set FILE  check a level-set file, list its problems and exit\n"
           "  --help              show this help and exit\n"
           "  --version           show the version and exit\n"
           "\n"
           "Keys: arrows run, space jumps (hold it for a higher jump), down enters a pipe, up\n"
           "throws a fireball, Y/N answer questions, escape quits, P pauses and resumes, F11 or\n"
           "Alt+Enter switches between the window and full screen.\n"
           "\n"
           "Gamepad: the d-pad or the left stick runs, the south button (A) jumps (hold it for\n"
           "a higher jump), the west or east button (X, B) throws a fireball, down enters a pipe;\n"
           "at a question south answers Y and east answers N; Start pauses; Back held for a\n"
           "second quits.\n"
           "\n"
           "Exit status: 0 done (a replay matched its recording, or stopped where\n"
           "--quit-after-frames asked); 1 a file or the game failed, or a replay went its own\n"
           "way; 2 a bad command line; 3 a replay matched up to where its recording was cut\n"
           "off (the game that made it was killed); 4 a replay was stopped (window closed or\n"
           "a signal) before the end of its recording.\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine cl;
    cl.settings.gWindow640 = true;
    auto fail = [&cl](std::string message) {
        if (cl.error.empty())
            cl.error = std::move(message);
    };
    std::set<std::string> given;
    for (size_t i = 0; i < args.size() && cl.error.empty(); ++i) {
        const std::string& a = args[i];
        // Each option once: a second value would silently replace the first.
        if (a.rfind("-", 0) == 0 && !given.insert(a == "-h" ? "--help" : a).second) {
            fail("option " + a + " is given twice");
            break;
        }
        auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                fail("option " + a + " needs a value");
                return nullptr;
            }
            return &args[++i];
        };
        if (a == "--help" || a == "-h") {
            cl.help = true;
        } else if (a == "--version") {
            cl.version = true;
        } else if (a == "--no-sound") {
            cl.settings.gSoundOn = false;
            cl.anySetting = true;
            cl.windowOption = true;
        } else if (a == "--level-set") {
            if (const std::string* v = value()) {
                if (v->empty() || v->find('/') != std::string::npos)
                    fail("--level-set takes the name of a level set in the data folder, not \"" + *v + "\"");
                else
                    cl.settings.gLevelSet = *v + ".txt";
                cl.anySetting = true;
                cl.recordedSetting = true;
            }
        } else if (a == "--level") {
            if (const std::string* v = value()) {
                int level = 0;
                if (v->size() >= 1 && v->size() <= 2 &&
                    v->find_first_not_of("0123456789") == std::string::npos)
                    level = std::stoi(*v);
                if (level < 1 || level > 10)
                    fail("--level takes a number from 1 to 10, not \"" + *v + "\"");
                else
                    cl.settings.gLevel = level - 1;
                cl.anySetting = true;
                cl.recordedSetting = true;
            }
        } else if (a == "--difficulty") {
            if (const std::string* v = value()) {
                if (*v == "easy")
                    cl.settings.gDifficulty = Difficulty::Easy;
                else if (*v == "normal")
                    cl.settings.gDifficulty = Difficulty::Normal;
                else if (*v == "difficult")
                    cl.settings.gDifficulty = Difficulty::Difficult;
                else if (*v == "crazy")
                    cl.settings.gDifficulty = Difficulty::Crazy;
                else
                    fail("--difficulty takes easy, normal, difficult or crazy, not \"" + *v + "\"");
                cl.anySetting = true;
                cl.recordedSetting = true;
            }
        } else if (a == "--screen") {
            if (const std::string* v = value()) {
                if (*v == "full") {
                    cl.settings.gFullScreen = true;
                    cl.settings.gWindow640 = false;
                } else if (*v == "320x240") {
                    cl.settings.gFullScreen = false;
                    cl.settings.gWindow640 = false;
                } else if (*v == "640x480") {
                    cl.settings.gFullScreen = false;
                    cl.settings.gWindow640 = true;
                } else {
                    fail("--screen takes full, 320x240 or 640x480, not \"" + *v + "\"");
                }
                cl.anySetting = true;
                cl.windowOption = true;
            }
        } else if (a == "--start-column") {
            if (const std::string* v = value()) {
                int column = 0;
                if (v->size() >= 1 && v->size() <= 4 && v->find_first_not_of("0123456789") == std::string::npos)
                    column = std::stoi(*v);
                if (column < 1 || column > 1000)
                    fail("--start-column takes a map column from 1 to 1000, not \"" + *v + "\"");
                else
                    cl.settings.StartColumn = column;
                cl.anySetting = true;
            }
        } else if (a == "--quit-after-frames") {
            if (const std::string* v = value()) {
                if (v->empty() || v->size() > 7 || v->find_first_not_of("0123456789") != std::string::npos)
                    fail("--quit-after-frames takes a whole number, not \"" + *v + "\"");
                else
                    cl.quitAfterFrames = std::stoi(*v);
            }
        } else if (a == "--screenshot") {
            if (const std::string* v = value()) {
                if (v->empty())
                    fail("--screenshot needs a file name");
                cl.screenshot = *v;
                cl.windowOption = true;
            }
        } else if (a == "--record" || a == "--play") {
            if (const std::string* v = value()) {
                if (v->empty())
                    fail(a + " needs a file name");
                (a == "--record" ? cl.record : cl.play) = *v;
            }
        } else if (a == "--check-level-set") {
            if (const std::string* v = value()) {
                if (v->empty())
                    fail("--check-level-set needs a file name");
                cl.checkLevelSet = *v;
            }
        } else if (a == "--headless") {
            cl.headless = true;
        } else if (a == "--data") {
            if (const std::string* v = value()) {
                if (v->empty())
                    fail("--data needs a folder");
                cl.dataDir = *v;
            }
        } else {
            fail("unknown option \"" + a + "\" (try --help)");
        }
    }
    if (cl.error.empty()) {
        if (!cl.play.empty() && !cl.record.empty())
            fail("--play and --record cannot be used together");
        else if (!cl.play.empty() && cl.recordedSetting)
            fail("--play takes its level set, level and difficulty from the recording");
        else if (cl.settings.StartColumn > 0 && (!cl.play.empty() || !cl.record.empty()))
            fail("--start-column is for trying a level out: it is not recorded or played back");
        else if (cl.headless && cl.play.empty())
            fail("--headless only goes with --play");
        else if (cl.headless && cl.windowOption)
            fail("--headless plays back without a window: --screen, --no-sound and --screenshot do not apply");
    }
    return cl;
}

std::string FindDataPath(const std::string& dataDir, const std::string& programDir)
{
    namespace fs = std::filesystem;
    std::string path;
    std::error_code ec;
    if (!dataDir.empty())
        path = dataDir;
    else if (!programDir.empty() && fs::is_directory(fs::path(programDir) / "Data", ec))
        path = (fs::path(programDir) / "Data").string();
    // Installed: bin/zorbo finds share/zorbo/Data beside bin, wherever the prefix is.
    else if (!programDir.empty() && fs::is_directory(fs::path(programDir) / ".." / "share" / "zorbo" / "Data", ec))
        path = (fs::path(programDir).parent_path() / "share" / "zorbo" / "Data").string();
    else
        path = ZORBO_INSTALL_DATA_DIR;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

} // namespace zorbo
