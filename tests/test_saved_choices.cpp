#include "launcher/LauncherDialog.h"
#include "launcher/SavedChoices.h"

#include "TestData.h"

#include <FL/Fl_Menu_Item.H>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace zorbo;

namespace {

SavedChoices Chosen()
{
    SavedChoices c;
    c.levelSet = "My Hard Set";
    c.level = 10;
    c.screenSize = "640 x 480";
    c.difficulty = DifficultyOption::Crazy;
    c.soundOn = false;
    c.motion = Motion::Classic;
    return c;
}

// A data folder holding the named level sets (their contents are never read here).
struct LevelSets {
    test::TempDir dir;
    explicit LevelSets(std::initializer_list<const char*> names)
    {
        for (const char* n : names)
            std::ofstream(dir.path() + n + ".txt") << "*\n";
    }
};

std::string NoProblem(const std::string&)
{
    return {};
}

using test::ScopedEnv;

} // namespace

TEST(SavedChoicesFile, ChoicesComeBackAsTheyWereSaved)
{
    for (const SavedChoices& c : {SavedChoices(), Chosen()}) {
        const SavedChoicesRead read = ReadSavedChoices(SavedChoicesText(c));
        EXPECT_TRUE(read.valid()) << read.FirstProblem();
        EXPECT_EQ(read.choices, c);
    }
    for (DifficultyOption d : {DifficultyOption::Easy, DifficultyOption::Difficult}) {
        SavedChoices c;
        c.difficulty = d;
        c.screenSize = "320 x 240";
        EXPECT_EQ(ReadSavedChoices(SavedChoicesText(c)).choices, c);
    }

    // On disk: the folder is made, the file is whole and no temporary file stays beside it.
    test::TempDir dir;
    test::Warnings warnings;
    const std::string path = dir.path() + "config/zorbo/settings";
    std::string reason;
    ASSERT_TRUE(SaveChoices(path, Chosen(), reason)) << reason;
    EXPECT_EQ(LoadSavedChoices(path), Chosen());
    EXPECT_EQ(test::FolderNames(dir.path() + "config/zorbo"), std::vector<std::string>{"settings"});
    ASSERT_TRUE(SaveChoices(path, SavedChoices(), reason)) << reason;
    EXPECT_EQ(LoadSavedChoices(path), SavedChoices()) << "a later save replaces the file";
    EXPECT_TRUE(warnings.lines().empty());

    // A name the line format cannot hold is left out, not written broken.
    SavedChoices odd = Chosen();
    odd.levelSet = "two\nlines";
    const SavedChoicesRead read = ReadSavedChoices(SavedChoicesText(odd));
    EXPECT_TRUE(read.valid());
    EXPECT_EQ(read.choices.levelSet, "Standard");
    EXPECT_EQ(read.choices.level, 10);
}

TEST(SavedChoicesFile, WithoutAFileTheDesignedValuesShow)
{
    test::TempDir dir;
    test::Warnings warnings;
    EXPECT_EQ(LoadSavedChoices(dir.path() + "zorbo/settings"), SavedChoices());
    EXPECT_TRUE(warnings.lines().empty()) << "a missing file is no fault";

    const SavedChoices designed;
    EXPECT_EQ(designed.levelSet, "Standard");
    EXPECT_EQ(designed.level, 1);
    EXPECT_EQ(designed.screenSize, "Full Screen");
    EXPECT_EQ(designed.difficulty, DifficultyOption::Normal);
    EXPECT_TRUE(designed.soundOn);
    EXPECT_EQ(designed.motion, Motion::Smooth);

    // Keys left out keep their designed values; comments, empty lines and CR LF are fine.
    const SavedChoicesRead read = ReadSavedChoices("# mine\r\n\r\nlevel 4\r\nsound off");
    ASSERT_TRUE(read.valid()) << read.FirstProblem();
    SavedChoices expected;
    expected.level = 4;
    expected.soundOn = false;
    EXPECT_EQ(read.choices, expected);

    // A file written before motion was kept still reads whole, as smooth; one that keeps
    // classic gives it back whatever else it leaves out.
    const SavedChoicesRead older = ReadSavedChoices("level-set Standard\nlevel 2\nscreen-size 320 x 240\n"
                                                    "difficulty easy\nsound on\n");
    ASSERT_TRUE(older.valid()) << older.FirstProblem();
    EXPECT_EQ(older.choices.motion, Motion::Smooth);
    EXPECT_EQ(ReadSavedChoices("motion classic\n").choices.motion, Motion::Classic);
}

