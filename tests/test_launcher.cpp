#include "launcher/Launcher.h"
#include "launcher/LauncherDialog.h"
#include "launcher/LauncherLogic.h"

#include "TestData.h"
#include "level/LevelCheck.h"

#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Menu_Item.H>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace zorbo;

namespace {

void Touch(const std::string& file)
{
    std::ofstream(file) << "*\n";
}

std::vector<LevelSetEntry> Entries(std::initializer_list<const char*> names)
{
    std::vector<LevelSetEntry> list;
    for (const char* n : names)
        list.push_back({n, std::string(n) + ".txt"});
    return list;
}

// A check that records the files it was asked about and refuses those named in `bad`.
struct FakeCheck {
    std::vector<std::string> asked;
    std::string bad;
    std::string operator()(const std::string& path)
    {
        asked.push_back(path);
        return path.ends_with(bad) && !bad.empty() ? "bad file at line 3, column 7" : "";
    }
};

} // namespace

TEST(LauncherLevelSets, TheListHoldsTheTxtFilesOfTheDataFolderByName)
{
    test::TempDir dir;
    Touch(dir.path() + "Standard.txt");
    Touch(dir.path() + "Hard.txt");
    Touch(dir.path() + "notes.TXT");
    Touch(dir.path() + "readme.md");
    Touch(dir.path() + "txt");
    Touch(dir.path() + ".hidden.txt");
    std::filesystem::create_directory(dir.path() + "folder.txt");

    const auto list = ListLevelSets(dir.path());
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].name, "Hard");
    EXPECT_EQ(list[0].file, "Hard.txt");
    EXPECT_EQ(list[1].name, "notes");
    EXPECT_EQ(list[1].file, "notes.TXT") << "the file keeps its real name";
    EXPECT_EQ(list[2].name, "Standard");

    EXPECT_TRUE(ListLevelSets(dir.path() + "missing/").empty());
}

// The player's own sets follow the data folder's, each folder by name; one whose name a
// data folder set has is marked, so that every entry keeps a name of its own to be typed.
// What is no file, or leads nowhere, is not listed.
TEST(LauncherLevelSets, ThePlayersSetsFollowAndASharedNameIsMarked)
{
    test::TempDir dir;
    const std::string data = dir.path() + "Data/", player = dir.path() + "levels/";
    std::filesystem::create_directories(data);
    std::filesystem::create_directories(player);
    for (const char* file : {"Standard.txt", "Hard.txt"})
        Touch(data + file);
    for (const char* file : {"standard.txt", "Standard (mine).txt", "Alpha.txt", "-x & @y.txt"})
        Touch(player + file);
    ASSERT_EQ(::mkfifo((player + "fifo.txt").c_str(), 0600), 0);
    std::filesystem::create_directory(player + "folder.txt");
    std::filesystem::create_symlink(player + "nowhere", player + "dangling.txt");
    std::filesystem::create_symlink(data + "Hard.txt", player + "link.txt");

    const auto list = ListLevelSets(data, player);
    std::vector<std::string> names;
    for (const LevelSetEntry& e : list)
        names.push_back(e.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Hard", "Standard", "-x & @y", "Alpha", "link", "Standard (mine)",
                                               "standard (mine 2)"}));
    EXPECT_EQ(list[1].PathIn(data), data + "Standard.txt");
    EXPECT_EQ(list.back().PathIn(data), player + "standard.txt");
    EXPECT_EQ(list.back().place, SetPlace::Player);
    for (const LevelSetEntry& e : list) {
        LevelSetEntry chosen;
        MatchLevelSet(list, e.name, chosen);
        EXPECT_EQ(chosen, e) << e.name << " is not the entry its name chooses";
    }

    EXPECT_EQ(ListLevelSets(data, dir.path() + "none/").size(), 2u);
    EXPECT_EQ(ListLevelSets(data, data).size(), 2u) << "one folder is listed once";
    EXPECT_EQ(MarkedName("Hard", ListLevelSets(data)), "Hard (mine)");
}

