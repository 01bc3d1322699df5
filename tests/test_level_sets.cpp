// Where level sets are found: the data folder's first, then the player's own folder, and
// the XDG folders the player's files go in.
#include "TestData.h"
#include "app/CommandLine.h"
#include "game/Progress.h"
#include "level/LevelSets.h"
#include "media/UserFolders.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace zorbo;
using test::ScopedEnv;

namespace {

void Touch(const std::string& file)
{
    std::ofstream(file) << "*\n";
}

// A data folder and a player's folder, the player's not yet made.
struct Places : testing::Test {
    test::TempDir dir;
    std::string data = dir.path() + "Data/";
    std::string player = dir.path() + "share/zorbo/levels/";
    void SetUp() override
    {
        std::filesystem::create_directories(data);
        std::filesystem::create_directories(player);
        for (const char* file : {"Standard.txt", "Both.txt"})
            Touch(data + file);
        for (const char* file : {"Both.txt", "Mine.txt"})
            Touch(player + file);
    }
};

} // namespace

TEST(UserFolders, EachIsItsVariablesFolderElseUnderHomeAndIsMadePrivate)
{
    ScopedEnv home("HOME", "/home/maker");
    {
        ScopedEnv data("XDG_DATA_HOME", "/d");
        EXPECT_EQ(ZorboDataFolder(), "/d/zorbo");
        EXPECT_EQ(PlayerLevelsFolder(), "/d/zorbo/levels/");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "relative/d"); // not absolute: as if unset
        EXPECT_EQ(PlayerLevelsFolder(), "/home/maker/.local/share/zorbo/levels/");
        EXPECT_EQ(ZorboConfigFolder(), std::string(std::getenv("XDG_CONFIG_HOME")) + "/zorbo");
    }
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    ScopedEnv relativeHome("HOME", "maker");
    EXPECT_EQ(PlayerLevelsFolder(), "") << "nowhere to keep the player's sets";

    test::TempDir dir;
    std::string reason;
    ASSERT_TRUE(MakePrivateFolders(dir.path() + "a/b/levels/", reason)) << reason;
    for (const char* made : {"a", "a/b", "a/b/levels"}) {
        struct stat st {};
        ASSERT_EQ(::stat((dir.path() + made).c_str(), &st), 0) << made;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << made;
    }
    EXPECT_TRUE(MakePrivateFolders(dir.path() + "a/b/levels", reason)) << "a folder that is there already is fine";
    Touch(dir.path() + "file");
    EXPECT_FALSE(MakePrivateFolders(dir.path() + "file/levels", reason));
    EXPECT_NE(reason.find(dir.path() + "file/levels"), std::string::npos) << reason;
    EXPECT_FALSE(MakePrivateFolders(dir.path() + "file", reason));
    EXPECT_EQ(reason, dir.path() + "file is not a folder");
}

TEST_F(Places, ANameIsTheDataFoldersSetFirstThenThePlayersOwn)
{
    const auto found = [&](const std::string& name) { return FindLevelSet(name, data, player); };
    ASSERT_TRUE(found("Standard"));
    EXPECT_EQ(found("Standard")->Path(), data + "Standard.txt");
    EXPECT_EQ(found("Both")->place, SetPlace::Data) << "the data folder's set comes first";
    ASSERT_TRUE(found("Mine"));
    EXPECT_EQ(found("Mine")->place, SetPlace::Player);
    EXPECT_EQ(found("Mine")->Path(), player + "Mine.txt");
    EXPECT_FALSE(found("Nope"));
    EXPECT_FALSE(found(""));
    EXPECT_FALSE(FindLevelSet("Mine", data, "")) << "without a player's folder only the data folder counts";

    // Whatever stands in the data folder under the name is the data folder's set (the check
    // says what is wrong with it), a link that leads nowhere included.
    std::filesystem::create_symlink(dir.path() + "nowhere.txt", data + "Gone.txt");
    Touch(player + "Gone.txt");
    EXPECT_EQ(found("Gone")->place, SetPlace::Data);

    // A name holding '/' is a file's path, whatever folder it lies in.
    EXPECT_EQ(found(player + "Both.txt")->place, SetPlace::Player);
    EXPECT_EQ(found(player + "Both.txt")->file, "Both.txt");
    EXPECT_EQ(found(data + "Both.txt")->place, SetPlace::Data);
    EXPECT_EQ(found(dir.path() + "elsewhere/Set")->place, SetPlace::Elsewhere);
    EXPECT_EQ(found(dir.path() + "elsewhere/Set")->Path(), dir.path() + "elsewhere/Set");
    EXPECT_EQ(found("/Top.txt")->Path(), "/Top.txt");

    // A folder is known by what it is on disk, not by how it is spelt.
    std::filesystem::create_symlink(player, dir.path() + "mine");
    EXPECT_EQ(PlaceOf(dir.path() + "mine", data, player), SetPlace::Player);
    EXPECT_EQ(PlaceOf(dir.path() + "share/../Data", data, player), SetPlace::Data);
    EXPECT_EQ(RecordedSetFiles("Both.txt", data, dir.path() + "Data").size(), 1u)
        << "the data folder given as the player's is looked in once";
}

TEST_F(Places, TheGamePlaysTheFileItsNameStandsForAndKeepsItsProgressApart)
{
    Settings s;
    s.DataPath = data;
    std::string error;
    ASSERT_TRUE(ChooseLevelSet(ParseCommandLine({"--level-set", "Mine"}), player, s, error)) << error;
    EXPECT_EQ(s.gLevelSet, "Mine.txt") << "a recording names the file";
    EXPECT_EQ(s.LevelSetPath(), player + "Mine.txt");
    EXPECT_EQ(ProgressKey(s.gLevelSet, PlaceOf(s.LevelSetFolder, data, player)), "user:Mine.txt");

    s = Settings{};
    s.DataPath = data;
    ASSERT_TRUE(ChooseLevelSet(ParseCommandLine({"--level", "2"}), player, s, error)) << error;
    EXPECT_EQ(s.LevelSetPath(), data + "Standard.txt");
    EXPECT_EQ(s.LevelSetFolder, "") << "the data folder's set";
    EXPECT_EQ(ProgressKey(s.gLevelSet, SetPlace::Data), "Standard.txt");
    EXPECT_EQ(ProgressKey(s.gLevelSet, SetPlace::Elsewhere), "") << "a file elsewhere keeps no progress";

    EXPECT_FALSE(ChooseLevelSet(ParseCommandLine({"--level-set", "Nope"}), player, s, error));
    EXPECT_EQ(error, "there is no level set \"Nope\": Nope.txt is neither in the data folder " + data + " nor in " +
                         player);

    // A path to a file names that file, so a player's set that shares a shipped set's name
    // can still be played.
    ASSERT_TRUE(ChooseLevelSet(ParseCommandLine({"--level-set", player + "Both.txt"}), player, s, error));
    EXPECT_EQ(s.LevelSetPath(), player + "Both.txt");
}

TEST(ProgressKeeperOfASetElsewhere, KeepsNothing)
{
    test::TempDir dir;
    ProgressKeeper keeper(dir.path() + "progress", ProgressKey("Set.txt", SetPlace::Elsewhere), true);
    keeper.Reached(3);
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "progress"));
    ProgressKeeper own(dir.path() + "progress", ProgressKey("Set.txt", SetPlace::Player), true);
    own.Reached(3);
    EXPECT_EQ(LoadProgress(dir.path() + "progress"), (Progress{{"user:Set.txt", 3}}));
}