// The music key is written only once the player has chosen; without it the music follows
// the motion, so a file from before the key reads as it always did.
TEST(SavedChoicesFile, TheMusicIsKeptOnlyOnceChosen)
{
    SavedChoices c;
    EXPECT_EQ(c.music, MusicChoice::Automatic);
    EXPECT_EQ(SavedChoicesText(c).find("music"), std::string::npos);
    for (MusicChoice m : {MusicChoice::On, MusicChoice::Off}) {
        c.music = m;
        const SavedChoicesRead read = ReadSavedChoices(SavedChoicesText(c));
        ASSERT_TRUE(read.valid()) << read.FirstProblem();
        EXPECT_EQ(read.choices.music, m);
    }
    EXPECT_EQ(ReadSavedChoices("motion classic\nmusic on\n").choices.music, MusicChoice::On);
    EXPECT_EQ(ReadSavedChoices("music loud\n").FirstProblem(), "line 1: music cannot be \"loud\"");
    EXPECT_EQ(ReadSavedChoices("music off\nmusic on\n").FirstProblem(), "line 2: music is set twice");
}

TEST(SavedChoicesFile, ADamagedFileIsNamedOnceWithItsLineAndIgnored)
{
    struct Case {
        std::string bytes;
        const char* problem;
    };
    const Case cases[] = {
        {"level 4\ncolour blue\n", "line 2: unknown setting \"colour\""},
        {"level 11\n", "line 1: level cannot be \"11\""},
        {"level 04\n", "line 1: level cannot be \"04\""},
        {"level\n", "line 1: level cannot be \"\""},
        {"sound on\nsound off\n", "line 2: sound is set twice"},
        {"difficulty Crazy\n", "line 1: difficulty cannot be \"Crazy\""},
        {"screen-size 800 x 600\n", "line 1: screen-size cannot be \"800 x 600\""},
        {"level 2\nmotion fast\n", "line 2: motion cannot be \"fast\""},
        {"motion Classic\n", "line 1: motion cannot be \"Classic\""},
        {"motion classic\nmotion smooth\n", "line 2: motion is set twice"},
        {"level-set \n", "line 1: level-set cannot be \"\""},
        {"level-set a\tb\n", "line 1: level-set cannot be \"a?b\""},
        {"\n\n level 3\n", "line 3: unknown setting \"\""},
        {std::string("level 3\n\0\x01\xff", 11), "line 2: unknown setting \"?"},
        {std::string(5000, '#'), "larger than 4096 bytes"},
    };
    test::TempDir dir;
    const std::string path = dir.path() + "settings";
    for (const Case& c : cases) {
        const SavedChoicesRead read = ReadSavedChoices(c.bytes);
        EXPECT_FALSE(read.valid());
        EXPECT_NE(read.FirstProblem().find(c.problem), std::string::npos) << read.FirstProblem();

        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
        test::Warnings warnings;
        EXPECT_EQ(LoadSavedChoices(path), SavedChoices()) << "nothing of a damaged file is used";
        ASSERT_EQ(warnings.lines().size(), 1u);
        EXPECT_EQ(warnings.Count(path), 1) << warnings.lines()[0];
    }
    // Problems listed stop at a few, whatever the file holds.
    std::string many;
    for (int i = 0; i < 500; ++i)
        many += "x\n";
    EXPECT_EQ(ReadSavedChoices(many).problems.size(), SavedChoicesFormat::MaxListedProblems);

    // Unreadable: a folder where the file should be.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    test::Warnings warnings;
    EXPECT_EQ(LoadSavedChoices(path), SavedChoices());
    ASSERT_EQ(warnings.lines().size(), 1u);
    EXPECT_NE(warnings.lines()[0].find(path + " is a folder"), std::string::npos) << warnings.lines()[0];
    std::string reason;
    EXPECT_FALSE(SaveChoices(path, Chosen(), reason));
    EXPECT_FALSE(reason.empty());
}