TEST(LauncherLevelSets, NamesMatchIgnoringCaseAndTheLastMatchWins)
{
    const auto list = Entries({"Standard", "Hard"});
    LevelSetEntry chosen;
    MatchLevelSet(list, "HARD", chosen);
    EXPECT_EQ(chosen.file, "Hard.txt");
    MatchLevelSet(list, "standard", chosen);
    EXPECT_EQ(chosen.file, "Standard.txt");

    // A failed attempt never clears an earlier match.
    MatchLevelSet(list, "Hardest", chosen);
    EXPECT_EQ(chosen.file, "Standard.txt");
    LevelSetEntry none;
    MatchLevelSet(list, "", none);
    MatchLevelSet(list, "Standard ", none);
    EXPECT_EQ(none.file, "");

    // Two files whose names differ only in case: the later in the list wins.
    LevelSetEntry twin;
    MatchLevelSet(Entries({"hard", "Hard", "other"}), "hArD", twin);
    EXPECT_EQ(twin.file, "Hard.txt");

    LevelSetEntry accented;
    MatchLevelSet(Entries({"Übung"}), "übung", accented);
    EXPECT_EQ(accented.file, "Übung.txt");
}

TEST(LauncherOptions, CaptionDifficultyAndScreenSize)
{
    EXPECT_EQ(LevelCaption(4), "Level: (4/10)");
    EXPECT_EQ(LevelCaption(10), "Level: (10/10)");

    EXPECT_EQ(DifficultyFrameRate(DifficultyOption::Easy), 18);
    EXPECT_EQ(DifficultyFrameRate(DifficultyOption::Normal), 26);
    EXPECT_EQ(DifficultyFrameRate(DifficultyOption::Difficult), 32);
    EXPECT_EQ(DifficultyFrameRate(DifficultyOption::Crazy), 38);

    struct Case {
        const char* text;
        bool full, w640;
    };
    for (const Case& c : {Case{"Full Screen", true, false}, Case{"320 x 240", false, false},
                          Case{"640 x 480", false, true}, Case{"640x480", false, false},
                          Case{"full screen", false, false}, Case{"", false, false}}) {
        bool full = false, w640 = false;
        ApplyScreenSize(c.text, full, w640);
        EXPECT_EQ(full, c.full) << c.text;
        EXPECT_EQ(w640, c.w640) << c.text;
    }
    // Only the listed sizes touch the flags.
    bool full = true, w640 = true;
    ApplyScreenSize("800 x 600", full, w640);
    EXPECT_TRUE(full && w640);
}

TEST(LauncherOptions, WindowsAreCentredAndLifted)
{
    const WindowPlace dialog = CentredLifted(1024, 768, 271, 412);
    EXPECT_EQ(dialog.x, 376);   // 376.5 rounds to even
    EXPECT_EQ(dialog.y, 117);   // 178 * 0.66 = 117.48
    const WindowPlace help = CentredLifted(1920, 1080, 272, 244);
    EXPECT_EQ(help.x, 824);
    EXPECT_EQ(help.y, 276);     // 418 * 0.66 = 275.88
    const WindowPlace tiny = CentredLifted(200, 300, 271, 412);
    EXPECT_EQ(tiny.x, -36);     // -35.5 rounds to even
    EXPECT_EQ(tiny.y, -37);     // -56 * 0.66 = -36.96
}

TEST(LauncherNewGame, TheDesignedChoicesStartLevelOneOfStandard)
{
    LauncherChoices c;
    c.levelSets = Entries({"Hard", "Standard"});
    FakeCheck check;
    const NewGameOutcome out = DecideNewGame(c, "/data/", std::ref(check));
    ASSERT_EQ(out.kind, NewGameOutcome::Start);
    EXPECT_EQ(check.asked, std::vector<std::string>{"/data/Standard.txt"});
    EXPECT_EQ(out.settings.gLevelSet, "Standard.txt");
    EXPECT_EQ(out.settings.gLevel, 0);
    EXPECT_EQ(out.settings.gDifficulty, 26);
    EXPECT_TRUE(out.settings.gFullScreen);
    EXPECT_FALSE(out.settings.gWindow640);
    EXPECT_TRUE(out.settings.gSoundOn);
    EXPECT_EQ(out.settings.motion, Motion::Smooth);
    EXPECT_EQ(out.settings.DataPath, "/data/");
}

