// The furthest level reached in each level set: its file, who writes it, the game telling
// a level reached, and the launcher's slider that starts there.
#include "app/CommandLine.h"
#include "game/Progress.h"
#include "launcher/LauncherDialog.h"

#include "HeroWorld.h"
#include "LevelText.h"
#include "TestData.h"

#include <gtest/gtest.h>
// After gtest: the box's header brings X11's macros, whose None clashes with gtest's.
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Input_Choice.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Scrollbar.H>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

using namespace zorbo;
using test::CountSounds;

namespace {

constexpr int32_t Finished = ProgressFormat::Finished;

void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace

TEST(ProgressFile, WhatIsKeptReadsBackWithAnyNameALevelSetMayHave)
{
    const Progress kept = {{"Standard.txt", 4},      {"My Hard Set.txt", Finished}, {" leading space.txt", 10},
                           {"#not a comment.txt", 2}, {"tr\xc3\xa4ume.txt", 1},      {"7 wonders.txt", 7}};
    const std::string text = ProgressText(kept);
    EXPECT_TRUE(text.starts_with("# Zorbo: ")) << text;
    EXPECT_NE(text.find("\nfinished My Hard Set.txt\n"), std::string::npos) << text;
    const ProgressRead read = ReadProgress(text);
    EXPECT_TRUE(read.valid()) << read.FirstProblem();
    EXPECT_EQ(read.reached, kept);

    // Written by hand: other line ends, empty lines and comments.
    const ProgressRead byHand = ReadProgress("\xef\xbb\xbf# mine\r\n\r\n3 A.txt\r10 B.txt\n# 5 C.txt");
    EXPECT_TRUE(byHand.valid()) << byHand.FirstProblem();
    EXPECT_EQ(byHand.reached, (Progress{{"A.txt", 3}, {"B.txt", 10}}));

    // What the format cannot hold is left out rather than written unreadable.
    const Progress odd = {{"", 3}, {"line\nbreak.txt", 3}, {std::string(300, 'x'), 3}, {"zero.txt", 0}, {"ok.txt", 5}};
    EXPECT_EQ(ReadProgress(ProgressText(odd)).reached, (Progress{{"ok.txt", 5}}));
}

// A damaged file is refused whole, with the line and what is wrong there, and loading it
// gives one warning that names the file and takes it as empty.
TEST(ProgressFile, ADamagedFileIsNamedInOneWarningAndReadAsEmpty)
{
    struct Case {
        std::string bytes;
        const char* problem;
    };
    const Case cases[] = {
        {"4\n", "line 1: no level set follows the level"},
        {"4 \n", "line 1: no level set follows the level"},
        {"2 A.txt\n0 B.txt\n", "line 2: the level cannot be \"0\""},
        {"11 A.txt\n", "line 1: the level cannot be \"11\""},
        {"04 A.txt\n", "line 1: the level cannot be \"04\""},
        {"-3 A.txt\n", "line 1: the level cannot be \"-3\""},
        {"99999999999999999999 A.txt\n", "the level cannot be \"99999999999999999999\""},
        {"Finished A.txt\n", "the level cannot be \"Finished\""},
        {"A.txt 4\n", "line 1: the level cannot be \"A.txt\""},
        {" 4 A.txt\n", "line 1: the level cannot be \"\""},
        {"4 a\tb.txt\n", "line 1: the level set cannot be \"a?b.txt\""},
        {"4 " + std::string(256, 'n') + "\n", "the level set cannot be \"nnnn"},
        {"3 A.txt\n\n5 A.txt\n", "line 3: the level set \"A.txt\" is listed twice"},
        {std::string("2 A.txt\n\0\x01\xff", 11), "line 2: the level cannot be \"?"},
        {std::string(ProgressFormat::MaxFileBytes + 1, '#'), "larger than 32"}, // 32768 bytes, 32 kB
    };
    test::TempDir dir;
    const std::string path = dir.path() + "progress";
    for (const Case& c : cases) {
        const ProgressRead read = ReadProgress(c.bytes);
        EXPECT_FALSE(read.valid()) << c.problem;
        EXPECT_TRUE(read.reached.empty()) << "nothing of a damaged file is used";
        EXPECT_NE(read.FirstProblem().find(c.problem), std::string::npos) << read.FirstProblem();

        Write(path, c.bytes);
        test::Warnings warnings;
        ProgressFound found = ProgressFound::Read;
        EXPECT_TRUE(LoadProgress(path, true, &found).empty());
        EXPECT_EQ(found, ProgressFound::Damaged);
        ASSERT_EQ(warnings.lines().size(), 1u) << c.problem;
        EXPECT_EQ(warnings.Count(path), 1) << warnings.lines()[0];
        EXPECT_EQ(warnings.Count(c.problem), 1) << warnings.lines()[0];
    }
    std::string many;
    for (int i = 0; i < 500; ++i)
        many += "x\n";
    EXPECT_EQ(ReadProgress(many).problems.size(), ProgressFormat::MaxListedProblems);

    // A folder or a FIFO in its place is named too, at once (a FIFO is never waited on).
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    ASSERT_EQ(::mkfifo((dir.path() + "fifo").c_str(), 0600), 0);
    for (const auto& [file, kind] : {std::pair{path, " is a folder"}, std::pair{dir.path() + "fifo", " is a FIFO"}}) {
        test::Warnings warnings;
        ProgressFound found = ProgressFound::Read;
        EXPECT_TRUE(LoadProgress(file, true, &found).empty());
        EXPECT_EQ(found, ProgressFound::Unreadable);
        ASSERT_EQ(warnings.lines().size(), 1u);
        EXPECT_EQ(warnings.Count(file + kind), 1) << warnings.lines()[0];
    }
    test::Warnings none;
    ProgressFound found = ProgressFound::Read;
    EXPECT_TRUE(LoadProgress(dir.path() + "missing", true, &found).empty());
    EXPECT_EQ(found, ProgressFound::Missing);
    EXPECT_TRUE(LoadProgress(path, false).empty());
    EXPECT_TRUE(none.lines().empty()) << "no file is no problem, and a quiet load says nothing";
}

TEST(ProgressFile, ALevelReachedIsNeverTakenBack)
{
    Progress p = {{"A.txt", 3}};
    EXPECT_FALSE(RaiseProgress(p, "A.txt", 2) || RaiseProgress(p, "A.txt", 3));
    EXPECT_TRUE(RaiseProgress(p, "A.txt", 10));
    EXPECT_TRUE(RaiseProgress(p, "A.txt", Finished)) << "finishing the set is further than its last level";
    EXPECT_FALSE(RaiseProgress(p, "A.txt", 10));
    EXPECT_TRUE(RaiseProgress(p, "B.txt", 2));
    for (int32_t bad : {0, -1, Finished + 1})
        EXPECT_FALSE(RaiseProgress(p, "C.txt", bad)) << bad;
    EXPECT_FALSE(RaiseProgress(p, "", 4));
    EXPECT_EQ(p, (Progress{{"A.txt", Finished}, {"B.txt", 2}}));
    EXPECT_EQ(ShownLevel(Finished), 10) << "a finished set shows its last level";
}

// The keeper raises each level reached into the file as it stands, so levels another game
// kept meanwhile stay; a damaged file is replaced, one in a folder's or FIFO's place is not.
TEST(ProgressKeeper, EachLevelReachedIsRaisedIntoTheFileAsItStands)
{
    test::TempDir dir;
    const std::string path = dir.path() + "state/zorbo/progress";
    {
        ProgressKeeper keeper(path, "Standard.txt", true);
        keeper.Reached(2);
        EXPECT_EQ(LoadProgress(path), (Progress{{"Standard.txt", 2}})) << "the folders are made";
        EXPECT_EQ(std::filesystem::status(dir.path() + "state/zorbo").permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_all);
        Write(path, ProgressText({{"Hard.txt", 5}, {"Standard.txt", 2}})); // another game
        keeper.Reached(4);
        keeper.Reached(3);
        EXPECT_EQ(LoadProgress(path), (Progress{{"Hard.txt", 5}, {"Standard.txt", 4}}));
    }
    {
        ProgressKeeper later(path, "Standard.txt", true);
        later.Reached(2);
        EXPECT_EQ(LoadProgress(path).at("Standard.txt"), 4) << "a later game never lowers it";
    }
    for (const bool warn : {true, false}) {
        for (const std::string& damage : {std::string("4 A.txt\n4 A.txt\n"), std::string(40000, 'x')}) {
            Write(path, damage);
            test::Warnings warnings;
            ProgressKeeper keeper(path, "Standard.txt", warn);
            keeper.Reached(2);
            keeper.Reached(3);
            EXPECT_EQ(LoadProgress(path), (Progress{{"Standard.txt", 3}})) << "replaced";
            EXPECT_EQ(warnings.lines().size(), warn ? 1u : 0u);
            EXPECT_EQ(warnings.Count(path), warn ? 1 : 0);
        }
    }
    // A folder or a FIFO in its place is left alone and named once, however many levels
    // are reached; a folder that cannot be made is one warning too.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    ASSERT_EQ(::mkfifo((dir.path() + "fifo").c_str(), 0600), 0);
    Write(dir.path() + "file", "");
    for (const std::string& bad : {path, dir.path() + "fifo", dir.path() + "file/zorbo/progress"}) {
        test::Warnings warnings;
        ProgressKeeper keeper(bad, "Standard.txt", true);
        for (int32_t level = 2; level <= 5; ++level)
            keeper.Reached(level);
        ASSERT_EQ(warnings.lines().size(), 1u) << bad;
        EXPECT_EQ(warnings.Count(bad), 1) << warnings.lines()[0];
    }
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.path() + "fifo"));
}

