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

}

// The editor's test play: a start column and a looping level, both game settings (no
// launcher) and neither ever recorded, since a recording replays exactly the game it made.
TEST(CommandLine, TryingALevelOutStartsAtAColumnLoopsAndIsNeverRecorded)
{
    const auto none = ParseCommandLine({});
    EXPECT_EQ(none.settings.StartColumn, 0);
    EXPECT_FALSE(none.settings.LoopLevel);

    const auto tried = ParseCommandLine({"--level", "3", "--start-column", "1000", "--loop-level"});
    ASSERT_EQ(tried.error, "");
    EXPECT_EQ(tried.settings.StartColumn, 1000);
    EXPECT_TRUE(tried.settings.LoopLevel);
    const auto looped = ParseCommandLine({"--loop-level"});
    ASSERT_EQ(looped.error, "");
    EXPECT_TRUE(looped.anySetting) << "the launcher is skipped";
    EXPECT_EQ(looped.settings.StartColumn, 0) << "a loop from the level's own start";

    const std::string usage = UsageText();
    EXPECT_NE(usage.find("\n  --loop-level        play the start level over and over"), std::string::npos) << usage;

    for (const char* file : {"--record", "--play"}) {
        EXPECT_EQ(ParseCommandLine({"--loop-level", file, "g.rec"}).error,
                  "--loop-level is for trying a level out: it is not recorded or played back")
            << file;
        EXPECT_EQ(ParseCommandLine({file, "g.rec", "--start-column", "7", "--loop-level"}).error,
                  "--start-column is for trying a level out: it is not recorded or played back")
            << file;
    }
    EXPECT_NE(ParseCommandLine({"--loop-level", "--loop-level"}).error.find("is given twice"), std::string::npos);
}

TEST(CommandLine, BadOptionsAndValuesGiveOneLineErrors)
{
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--level", "0"}, {"--level", "11"}, {"--level", "x"}, {"--level"},
             {"--difficulty", "hard"}, {"--screen", "800x600"}, {"--bogus"},
             {"--level-set", ""}, {"--level-set", "levels/"}, {"--data", ""}, {"--quit-after-frames", "-3"},
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
    // An installed game under any prefix (moved there, or unpacked by dpkg --instdir) reads
    // the data folder where the install put it beside the program's folder.
    test::TempDir prefix;
    const std::filesystem::path programDir = prefix.path() + "a/b/c";
    const std::filesystem::path dataDir = (programDir / ZORBO_DATA_FROM_PROGRAM).lexically_normal();
    std::filesystem::create_directories(programDir);
    std::filesystem::create_directories(dataDir);
    ASSERT_EQ(dataDir.string().rfind(prefix.path(), 0), 0u) << "the data folder lies outside the prefix";
    EXPECT_EQ(FindDataPath("", programDir.string()), dataDir.string() + "/");
    EXPECT_EQ(FindDataPath("", prefix.path() + "elsewhere"), std::string(ZORBO_INSTALL_DATA_DIR) + "/");
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
    for (const char* windowOption : {"--no-sound", "--motion", "--frame-log"}) {
        std::vector<std::string> args{"--play", "g.rec", "--headless", windowOption};
        if (std::string(windowOption) != "--no-sound")
            args.push_back(std::string(windowOption) == "--motion" ? "classic" : "log.txt");
        EXPECT_EQ(ParseCommandLine(args).error, "--headless plays back without a window: --screen, --no-sound, "
                                                "--motion, --music, --screenshot and --frame-log do not apply")
            << windowOption;
    }
    EXPECT_EQ(ParseCommandLine({"--play", "g.rec", "--headless", "--quit-after-frames", "5"}).error, "");
}

// Smooth is the default; classic is asked for by name, and no other word is taken. The
// choice is presentation only: a recorded or replayed game takes it like --screen.
TEST(CommandLine, MotionIsSmoothOrClassicAndTheFrameLogNeedsAFile)
{
    EXPECT_EQ(ParseCommandLine({}).settings.motion, Motion::Smooth);
    const auto classic = ParseCommandLine({"--motion", "classic"});
    ASSERT_EQ(classic.error, "");
    EXPECT_EQ(classic.settings.motion, Motion::Classic);
    EXPECT_TRUE(classic.anySetting) << "a game started with its settings skips the launcher";
    EXPECT_EQ(ParseCommandLine({"--motion", "smooth"}).settings.motion, Motion::Smooth);
    for (const char* bad : {"Smooth", "fast", ""})
        EXPECT_EQ(ParseCommandLine({"--motion", bad}).error,
                  std::string("--motion takes smooth or classic, not \"") + bad + "\"");
    EXPECT_EQ(ParseCommandLine({"--motion"}).error, "option --motion needs a value");
    EXPECT_EQ(ParseCommandLine({"--play", "g.rec", "--motion", "classic"}).error, "");
    EXPECT_EQ(ParseCommandLine({"--record", "g.rec", "--motion", "classic"}).error, "");

    const auto logged = ParseCommandLine({"--frame-log", "f.txt"});
    EXPECT_EQ(logged.frameLog, "f.txt");
    EXPECT_FALSE(logged.anySetting) << "the launcher still shows";
    EXPECT_EQ(ParseCommandLine({"--frame-log", ""}).error, "--frame-log needs a file name");
    EXPECT_NE(UsageText().find("--motion M"), std::string::npos);
    EXPECT_NE(UsageText().find("--frame-log FILE"), std::string::npos);
}

// Music follows the motion unless the player says: on in smooth, off in classic, and
// --music on or off wins over either. A window option, like the motion.
TEST(CommandLine, MusicIsOnOrOffAndWithoutAWordFollowsTheMotion)
{
    const auto plain = ParseCommandLine({});
    EXPECT_EQ(plain.settings.music, MusicChoice::Automatic);
    EXPECT_TRUE(MusicHeard(plain.settings.music, plain.settings.motion));
    const auto classic = ParseCommandLine({"--motion", "classic"});
    EXPECT_FALSE(MusicHeard(classic.settings.music, classic.settings.motion)) << "classic shows the game as it was";
    const auto asked = ParseCommandLine({"--motion", "classic", "--music", "on"});
    ASSERT_EQ(asked.error, "");
    EXPECT_TRUE(MusicHeard(asked.settings.music, asked.settings.motion));
    const auto off = ParseCommandLine({"--music", "off"});
    ASSERT_EQ(off.error, "");
    EXPECT_TRUE(off.anySetting);
    EXPECT_FALSE(MusicHeard(off.settings.music, off.settings.motion));
    for (const char* bad : {"yes", "On", ""})
        EXPECT_EQ(ParseCommandLine({"--music", bad}).error, std::string("--music takes on or off, not \"") + bad + "\"");
    EXPECT_NE(ParseCommandLine({"--play", "g.rec", "--headless", "--music", "on"}).error, "");
    EXPECT_EQ(ParseCommandLine({"--play", "g.rec", "--music", "off"}).error, "");
    EXPECT_NE(UsageText().find("--music on|off"), std::string::npos);
    EXPECT_NE(UsageText().find("M turns\nthe music on or off"), std::string::npos);
}