TEST(LauncherNewGame, ChosenOptionsReachTheSettings)
{
    LauncherChoices c;
    c.levelSets = Entries({"Standard", "Hard"});
    c.levelSetText = "HARD";
    c.level = 7;
    c.screenSizeText = "640 x 480";
    c.soundOn = false;
    c.difficulty = DifficultyOption::Easy;
    c.motion = Motion::Classic;
    FakeCheck check;
    NewGameOutcome out = DecideNewGame(c, "/d/", std::ref(check));
    ASSERT_EQ(out.kind, NewGameOutcome::Start);
    EXPECT_EQ(out.settings.gLevelSet, "Hard.txt");
    EXPECT_EQ(out.settings.gLevel, 6);
    EXPECT_EQ(out.settings.gDifficulty, 18);
    EXPECT_FALSE(out.settings.gFullScreen);
    EXPECT_TRUE(out.settings.gWindow640);
    EXPECT_FALSE(out.settings.gSoundOn);
    EXPECT_EQ(out.settings.motion, Motion::Classic);

    c.screenSizeText = "1024 x 768";
    c.difficulty = DifficultyOption::Crazy;
    out = DecideNewGame(c, "/d/", std::ref(check));
    EXPECT_FALSE(out.settings.gFullScreen || out.settings.gWindow640) << "unknown size: 320 x 240";
    EXPECT_EQ(out.settings.gDifficulty, 38);
}

TEST(LauncherNewGame, UnknownNamesAndInvalidFilesAreRefused)
{
    LauncherChoices c;
    c.levelSets = Entries({"Standard", "Broken"});
    c.levelSetText = "Standart";
    FakeCheck check;
    check.bad = "Broken.txt";

    NewGameOutcome out = DecideNewGame(c, "/d/", std::ref(check));
    EXPECT_EQ(out.kind, NewGameOutcome::UnknownLevelSet);
    EXPECT_EQ(out.message,
              "Invalid level set selected.  Please select from the list and try again.");
    EXPECT_TRUE(check.asked.empty()) << "no file is looked at without a listed name";

    c.levelSetText = "broken";
    out = DecideNewGame(c, "/d/", std::ref(check));
    EXPECT_EQ(out.kind, NewGameOutcome::InvalidLevelSet);
    EXPECT_EQ(out.message, "bad file at line 3, column 7");

    // The earlier match stays chosen: an unlisted name now checks that file again.
    c.levelSetText = "nothing";
    out = DecideNewGame(c, "/d/", std::ref(check));
    EXPECT_EQ(out.kind, NewGameOutcome::InvalidLevelSet);
    EXPECT_EQ(check.asked.back(), "/d/Broken.txt");

    c.levelSetText = "STANDARD";
    out = DecideNewGame(c, "/d/", std::ref(check));
    EXPECT_EQ(out.kind, NewGameOutcome::Start);
    EXPECT_EQ(out.settings.gLevelSet, "Standard.txt");
}

// A set of the player's is checked where it lies and played from there; one that is no
// level set is refused as a broken set of the data folder is, naming the file.
TEST(LauncherNewGame, APlayersSetIsCheckedAndPlayedFromItsOwnFolder)
{
    test::TempDir dir;
    const std::string data = dir.path() + "Data/", player = dir.path() + "levels/";
    std::filesystem::create_directories(data);
    std::filesystem::create_directories(player);
    std::filesystem::copy_file(std::string(ZORBO_TEST_DATA_DIR) + "/Standard.txt", data + "Standard.txt");
    std::filesystem::copy_file(data + "Standard.txt", player + "Standard.txt");
    std::ofstream(player + "notes.txt") << "shopping: eggs, milk\n";
    LauncherChoices c;
    c.levelSets = ListLevelSets(data, player);
    const auto check = [](const std::string& path) {
        const LevelCheckResult result = CheckLevelSet(path);
        return result.ok() ? std::string() : result.FirstError(path);
    };

    c.levelSetText = "standard (MINE)";
    NewGameOutcome out = DecideNewGame(c, data, check);
    ASSERT_EQ(out.kind, NewGameOutcome::Start) << out.message;
    EXPECT_EQ(out.settings.LevelSetPath(), player + "Standard.txt");
    EXPECT_EQ(ChoicesToRemember(c, out.settings).levelSet, "Standard (mine)");
    c.levelSetText = "Standard";
    out = DecideNewGame(c, data, check);
    EXPECT_EQ(out.settings.LevelSetPath(), data + "Standard.txt");
    EXPECT_EQ(ChoicesToRemember(c, out.settings).levelSet, "Standard");

    c.levelSetText = "notes";
    out = DecideNewGame(c, data, check);
    EXPECT_EQ(out.kind, NewGameOutcome::InvalidLevelSet);
    EXPECT_NE(out.message.find(player + "notes.txt"), std::string::npos) << out.message;
}