// Only a game a player plays keeps what it reaches: never a replay, headless or in a
// window, nor the editor's test play; a recorded game is played by a player.
TEST(ProgressKeeper, OnlyAGameAPlayerPlaysKeepsIt)
{
    const auto keeps = [](std::vector<std::string> args) { return KeepsProgress(ParseCommandLine(args)); };
    EXPECT_TRUE(keeps({}));
    EXPECT_TRUE(keeps({"--level", "4", "--level-set", "Hard"}));
    EXPECT_TRUE(keeps({"--record", "game.rec"}));
    EXPECT_FALSE(keeps({"--play", "game.rec"}));
    EXPECT_FALSE(keeps({"--play", "game.rec", "--headless"}));
    EXPECT_FALSE(keeps({"--data", "/tmp/x", "--level-set", "Standard", "--level", "3", "--start-column", "40",
                        "--loop-level"}));
    EXPECT_FALSE(keeps({"--loop-level"}));
}

namespace {

// A headless game of ten short levels (the end five cells from the start), listening for
// the levels it reaches.
struct Reached : testing::Test {
    test::Game g;
    std::vector<int32_t> told;

    void SetUp() override
    {
        test::LevelSet set;
        for (test::Level& level : set.levels)
            level[12] = test::Row("..H....E");
        test::WriteFile(g.data.path() + g->gLevelSet, set.Text());
    }
    // A new game window started at `level` (0..9), as the launcher or --level start it.
    void StartAt(int32_t level)
    {
        g.settings.gLevel = level;
        g.window = std::make_unique<GameWindow>(g.platform, g.settings);
        g->OnLevelReached = [this](int32_t reached) { told.push_back(reached); };
        g->Startup();
        ASSERT_TRUE(g->bRunning);
    }
    void WalkToTheEnd()
    {
        g.platform.sounds.clear();
        for (int i = 0; i < 80 && CountSounds(g.platform, Sound::LevelDone) == 0; ++i)
            g.Frame({Key::Right});
        ASSERT_EQ(CountSounds(g.platform, Sound::LevelDone), 1);
    }
};

} // namespace

