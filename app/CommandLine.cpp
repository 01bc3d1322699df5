#include "app/CommandLine.h"

#include "level/LevelSets.h"
#include "media/AtomicFile.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

namespace zorbo {

namespace {

// What an option counts as, besides its own field; the rules between options read these.
enum Marks : unsigned {
    GameSetting = 1u,   // anySetting: the launcher is skipped
    Recorded = 2u,      // recordedSetting: a recording fixes it
    WindowOnly = 4u,    // windowOption: no use without a window
    TryingOut = 8u,     // tryingOut: only for trying a level out, so never recorded
};

struct Option {
    std::string name;
    std::string value; // the value's name in the usage text; empty for a switch
    std::string help;  // further lines are indented under the first
    unsigned marks;
    // Takes the value (empty for a switch); an error message when it is bad.
    std::string (*apply)(CommandLine& cl, const std::string& name, const std::string& value);
};

// Column where the usage text's descriptions start; a longer option pushes its own out.
constexpr size_t kHelpColumn = 22;

bool IsNumber(const std::string& v, size_t maxDigits)
{
    return !v.empty() && v.size() <= maxDigits && v.find_first_not_of("0123456789") == std::string::npos;
}

std::string Refused(const std::string& name, const std::string& takes, const std::string& v)
{
    return name + " takes " + takes + ", not \"" + v + "\"";
}

struct Named {
    const char* word;
    int32_t value;
};
constexpr Named kDifficulties[] = {{"easy", Difficulty::Easy},
                                   {"normal", Difficulty::Normal},
                                   {"difficult", Difficulty::Difficult},
                                   {"crazy", Difficulty::Crazy}};

// The program's options, in the order --help lists them.
const std::vector<Option>& Options()
{
    static const std::vector<Option> options = {
        {"--level-set", "NAME",
         "level set: the file NAME.txt of the data folder, else of your own\nlevel sets folder (default Standard); a NAME holding a '/' is\nthe path of the file",
         GameSetting | Recorded,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             if (v.empty() || v.back() == '/')
                 return Refused(n, "the name of a level set or the path of its file", v);
             // Which folder holds it is found once the data folder is known.
             cl.levelSet = v;
             const bool path = v.find('/') != std::string::npos;
             cl.settings.gLevelSet = path ? std::filesystem::path(v).filename().string() : v + ".txt";
             return {};
         }},
        {"--level", "N", "start level, 1 to 10 (default 1)", GameSetting | Recorded,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             const int level = IsNumber(v, 2) ? std::stoi(v) : 0;
             if (level < 1 || level > 10)
                 return Refused(n, "a number from 1 to 10", v);
             cl.settings.gLevel = level - 1;
             return {};
         }},
        {"--difficulty", "D", "easy, normal, difficult or crazy (default normal)", GameSetting | Recorded,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             for (const Named& d : kDifficulties)
                 if (v == d.word) {
                     cl.settings.gDifficulty = d.value;
                     return {};
                 }
             return Refused(n, "easy, normal, difficult or crazy", v);
         }},
        {"--screen", "S", "full, 320x240 or 640x480 (default 640x480)", GameSetting | WindowOnly,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             if (v != "full" && v != "320x240" && v != "640x480")
                 return Refused(n, "full, 320x240 or 640x480", v);
             cl.settings.gFullScreen = v == "full";
             cl.settings.gWindow640 = v == "640x480";
             return {};
         }},
        {"--no-sound", "", "no sound effects and no music", GameSetting | WindowOnly,
         [](CommandLine& cl, const std::string&, const std::string&) -> std::string {
             cl.settings.gSoundOn = false;
             return {};
         }},
        {"--motion", "M",
         "smooth (the default): pictures at the display's rate, motion\nblended between the game's frames; classic: each frame's\npicture shown once, as it is made",
         GameSetting | WindowOnly,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             const auto motion = MotionFromWord(v);
             if (!motion)
                 return Refused(n, "smooth or classic", v);
             cl.settings.motion = *motion;
             return {};
         }},
        {"--music", "on|off",
         "on or off: the music of each level under the sound effects (by\ndefault on in smooth motion, off in classic; --no-sound means\nnone); M switches it in play",
         GameSetting | WindowOnly,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             const auto music = MusicFromWord(v);
             if (!music)
                 return Refused(n, "on or off", v);
             cl.settings.music = *music;
             return {};
         }},
        {"--data", "DIR", "read the game's files from DIR", 0,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             cl.dataDir = v;
             return v.empty() ? n + " needs a folder" : std::string();
         }},
        {"--start-column", "N",
         "begin the start level at map column N instead of its hero start\n(the level editor's test play)",
         GameSetting | TryingOut,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             const int column = IsNumber(v, 4) ? std::stoi(v) : 0;
             if (column < 1 || column > 1000)
                 return Refused(n, "a map column from 1 to 1000", v);
             cl.settings.StartColumn = column;
             return {};
         }},
        {"--loop-level", "",
         "play the start level over and over: after its end or a game\nover it begins again at once, as a new game (a small hero,\n" +
             std::to_string(NewGameLives) + " lives, no coins), until escape or the window is closed\n(the level editor's test play)",
         GameSetting | TryingOut,
         [](CommandLine& cl, const std::string&, const std::string&) -> std::string {
             cl.settings.LoopLevel = true;
             return {};
         }},
        {"--quit-after-frames", "N", "end the game after N frames (for measurements)", 0,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             if (!IsNumber(v, 7))
                 return Refused(n, "a whole number", v);
             cl.quitAfterFrames = std::stoi(v);
             return {};
         }},
        {"--screenshot", "FILE", "save the last picture shown as a BMP file when the game ends", WindowOnly,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             cl.screenshot = v;
             return v.empty() ? n + " needs a file name" : std::string();
         }},
        {"--frame-log", "FILE",
         "write a line for each picture put on the screen to FILE: the\nmilliseconds since the start, the game frame it shows and how\nfar it is blended toward that frame (0 in classic motion)",
         WindowOnly,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             cl.frameLog = v;
             return v.empty() ? n + " needs a file name" : std::string();
         }},
        {"--record", "FILE",
         "record the game to FILE (written as " + AtomicFile::KeptName("FILE") +
             " while the game\nruns, left behind by a killed game; refused while another\nZorbo writes FILE)",
         0,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             cl.record = v;
             return v.empty() ? n + " needs a file name" : std::string();
         }},
        {"--play", "FILE",
         "play a recorded game back in a window (--screen, --no-sound and\n--quit-after-frames apply)", 0,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             cl.play = v;
             return v.empty() ? n + " needs a file name" : std::string();
         }},
        {"--headless", "", "with --play: no window, as fast as possible; prints where it ended", 0,
         [](CommandLine& cl, const std::string&, const std::string&) -> std::string {
             cl.headless = true;
             return {};
         }},
        {"--check-level-set", "FILE", "check a level-set file, list its problems and exit", 0,
         [](CommandLine& cl, const std::string& n, const std::string& v) -> std::string {
             cl.checkLevelSet = v;
             return v.empty() ? n + " needs a file name" : std::string();
         }},
        {"--help", "", "show this help and exit", 0,
         [](CommandLine& cl, const std::string&, const std::string&) -> std::string {
             cl.help = true;
             return {};
         }},
        {"--version", "", "show the version and exit", 0,
         [](CommandLine& cl, const std::string&, const std::string&) -> std::string {
             cl.version = true;
             return {};
         }},
    };
    return options;
}