TEST(LauncherNewGame, WithoutADataFolderEveryAttemptIsRefused)
{
    test::TempDir dir;
    LauncherChoices c;
    c.levelSets = ListLevelSets(dir.path() + "Data/");
    FakeCheck check;
    for (const char* text : {"Standard", "", "Data"}) {
        c.levelSetText = text;
        EXPECT_EQ(DecideNewGame(c, dir.path() + "Data/", std::ref(check)).kind,
                  NewGameOutcome::UnknownLevelSet);
    }
    EXPECT_TRUE(check.asked.empty());
}

namespace {

// A fake level editor: a script with the given body.
std::string WriteEditor(const std::string& path, const std::string& script)
{
    std::ofstream(path) << script;
    EXPECT_EQ(::chmod(path.c_str(), 0755), 0);
    return path;
}

// Checks the editors' starts as the launcher's event loop does, until none is watched.
std::vector<std::string> Settle(EditorStarts& editors, std::vector<std::string>& problems)
{
    for (int i = 0; i < 1500 && editors.Check(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return problems;
}

} // namespace

// The launcher starts the level editor as a process of its own, which outlives the launcher and
// the game and is never left for them to wait on.
TEST(LauncherEditor, TheEditorStartsDetachedWithTheChosenFile)
{
    test::TempDir dir;
    const std::string editor = WriteEditor(dir.path() + "fake-editor", "#!/bin/sh\necho \"$1\" > \"$0.opened\"\nsleep 1\n");
    std::vector<std::string> problems;
    {
        EditorStarts editors([&](const std::string& p) { problems.push_back(p); }, 300);
        EXPECT_EQ(editors.Start(editor, dir.path() + "My Set.txt"), "");
        EXPECT_TRUE(Settle(editors, problems).empty()) << problems.front();
    }
    std::string opened;
    for (int i = 0; i < 100 && opened.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ifstream answer(editor + ".opened");
        std::getline(answer, opened);
    }
    EXPECT_EQ(opened, dir.path() + "My Set.txt") << "the file name reaches the editor whole";
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "no child is left to wait for";
}

// An editor that is there but cannot run is reported, not silently missing: one that
// cannot be started at all at once, one whose interpreter is missing or that fails at
// once after the fact. One that runs, or ends well, is no problem.
TEST(LauncherEditor, AnEditorThatCannotRunIsReported)
{
    test::TempDir dir;
    std::vector<std::string> problems;
    EditorStarts editors([&](const std::string& p) { problems.push_back(p); }, 1000);

    const std::string missing = editors.Start(dir.path() + "no-editor", "x.txt");
    EXPECT_EQ(missing, "The level editor could not be started: " + dir.path() +
                           "no-editor cannot be run: no such file or directory.");
    std::ofstream(dir.path() + "not-executable") << "#!/bin/sh\n";
    EXPECT_NE(editors.Start(dir.path() + "not-executable", "x.txt").find("permission denied"), std::string::npos);

    const std::string fails = WriteEditor(dir.path() + "fails", "#!/bin/sh\nexit 1\n");
    const std::string noInterpreter = WriteEditor(dir.path() + "no-interpreter", "#!/no/such/shell\n");
    const std::string crashes = WriteEditor(dir.path() + "crashes", "#!/bin/sh\nkill -SEGV $$\n");
    const std::string endsWell = WriteEditor(dir.path() + "ends-well", "#!/bin/sh\nexit 0\n");
    // Runs far longer than the watch, so that a watch that waited for it shows.
    const std::string runs = WriteEditor(dir.path() + "runs", "#!/bin/sh\necho $$ > \"$0.pid\"\nexec sleep 30\n");
    for (const std::string& program : {fails, noInterpreter, crashes, endsWell, runs})
        EXPECT_EQ(editors.Start(program, "x.txt"), "") << program;
    EXPECT_TRUE(editors.Check()) << "the starts are watched, not waited for";
    const auto start = std::chrono::steady_clock::now();
    Settle(editors, problems);
    EXPECT_FALSE(editors.Check()) << "still watching";
    // The watch takes its second; the running editor would hold it for thirty.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << "the watch ends after its time";
    pid_t running = 0;
    std::ifstream(runs + ".pid") >> running;
    if (running > 0)
        ::kill(running, SIGTERM);
    std::sort(problems.begin(), problems.end());
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], "The level editor could not be started: " + crashes +
                               " was ended at once by signal 11 (Segmentation fault).");
    EXPECT_EQ(problems[1], "The level editor could not be started: " + fails + " ended at once with status 1.");
    EXPECT_EQ(problems[2], "The level editor could not be started: " + noInterpreter +
                               " cannot be run: no such file or directory.");
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "no watcher is left to wait for";
}

