#include "TestData.h"

#include <gtest/gtest.h>

using namespace zorbo;

namespace {
std::vector<uint32_t> Intervals(const std::vector<uint32_t>& ticks)
{
    std::vector<uint32_t> d;
    for (size_t i = 1; i < ticks.size(); ++i)
        d.push_back(ticks[i] - ticks[i - 1]);
    return d;
}
} // namespace

TEST(GameLoop, FramesArePacedByTheDifficulty)
{
    // A frame runs once Elapsed passes NextTick, and the next is due FrameDelay after it
    // began: with a millisecond clock that is FrameDelay + 1 apart.
    for (auto [difficulty, delay] : {std::pair{18, 56}, {26, 38}, {32, 31}, {38, 26}}) {
        test::Game g(difficulty);
        g.platform.closeAfterFrames = 5;
        g->Game_Loop();
        EXPECT_EQ(g->FrameDelay, delay);
        ASSERT_EQ(g.platform.presentTicks.size(), 5u);
        EXPECT_EQ(g.platform.presentTicks[0], 1u) << "first frame once 1 ms has passed";
        EXPECT_EQ(Intervals(g.platform.presentTicks), std::vector<uint32_t>(4, delay + 1));
        EXPECT_EQ(g.platform.polls, 5) << "one keyboard poll per frame";
        EXPECT_FALSE(g->bRunning) << "the close control ends the game";
    }
}

TEST(GameLoop, ALateFrameIsNotMadeUpFor)
{
    test::Game g(26);
    g.platform.closeAfterFrames = 6;
    bool slowed = false;
    g.platform.onTick = [&](uint32_t& now) {
        if (g.platform.presents == 2 && !slowed) {
            now += 200;   // the second frame took 200 ms longer than planned
            slowed = true;
        }
    };
    g->Game_Loop();
    const auto d = Intervals(g.platform.presentTicks);
    ASSERT_EQ(d.size(), 5u);
    EXPECT_EQ(d[0], 39u);
    EXPECT_GT(d[1], 200u);
    // After the late frame the game goes on at its pace: no burst of catch-up frames.
    for (size_t i = 2; i < d.size(); ++i)
        EXPECT_EQ(d[i], 39u) << i;
}

TEST(GameLoop, EscapeEndsTheGameBeforeTheFrameUpdate)
{
    test::Game g(26);
    g.platform.QueueKeys({Key::Escape, Key::Space});
    g->Game_Loop();
    EXPECT_FALSE(g->bRunning);
    EXPECT_EQ(g.platform.presents, 0);
    EXPECT_FALSE(g.platform.windowOpen);
    EXPECT_TRUE(g.platform.cursorVisible);
    EXPECT_FALSE(g.platform.keyboardOpen);
    // Space came after escape in the same poll and was never handled.
    EXPECT_EQ(g->sprPlayer.State, Hero::GroundRight);
}

TEST(GameLoop, FullScreenHidesTheCursorAndWindowsKeepIt)
{
    for (auto [full, big, mode] : {std::tuple{true, false, ScreenMode::FullScreen},
                                   {false, true, ScreenMode::Window640},
                                   {false, false, ScreenMode::Window320}}) {
        test::GameData data;
        HeadlessPlatform platform;
        Settings s;
        s.DataPath = data.path();
        s.gFullScreen = full;
        s.gWindow640 = big;
        GameWindow game(platform, s);
        game.Startup();
        EXPECT_EQ(platform.windowMode, mode);
        EXPECT_EQ(platform.cursorVisible, !full);
        EXPECT_TRUE(platform.displayStarted);
        EXPECT_EQ(game.ddMain.BitsPerPixel(), full ? 32 : 0);
        game.Shutdown();
        EXPECT_TRUE(platform.cursorVisible);
    }
}