// The short spelling of an option, as the options are counted.
std::string LongName(const std::string& arg)
{
    return arg == "-h" ? "--help" : arg;
}

const Option* FindOption(const std::string& arg)
{
    for (const Option& o : Options())
        if (o.name == LongName(arg))
            return &o;
    return nullptr;
}

// Options that cannot go together; empty when they can.
std::string Conflict(const CommandLine& cl)
{
    if (!cl.play.empty() && !cl.record.empty())
        return "--play and --record cannot be used together";
    if (!cl.play.empty() && cl.recordedSetting)
        return "--play takes its level set, level and difficulty from the recording";
    // A recording replays exactly the game that made it, so a tried-out game is never one.
    if (!cl.tryingOut.empty() && (!cl.play.empty() || !cl.record.empty()))
        return cl.tryingOut + " is for trying a level out: it is not recorded or played back";
    if (cl.headless && cl.play.empty())
        return "--headless only goes with --play";
    if (cl.headless && cl.windowOption)
        return "--headless plays back without a window: --screen, --no-sound, --motion, --music, --screenshot "
               "and --frame-log do not apply";
    return {};
}

} // namespace

std::string UsageText()
{
    std::string text = "Usage: zorbo [options]\n\n";
    for (const Option& o : Options()) {
        std::string head = "  " + o.name + (o.value.empty() ? "" : " " + o.value);
        head.resize(std::max(head.size() + 2, kHelpColumn), ' ');
        text += head;
        for (char c : o.help) {
            text += c;
            if (c == '\n')
                text.append(kHelpColumn, ' ');
        }
        text += '\n';
    }
    return text +
           "\n"
           "Keys: arrows run, space jumps (hold it for a higher jump), down enters a pipe, up\n"
           "throws a fireball, Y/N answer questions, escape quits, P pauses and resumes, M turns\n"
           "the music on or off, F11 or Alt+Enter switches between the window and full screen.\n"
           "\n"
           "Gamepad: the d-pad or the left stick runs, the south button (A) jumps (hold it for\n"
           "a higher jump), the west or east button (X, B) throws a fireball, down enters a pipe;\n"
           "at a question south answers Y and east answers N; Start pauses; Back held for a\n"
           "second quits.\n"
           "\n"
           "Files: the launcher keeps its last choices (level set, start level, screen size,\n"
           "difficulty, sound, motion, music) in $XDG_CONFIG_HOME/zorbo/settings, or\n"
           "~/.config/zorbo/settings when XDG_CONFIG_HOME is not set, and shows them at the next\n"
           "start; options given on the command line are never kept. The furthest level\n"
           "reached by playing in each level set is kept in $XDG_STATE_HOME/zorbo/progress, or\n"
           "~/.local/state/zorbo/progress, and the launcher's level slider starts there. Your\n"
           "own level sets (the level editor saves them there) are in\n"
           "$XDG_DATA_HOME/zorbo/levels, or ~/.local/share/zorbo/levels; the launcher lists\n"
           "them after the data folder's, a name both hold marked \"(mine)\".\n"
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
    std::set<std::string> given;
    for (size_t i = 0; i < args.size() && cl.error.empty(); ++i) {
        const std::string& a = args[i];
        // Each option once: a second value would silently replace the first.
        if (a.starts_with("-") && !given.insert(LongName(a)).second) {
            cl.error = "option " + a + " is given twice";
            break;
        }
        const Option* option = FindOption(a);
        if (option == nullptr) {
            cl.error = "unknown option \"" + a + "\" (try --help)";
            break;
        }
        std::string value;
        if (!option->value.empty()) {
            if (i + 1 >= args.size()) {
                cl.error = "option " + a + " needs a value";
                break;
            }
            value = args[++i];
        }
        cl.error = option->apply(cl, a, value);
        cl.anySetting = cl.anySetting || (option->marks & GameSetting) != 0;
        cl.recordedSetting = cl.recordedSetting || (option->marks & Recorded) != 0;
        cl.windowOption = cl.windowOption || (option->marks & WindowOnly) != 0;
        if (cl.tryingOut.empty() && (option->marks & TryingOut) != 0)
            cl.tryingOut = option->name;
    }
    if (cl.error.empty())
        cl.error = Conflict(cl);
    return cl;
}