// A watch still running when the launcher ends is let go: the editor runs on, and no
// process is left for the game to wait on.
TEST(LauncherEditor, AWatchLeftRunningIsLetGo)
{
    test::TempDir dir;
    const std::string editor =
        WriteEditor(dir.path() + "slow", "#!/bin/sh\nsleep 0.5\necho done > \"$0.done\"\n");
    {
        EditorStarts editors({}, 5000);
        EXPECT_EQ(editors.Start(editor, "x.txt"), "");
    }
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
    bool done = false;
    for (int i = 0; i < 100 && !done; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        done = std::filesystem::exists(editor + ".done");
    }
    EXPECT_TRUE(done) << "the editor outlives the watch";
}

// The dialog keeps the layout it was designed with: every control where and as large as
// designed, and none added among them.
TEST(LauncherDialogLayout, EveryControlKeepsItsDesignedRectangle)
{
    test::TempDir dir;
    LauncherDialog dialog(dir.path(), [](const std::string&) { return std::string(); });
    using C = LauncherDialog::Control;
    const std::vector<C> designed = {
        {"Label1", 16, 8, 233, 33},      {"Image1", 24, 48, 219, 185},
        {"Label2", 16, 248, 80, 17},     {"HScroll1", 96, 248, 153, 17},
        {"Label3", 16, 272, 80, 17},     {"Combo1", 96, 272, 153, 21},
        {"Label4", 16, 296, 80, 17},     {"Combo2", 96, 296, 153, 21},
        {"Check2", 16, 320, 81, 17},     {"Difficulty", 16, 344, 249, 17},
        {"Option1", 16, 344, 56, 17},    {"Option2", 72, 344, 64, 17},
        {"Option3", 136, 344, 64, 17},   {"Option4", 200, 344, 65, 17},
        {"Command1", 48, 376, 81, 25},   {"Command2", 136, 376, 81, 25},
        {"Command3", 248, 392, 17, 17},
    };
    const std::vector<C> controls = dialog.Controls();
    ASSERT_EQ(controls.size(), designed.size());
    for (size_t i = 0; i < designed.size(); ++i)
        EXPECT_EQ(controls[i], designed[i]) << designed[i].name << " is " << controls[i].name << " at "
                                            << controls[i].x << "," << controls[i].y << " "
                                            << controls[i].w << "x" << controls[i].h;
    EXPECT_EQ(dialog.Window().w(), LauncherDialog::kWidth);
    EXPECT_EQ(dialog.Window().h(), LauncherDialog::kHeight);
}

// Ctrl+E opens the chosen level set in the editor wherever the focus is; other keys with
// Ctrl do not.
TEST(LauncherDialogLayout, CtrlEOpensTheChosenLevelSetInTheEditor)
{
    test::TempDir dir;
    Touch(dir.path() + "Standard.txt");
    Touch(dir.path() + "Hard.txt");
    std::vector<std::string> opened;
    LauncherDialog dialog(dir.path(), [](const std::string&) { return std::string(); },
                          [&opened](const std::string& file) {
                              opened.push_back(file);
                              return std::string();
                          });
    dialog.LoadChoices();
    const auto press = [&](int key, int state, int event) {
        Fl::e_keysym = key;
        Fl::e_state = state;
        return dialog.Window().handle(event);
    };
    EXPECT_EQ(press('e', FL_CTRL, FL_KEYBOARD), 1);
    EXPECT_EQ(opened, std::vector<std::string>{dir.path() + "Standard.txt"});
    EXPECT_EQ(press('E', FL_CTRL, FL_SHORTCUT), 1);
    EXPECT_EQ(opened.size(), 2u);
    press('e', FL_CTRL | FL_SHIFT, FL_SHORTCUT);
    press('e', FL_ALT, FL_SHORTCUT);
    press('r', FL_CTRL, FL_SHORTCUT);
    EXPECT_EQ(opened.size(), 2u) << "only Ctrl+E opens the editor";
    Fl::e_keysym = 0;
    Fl::e_state = 0;
}