// Only finishing a level reaches one: not the chosen start level, nor a continue after a
// game over (the same level again), nor a new game after the set is finished.
TEST_F(Reached, FinishingALevelReachesTheNextAndNothingElseDoes)
{
    StartAt(7);
    for (int i = 0; i < 10; ++i)
        g.Frame();
    EXPECT_TRUE(told.empty()) << "the chosen start level is no level reached";
    WalkToTheEnd();
    EXPECT_EQ(told, std::vector<int32_t>{9});

    g->Lives = 1;
    g->sprPlayer.Y = 250;
    g->sprPlayer.State = Hero::Dying;
    g.Frame();
    ASSERT_TRUE(g->gGameOver);
    g.Frame({Key::Y});
    ASSERT_EQ(g->gLevel, 8) << "the same level again";
    EXPECT_EQ(told, std::vector<int32_t>{9});

    WalkToTheEnd();
    WalkToTheEnd();
    EXPECT_TRUE(g->gGameWon);
    EXPECT_EQ(told, (std::vector<int32_t>{9, 10, Finished}));
    g->Keyboard_KeyDown(Key::Y); // "NEW GAME (Y/N)?"
    EXPECT_EQ(g->gLevel, 0);
    EXPECT_EQ(told, (std::vector<int32_t>{9, 10, Finished}));
}

TEST_F(Reached, ALoopedTryReachesNothing)
{
    g.settings.LoopLevel = true;
    StartAt(3);
    WalkToTheEnd();
    EXPECT_EQ(g->gLevel, 3) << "the level begins again";
    EXPECT_TRUE(told.empty());
}