bool KeepsProgress(const CommandLine& cl)
{
    return cl.play.empty() && cl.tryingOut.empty();
}

bool ChooseLevelSet(const CommandLine& cl, const std::string& playerFolder, Settings& settings, std::string& error)
{
    const std::string name = cl.levelSet.empty() ? LevelSetName(settings.gLevelSet) : cl.levelSet;
    const std::optional<LevelSetFile> found = FindLevelSet(name, settings.DataPath, playerFolder);
    if (!found) {
        error = "there is no level set \"" + name + "\": " + name + ".txt is neither in the data folder " +
                settings.DataPath + (playerFolder.empty() ? std::string() : " nor in " + playerFolder);
        return false;
    }
    settings.gLevelSet = found->file;
    settings.LevelSetFolder = found->place == SetPlace::Data ? std::string() : found->folder;
    return true;
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
    // Installed: the data folder lies where the install puts it from the program's folder
    // (bin/ to share/zorbo/Data, or games/ to share/games/zorbo/Data), wherever the prefix is.
    else if (!programDir.empty() && fs::is_directory(fs::path(programDir) / ZORBO_DATA_FROM_PROGRAM, ec))
        path = (fs::path(programDir) / ZORBO_DATA_FROM_PROGRAM).lexically_normal().string();
    else
        path = ZORBO_INSTALL_DATA_DIR;
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

} // namespace zorbo
