#include "TestData.h"

#include <gtest/gtest.h>

using namespace zorbo;

namespace {
struct FrameFixture : testing::Test {
    // A floor under y 112, so a hero standing at y 100 stays where the test put him.
    FrameFixture()
    {
        for (int col = 0; col < 40; ++col)
            g->SetMapCode(7, col, 26);
        g->sprPlayer.X = 100;
        g->sprPlayer.Y = 96;
    }
    test::Game g;
    Sprite& hero() { return g->sprPlayer; }
    const Surface& lastPicture() { return g.platform.pictures.back(); }
};
} // namespace

TEST_F(FrameFixture, FrictionSlowsTheHeroOnlyWithoutKeys)
{
    hero().SpeedX = 3;
    std::vector<int> speeds;
    for (int i = 0; i < 4; ++i) {
        g.Frame();
        speeds.push_back(hero().SpeedX);
    }
    EXPECT_EQ(speeds, (std::vector<int>{2, 1, 0, 0}));
    hero().SpeedX = -1;
    g.Frame();
    EXPECT_EQ(hero().SpeedX, 0);
    // A run key handled in the poll suppresses friction for that frame.
    hero().SpeedX = 3;
    g.Frame({Key::Right});
    EXPECT_EQ(hero().SpeedX, 4);
    EXPECT_FALSE(g->bKeyDown) << "cleared at the end of every frame";
}

TEST_F(FrameFixture, HeroFramesFollowStateAndSpeed)
{
    hero().State = Hero::GroundRight;
    hero().SpeedX = 5;
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i) {
        g.Frame({Key::Right});
        frames.push_back(hero().CurrentFrame);
    }
    EXPECT_EQ(frames, (std::vector<int>{4, 5, 6, 4, 5}));

    hero().State = Hero::GroundLeft;
    frames.clear();
    for (int i = 0; i < 4; ++i) {
        g.Frame({Key::Left});
        frames.push_back(hero().CurrentFrame);
    }
    EXPECT_EQ(frames, (std::vector<int>{11, 12, 13, 11}));

    hero().SpeedX = 0;
    g.Frame();
    EXPECT_EQ(hero().CurrentFrame, 7);
    hero().Y = -400; // high above the map, where nothing stops a fall
    hero().State = Hero::AirLeft;
    g.Frame();
    EXPECT_EQ(hero().CurrentFrame, 9);
    hero().State = Hero::AirRight;
    g.Frame();
    EXPECT_EQ(hero().CurrentFrame, 2);
    hero().State = Hero::Hit;
    hero().CurrentFrame = 3;
    g.Frame();
    EXPECT_EQ(hero().CurrentFrame, 3);
}

TEST_F(FrameFixture, APoweredUpHeroIsDrawnWithFrame14Higher)
{
    g->HeroBig = true;
    hero().State = Hero::GroundLeft;
    hero().SpeedX = 0;
    hero().X = 100;
    hero().Y = 100;
    g.Frame();
    EXPECT_EQ(hero().CurrentFrame, 7) << "the stored frame stays the small hero's";
    EXPECT_EQ(lastPicture().Pixel(108, 108), test::FrameColour(1, 21));
    g->HeroBig = false;
    g.Frame();
    EXPECT_EQ(lastPicture().Pixel(108, 108), test::FrameColour(1, 7));
}

TEST_F(FrameFixture, TheHurtBlinkShowsTheHeroOnOddCounts)
{
    hero().X = 100;
    hero().Y = 100;
    // The count advances before the hero is drawn: a frame that starts at 1 draws at 2.
    for (int start : {1, 2, 3, 4}) {
        g->ddsBack.BltColorFill(0);
        g->HurtTimer = start;
        g.Frame();
        ASSERT_EQ(g->HurtTimer, start + 1);
        const bool drawn = lastPicture().Pixel(108, 108) == test::FrameColour(1, 0);
        EXPECT_EQ(drawn, (start + 1) % 2 == 1) << start;
    }
}

TEST_F(FrameFixture, HeadsUpTextAndBordersAreDrawnLast)
{
    g->ddsBack.BltColorFill(0);
    hero().X = 0;   // under the left border
    hero().Y = 100;
    g.Frame();
    const Surface& pic = lastPicture();
    for (int y = 0; y < 240; ++y) {
        for (int x : {0, 15, 304, 319})
            ASSERT_EQ(pic.Pixel(x, y), test::BorderColour) << x << "," << y;
    }
    auto hudInk = [](const Surface& s) {
        std::vector<std::pair<int, int>> ink;
        for (int y = 0; y < 20; ++y)
            for (int x = 16; x < 304; ++x)
                if (s.Pixel(x, y) == PixelFromColor(RGB(200, 200, 200)))
                    ink.emplace_back(x, y);
        return ink;
    };
    const auto five = hudInk(pic);
    ASSERT_FALSE(five.empty());
    EXPECT_GE(five.front().first, 20);
    EXPECT_GE(five.front().second, 2);
    // The text changes with the numbers: "05" and "000" become "04" and "098" (below the
    // hundred that would turn into a life).
    g->ddsBack.BltColorFill(0);
    g->Lives = 4;
    g->Coins = 98;
    g.Frame();
    EXPECT_NE(hudInk(lastPicture()), five);
}

TEST_F(FrameFixture, FireDelayCountsDownOncePerFrame)
{
    g->FireDelay = 2;
    g.Frame();
    EXPECT_EQ(g->FireDelay, 1);
    g.Frame();
    g.Frame();
    EXPECT_EQ(g->FireDelay, 0);
}