namespace {

// A launcher dialog over a data folder holding Easy, Hard and Standard.
struct Slider : testing::Test {
    test::TempDir dir;
    Slider()
    {
        for (const char* name : {"Easy", "Hard", "Standard"})
            std::ofstream(dir.path() + name + ".txt") << "*\n";
    }
    std::unique_ptr<LauncherDialog> Open(const Progress& progress, SavedChoices shown = {})
    {
        auto dialog = std::make_unique<LauncherDialog>(
            dir.path(), [](const std::string&) { return std::string(); }, LauncherDialog::OpenEditor(), shown);
        dialog->SetProgress(progress);
        dialog->LoadChoices();
        return dialog;
    }
    static Fl_Input_Choice& LevelSetBox(LauncherDialog& dialog)
    {
        for (int i = 0; i < dialog.Window().children(); ++i)
            if (auto* box = dynamic_cast<Fl_Input_Choice*>(dialog.Window().child(i)))
                return *box; // the first box is the level set's
        throw std::logic_error("no level-set box");
    }
    // The player types the text into the level-set box.
    static void Type(LauncherDialog& dialog, const char* text)
    {
        Fl_Input& input = *LevelSetBox(dialog).input();
        input.value(text);
        input.set_changed();
        input.do_callback();
    }
    // The player picks the level set from the box's list.
    static void Pick(LauncherDialog& dialog, const char* name)
    {
        Fl_Menu_Button& list = *LevelSetBox(dialog).menubutton();
        const Fl_Menu_Item* item = list.find_item(name);
        ASSERT_NE(item, nullptr) << name;
        item->do_callback(&list);
    }
    // The player moves the level slider.
    static void Slide(LauncherDialog& dialog, int level)
    {
        for (int i = 0; i < dialog.Window().children(); ++i)
            if (auto* slider = dynamic_cast<Fl_Scrollbar*>(dialog.Window().child(i))) {
                slider->value(level, 1, 1, 10);
                slider->do_callback();
            }
    }
    static void ExpectShown(LauncherDialog& dialog, int level, const std::string& caption, const std::string& tip)
    {
        EXPECT_EQ(dialog.ReadChoices().level, level);
        EXPECT_EQ(dialog.LevelCaptionShown(), caption);
        EXPECT_EQ(dialog.LevelTipShown(), tip);
    }
};

} // namespace

TEST_F(Slider, TheSliderFollowsTheChosenSetsFurthestLevel)
{
    const auto dialog = Open({{"Standard.txt", 4}, {"Hard.txt", Finished}, {"Gone.txt", 6}});
    ExpectShown(*dialog, 4, "Level: (4/10)", "furthest reached: 4");
    Pick(*dialog, "Hard");
    ExpectShown(*dialog, 10, "Level: (10/10)", "furthest reached: 10");
    Type(*dialog, "eas");
    ExpectShown(*dialog, 10, "Level: (10/10)", "furthest reached: 10"); // no set of that name yet
    Type(*dialog, "easy"); // a set without progress: the remembered level, which has moved the slider
    ExpectShown(*dialog, 1, "Level: (1/10)", "");
    Type(*dialog, "STANDARD");
    ExpectShown(*dialog, 4, "Level: (4/10)", "furthest reached: 4");
}

// Sets without progress keep today's slider: the remembered level at first, the designed
// caption until it moves, and a level the player chose whatever set is picked after it.
TEST_F(Slider, WithoutProgressTheSliderActsAsItAlwaysHas)
{
    {
        const auto dialog = Open({});
        ExpectShown(*dialog, 1, "Level (1/10):", "");
        Pick(*dialog, "Hard");
        Type(*dialog, "Easy");
        ExpectShown(*dialog, 1, "Level (1/10):", ""); // the slider has never moved
        Slide(*dialog, 6);
        Pick(*dialog, "Standard");
        ExpectShown(*dialog, 6, "Level: (6/10)", "");
    }
    SavedChoices remembered;
    remembered.levelSet = "Hard";
    remembered.level = 3;
    const auto dialog = Open({{"Standard.txt", 7}}, remembered);
    ExpectShown(*dialog, 3, "Level: (3/10)", "");
    Pick(*dialog, "Standard");
    ExpectShown(*dialog, 7, "Level: (7/10)", "furthest reached: 7");
    Pick(*dialog, "Easy");
    ExpectShown(*dialog, 3, "Level: (3/10)", ""); // another set's furthest level means nothing here
    Pick(*dialog, "Standard");
    Slide(*dialog, 5);
    Pick(*dialog, "Hard");
    ExpectShown(*dialog, 5, "Level: (5/10)", ""); // the player's level stays
}

// The player's copy of a set keeps its progress apart from the set it was copied from.
TEST_F(Slider, ThePlayersCopyOfASetFollowsItsOwnProgress)
{
    test::TempDir share;
    test::ScopedEnv data("XDG_DATA_HOME", share.path().c_str());
    std::filesystem::create_directories(PlayerLevelsFolder());
    std::ofstream(PlayerLevelsFolder() + "Standard.txt") << "*\n";
    const auto dialog = Open({{"Standard.txt", 4}, {"user:Standard.txt", 8}});
    ExpectShown(*dialog, 4, "Level: (4/10)", "furthest reached: 4");
    Pick(*dialog, "Standard (mine)");
    ExpectShown(*dialog, 8, "Level: (8/10)", "furthest reached: 8");
    Type(*dialog, "standard");
    ExpectShown(*dialog, 4, "Level: (4/10)", "furthest reached: 4");
}
