#include "TestData.h"
#include "app/CommandLine.h"

#include <filesystem>

#include <gtest/gtest.h>

using namespace zorbo;

TEST(CommandLine, SettingsAreReadFromOptions)
{
    const auto cl = ParseCommandLine({"--level-set", "Hard", "--level", "7", "--difficulty", "crazy",
                                      "--screen", "full", "--no-sound", "--data", "/opt/z"});
    ASSERT_EQ(cl.error, "");
    EXPECT_TRUE(cl.anySetting);
    EXPECT_EQ(cl.settings.gLevelSet, "Hard.txt");
    EXPECT_EQ(cl.settings.gLevel, 6);
    EXPECT_EQ(cl.settings.gDifficulty, 38);
    EXPECT_TRUE(cl.settings.gFullScreen);
    EXPECT_FALSE(cl.settings.gSoundOn);
    EXPECT_EQ(cl.dataDir, "/opt/z");
    EXPECT_EQ(cl.quitAfterFrames, -1);

    const auto measured = ParseCommandLine({"--quit-after-frames", "250", "--screenshot", "s.bmp"});
    EXPECT_EQ(measured.quitAfterFrames, 250);
    EXPECT_EQ(measured.screenshot, "s.bmp");
    EXPECT_FALSE(measured.anySetting) << "measurement options are not game settings";

    const auto none = ParseCommandLine({});
    EXPECT_FALSE(none.anySetting);
    EXPECT_EQ(none.settings.gLevelSet, "Standard.txt");
    EXPECT_EQ(none.settings.gDifficulty, 26);
    const auto small = ParseCommandLine({"--screen", "320x240"});
    EXPECT_FALSE(small.settings.gFullScreen);
    EXPECT_FALSE(small.settings.gWindow640);

    // The editor's test play: a start column, never recorded.
    EXPECT_EQ(ParseCommandLine({"--level", "3", "--start-column", "1000"}).settings.StartColumn, 1000);
    EXPECT_EQ(none.settings.StartColumn, 0);
    EXPECT_NE(ParseCommandLine({"--start-column", "7", "--record", "r.rec"}).error, "");
}

TEST(CommandLine, BadOptionsAndValuesGiveOneLineErrors)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--level", "0"}, {"--level", "11"}, {"--level", "x"}, {"--level"},
             {"--difficulty", "hard"}, {"--screen", "800x600"}, {"--bogus"},
             {"--level-set", "../etc/passwd"}, {"--data", ""}, {"--quit-after-frames", "-3"},
             {"--screenshot"}, {"--start-column", "0"}, {"--start-column", "1001"}, {"--start-column", "-5"}}) {
        const auto cl = ParseCommandLine(args);
        EXPECT_FALSE(cl.error.empty()) << args[0];
        EXPECT_EQ(cl.error.find('\n'), std::string::npos);
    }
}

TEST(CommandLine, AnOptionGivenTwiceIsRefusedNotOverwritten)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--level", "3", "--level", "4"}, {"--play", "a", "--play", "b"},
             {"--no-sound", "--level", "2", "--no-sound"}, {"-h", "--help"}, {"--level-set", "A", "--level-set", "A"}}) {
        const auto cl = ParseCommandLine(args);
        EXPECT_NE(cl.error.find("is given twice"), std::string::npos) << args[0] << ": " << cl.error;
    }
    // A value that looks like an option is still a value.
    EXPECT_EQ(ParseCommandLine({"--screenshot", "--level", "--level", "2"}).error, "");
}

TEST(CommandLine, DataFolderPrefersTheOptionThenTheProgramFolder)
{
    EXPECT_EQ(FindDataPath("/some/where", "/usr/bin"), "/some/where/");
    EXPECT_EQ(FindDataPath("", "/nonexistent-zorbo-dir"), std::string(ZORBO_INSTALL_DATA_DIR) + "/");
    // An installed game under any prefix: PREFIX/bin/zorbo reads PREFIX/share/zorbo/Data.
    test::TempDir prefix;
    std::filesystem::create_directories(prefix.path() + "bin");
    std::filesystem::create_directories(prefix.path() + "share/zorbo/Data");
    EXPECT_EQ(FindDataPath("", prefix.path() + "bin"), prefix.path() + "share/zorbo/Data/");
}

TEST(CommandLine, AReplayTakesWindowOptionsButNotGameSettings)
{
    const auto watched = ParseCommandLine({"--play", "g.rec", "--screen", "320x240", "--no-sound", "--quit-after-frames", "9"});
    ASSERT_EQ(watched.error, "");
    EXPECT_FALSE(watched.settings.gWindow640);
    EXPECT_FALSE(watched.settings.gSoundOn);
    EXPECT_EQ(watched.quitAfterFrames, 9);

    EXPECT_EQ(ParseCommandLine({"--play", "g.rec", "--level", "3"}).error,
              "--play takes its level set, level and difficulty from the recording");
    EXPECT_EQ(ParseCommandLine({"--play", "g.rec", "--headless", "--no-sound"}).error,
              "--headless plays back without a window: --screen, --no-sound and --screenshot do not apply");
    EXPECT_EQ(ParseCommandLine({"--play", "g.rec", "--headless", "--quit-after-frames", "5"}).error, "");
}