TEST(SavedChoicesFile, TheFileLivesInTheUsersConfigFolder)
{
    ScopedEnv home("HOME", "/home/player");
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(SavedChoicesPath(), "/cfg/zorbo/settings");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(SavedChoicesPath(), "/home/player/.config/zorbo/settings");
    }
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(SavedChoicesPath(), "/home/player/.config/zorbo/settings");
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(SavedChoicesPath(), "") << "nowhere to keep them: nothing is remembered";
}

// The dialog shows what it is given, falls back to the designed name for a level set that
// is gone, and hands "New Game"'s choices back to be kept.
TEST(SavedChoicesDialog, TheDialogShowsTheChoicesAndNewGameKeepsThem)
{
    LevelSets data({"Standard", "My Hard Set"});
    std::vector<SavedChoices> kept;
    const auto keep = [&kept](const SavedChoices& c) { kept.push_back(c); };
    {
        LauncherDialog dialog(data.dir.path(), NoProblem, {}, {}, keep);
        dialog.LoadChoices();
        const LauncherChoices& shown = dialog.ReadChoices();
        EXPECT_EQ(shown.levelSetText, "Standard");
        EXPECT_EQ(shown.level, 1);
        EXPECT_EQ(shown.screenSizeText, "Full Screen");
        EXPECT_EQ(shown.difficulty, DifficultyOption::Normal);
        EXPECT_TRUE(shown.soundOn);
        EXPECT_EQ(dialog.LevelCaptionShown(), "Level (1/10):") << "the designed caption";
    }
    {
        LauncherDialog dialog(data.dir.path(), NoProblem, {}, Chosen(), keep);
        dialog.LoadChoices();
        const LauncherChoices& shown = dialog.ReadChoices();
        EXPECT_EQ(shown.levelSetText, "My Hard Set");
        EXPECT_EQ(shown.level, 10);
        EXPECT_EQ(shown.screenSizeText, "640 x 480");
        EXPECT_EQ(shown.difficulty, DifficultyOption::Crazy);
        EXPECT_FALSE(shown.soundOn);
        EXPECT_EQ(shown.motion, Motion::Classic);
        EXPECT_FALSE(dialog.LevelSetMenu()[1].value()) << "the smooth-motion toggle shows classic unchecked";
        EXPECT_EQ(dialog.LevelCaptionShown(), "Level: (10/10)") << "the caption says the level shown";
        dialog.Command1_Click();
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(kept[0], Chosen());
    }
    {
        SavedChoices gone = Chosen();
        gone.levelSet = "Deleted Set";
        LauncherDialog dialog(data.dir.path(), NoProblem, {}, gone, keep);
        dialog.LoadChoices();
        const LauncherChoices& shown = dialog.ReadChoices();
        EXPECT_EQ(shown.levelSetText, "Standard");
        EXPECT_EQ(shown.level, 10) << "the other choices stay";
        dialog.Command1_Click();
        ASSERT_EQ(kept.size(), 2u);
        EXPECT_EQ(kept[1].levelSet, "Standard");
    }
}

TEST(SavedChoicesDialog, AStartedGameIsRememberedAsItWasGiven)
{
    LauncherChoices c;
    c.levelSets = {{"Standard", "Standard.txt"}, {"Hard", "Hard.txt"}};
    c.levelSetText = "hARD";
    c.level = 3;
    c.screenSizeText = "1024 x 768";
    c.difficulty = DifficultyOption::Easy;
    c.soundOn = false;
    c.motion = Motion::Classic;
    const NewGameOutcome out = DecideNewGame(c, "/d/", NoProblem);
    ASSERT_EQ(out.kind, NewGameOutcome::Start);
    const SavedChoices kept = ChoicesToRemember(c, out.settings);
    EXPECT_EQ(kept.levelSet, "Hard") << "the listed name, not the typed text";
    EXPECT_EQ(kept.level, 3);
    EXPECT_EQ(kept.screenSize, "320 x 240") << "the size the game was given";
    EXPECT_EQ(kept.difficulty, DifficultyOption::Easy);
    EXPECT_FALSE(kept.soundOn);
    EXPECT_EQ(kept.motion, Motion::Classic);
}