// The level-set box's context menu: the editor entry, a divider, then the smooth-motion
// toggle, checked while smooth. Picking the toggle flips the choice; it is kept only when a
// game starts, and the started game's settings carry it.
TEST(LauncherDialogLayout, TheContextMenuOpensTheEditorAndTogglesSmoothMotion)
{
    test::TempDir dir;
    Touch(dir.path() + "Standard.txt");
    std::vector<std::string> opened;
    std::vector<SavedChoices> kept;
    LauncherDialog dialog(
        dir.path(), [](const std::string&) { return std::string(); },
        [&opened](const std::string& file) {
            opened.push_back(file);
            return std::string();
        },
        {}, [&kept](const SavedChoices& c) { kept.push_back(c); });
    dialog.LoadChoices();

    std::vector<Fl_Menu_Item> menu = dialog.LevelSetMenu();
    ASSERT_EQ(menu.size(), 4u);
    EXPECT_STREQ(menu[0].label(), "Open in the level editor\xe2\x80\xa6");
    EXPECT_TRUE(menu[0].flags & FL_MENU_DIVIDER) << "a divider parts the editor from the toggle";
    EXPECT_STREQ(menu[1].label(), "Smooth motion");
    EXPECT_TRUE(menu[1].checkbox());
    EXPECT_TRUE(menu[1].value()) << "smooth is the designed motion";

    menu[0].do_callback(&dialog.Window());
    EXPECT_EQ(opened, std::vector<std::string>{dir.path() + "Standard.txt"});

    menu[1].do_callback(&dialog.Window());
    menu = dialog.LevelSetMenu();
    EXPECT_FALSE(menu[1].value()) << "the toggle shows the flipped choice";
    EXPECT_EQ(dialog.ReadChoices().motion, Motion::Classic) << "reading the controls keeps it";

    // What is kept is read from the started game's settings (ChoicesToRemember), which Run
    // hands to the game.
    dialog.Command1_Click();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].motion, Motion::Classic);
}

// The music toggle sits under the motion's and shows whether music is heard: with no choice
// made it follows the motion; ticked or unticked by hand it stays so, and the started game
// and the remembered choices carry it.
TEST(LauncherDialogLayout, TheContextMenuTogglesTheMusic)
{
    test::TempDir dir;
    Touch(dir.path() + "Standard.txt");
    std::vector<SavedChoices> kept;
    LauncherDialog dialog(
        dir.path(), [](const std::string&) { return std::string(); }, {}, {},
        [&kept](const SavedChoices& c) { kept.push_back(c); });
    dialog.LoadChoices();
    const auto item = [&dialog](size_t i) { return dialog.LevelSetMenu()[i]; };
    EXPECT_STREQ(item(2).label(), "Music");
    EXPECT_TRUE(item(2).checkbox());
    EXPECT_TRUE(item(2).value()) << "smooth motion plays music";
    item(1).do_callback(&dialog.Window());
    EXPECT_FALSE(item(2).value()) << "classic motion is silent unless asked";
    item(2).do_callback(&dialog.Window());
    EXPECT_TRUE(item(2).value());
    item(1).do_callback(&dialog.Window());
    item(1).do_callback(&dialog.Window());
    EXPECT_TRUE(item(2).value()) << "asked for, it no longer follows the motion";
    EXPECT_EQ(dialog.ReadChoices().music, MusicChoice::On);

    dialog.Command1_Click();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].music, MusicChoice::On);
    EXPECT_EQ(kept[0].motion, Motion::Classic);
}
