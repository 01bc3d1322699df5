#include "HeroWorld.h"

#include <gtest/gtest.h>

using namespace zorbo;
using test::PlaceHero;

namespace {
int InFlight(GameWindow& g)
{
    int n = 0;
    for (const Sprite& f : g.sprHeroFire)
        n += f.State != 4 ? 1 : 0;
    return n;
}

struct Limit : testing::TestWithParam<std::pair<int32_t, int>> {};

struct Fireballs : testing::Test {
    test::Game g;
    Sprite& ball(size_t i = 0) { return g->sprHeroFire[i]; }
    void Throw(int32_t worldX, int32_t y, int32_t state)
    {
        PlaceHero(*g, worldX, y, state);
        g->InitFireBall();
    }
};
} // namespace

TEST_P(Limit, TheDifficultyLimitsTheBallsInFlight)
{
    const auto [difficulty, limit] = GetParam();
    test::Game g(difficulty);
    test::Floor(*g, 10);
    PlaceHero(*g, 40, 144, Hero::GroundRight);
    g->HeroBig = true;
    // The up arrow throws every fifth frame while held.
    for (int i = 0; i < 12; ++i)
        g.Frame({Key::Up});
    EXPECT_EQ(InFlight(*g), limit);
    EXPECT_EQ(test::CountSounds(g.platform, 13), limit);
    // When one is gone, the next press throws again.
    if (limit > 0) {
        g->sprHeroFire[0].State = 4;
        g->FireDelay = 0;
        g.Frame({Key::Up});
        EXPECT_EQ(InFlight(*g), limit);
        EXPECT_EQ(test::CountSounds(g.platform, 13), limit + 1);
    }
}
INSTANTIATE_TEST_SUITE_P(Difficulties, Limit,
                         testing::Values(std::pair{Difficulty::Easy, 3}, std::pair{Difficulty::Normal, 2},
                                         std::pair{Difficulty::Difficult, 1}, std::pair{Difficulty::Crazy, 0}));

TEST_F(Fireballs, AWallInFrontStopsTheThrow)
{
    g->SetMapCode(6, 10, 26);
    // Facing right: the next column solid, nothing; the one after solid, only within 3
    // pixels of the column start.
    Throw(128, 96, Hero::GroundRight); // column 9, next column 10 solid
    EXPECT_EQ(InFlight(*g), 0);
    Throw(115, 96, Hero::GroundRight); // column 8, column 10 two ahead, HeroXMod 3
    EXPECT_EQ(InFlight(*g), 1);
    EXPECT_EQ(ball().State, 1);
    EXPECT_EQ(ball().SpeedX, 10);
    EXPECT_EQ(ball().SpeedY, 3);
    EXPECT_EQ(ball().X, 123);
    EXPECT_EQ(ball().Y, 100);
    ball().State = 4;
    Throw(116, 96, Hero::AirRight); // HeroXMod 4
    EXPECT_EQ(InFlight(*g), 0);
    // Facing left: the column left of his own solid and less than 3 pixels into his own.
    Throw(178, 96, Hero::GroundLeft); // column 12, HeroXMod 2, column 11 free
    EXPECT_EQ(InFlight(*g), 1);
    EXPECT_EQ(ball().State, 0);
    EXPECT_EQ(ball().SpeedX, -10);
    ball().State = 4;
    Throw(162, 96, Hero::AirLeft); // column 11, HeroXMod 2, column 10 solid
    EXPECT_EQ(InFlight(*g), 0);
    Throw(163, 96, Hero::AirLeft); // HeroXMod 3
    EXPECT_EQ(InFlight(*g), 1);
    ball().State = 4;
    // Above the top of the screen, or in any other state, nothing.
    Throw(40, -1, Hero::GroundRight);
    Throw(40, 96, Hero::Hit);
    EXPECT_EQ(InFlight(*g), 0);
}

TEST_F(Fireballs, ABallHopsTenPixelsAlongTheFloor)
{
    test::Floor(*g, 7);
    Throw(40, 96, Hero::GroundRight);
    ASSERT_EQ(ball().Y, 100);
    std::vector<int> ys;
    for (int i = 0; i < 10; ++i) {
        g->ZorboFireBall();
        ys.push_back(ball().Y);
    }
    EXPECT_EQ(ys, (std::vector<int>{104, 100, 97, 95, 94, 94, 95, 97, 100, 104}));
    EXPECT_EQ(ball().SpeedY, -4) << "bounced again";
    EXPECT_EQ(ball().X, 148);
}

TEST_F(Fireballs, ABallDiesOnAWallOnceMoreThan4PixelsIntoItsColumn)
{
    g->SetMapCode(2, 10, 26);
    for (int xm : {3, 4, 5}) {
        ball().State = 1;
        ball().SpeedX = 10;
        ball().SpeedY = 0;
        ball().X = 128 + xm - 10; // column 9 after the move
        ball().Y = 40;
        ball().GlobalX = g->ViewX;
        g->ZorboFireBall();
        EXPECT_EQ(ball().State, xm > 4 ? 4 : 1) << xm;
    }
    // Flying left it dies as soon as its own column is solid.
    ball().State = 0;
    ball().SpeedX = -10;
    ball().X = 158;
    ball().Y = 40;
    g->ZorboFireBall();
    EXPECT_EQ(ball().State, 4);
}

TEST_F(Fireballs, OneBallKnocksOutEverythingItTouchesAndIsDrawnOnceMore)
{
    auto enemy = [](Sprite& e, int32_t state, int32_t x, int32_t y) {
        e.State = state;
        e.X = x;
        e.Y = y;
        e.SpeedX = 2;
        e.GlobalX = 0;
    };
    enemy(g->sprWumpels[3], 0, 100, 60);
    enemy(g->sprGreenies[0], 1, 104, 56);
    enemy(g->sprBrowns[0], 1, 96, 60);
    enemy(g->sprTurtles[0], 0, 100, 50);
    enemy(g->sprPPlants[0], 1, 100, 60); // hidden in its pipe: not hit
    enemy(g->sprBlacks[0], 5, 100, 60);  // already knocked out: not hit again
    enemy(g->sprWumpels[4], 0, 120, 60); // too far right
    ball().State = 1;
    ball().X = 98;
    ball().Y = 62;
    ball().SpeedX = 0;
    ball().SpeedY = -1;
    ball().GlobalX = 0;
    g->ddsBack.BltColorFill(0);
    g->ZorboFireBall();
    EXPECT_EQ(ball().State, 4);
    EXPECT_EQ(g->sprWumpels[3].State, 5);
    EXPECT_EQ(g->sprWumpels[3].CurrentFrame, 2);
    EXPECT_EQ(g->sprWumpels[3].SpeedX, 0);
    EXPECT_EQ(g->sprGreenies[0].State, 5);
    EXPECT_EQ(g->sprGreenies[0].CurrentFrame, 5);
    EXPECT_EQ(g->sprBrowns[0].CurrentFrame, 11) << "was facing right";
    EXPECT_EQ(g->sprTurtles[0].State, 5);
    EXPECT_EQ(g->sprTurtles[0].CurrentFrame, 5) << "was moving right";
    EXPECT_EQ(g->sprPPlants[0].State, 1);
    EXPECT_EQ(g->sprWumpels[4].State, 0);
    EXPECT_EQ(test::CountSounds(g.platform, 14), 4);
    EXPECT_EQ(g->ddsBack.Pixel(101, 64), test::FrameColour(19, 0)) << "drawn one last time";
    g->ddsBack.BltColorFill(0);
    g->ZorboFireBall();
    EXPECT_EQ(g->ddsBack.Pixel(101, 64), 0u) << "free from the next frame on";
}

TEST_F(Fireballs, AWingedTurtleFallsAsAPTurtleInTheFirstFreeSlot)
{
    g->sprPTurtles[0].State = 0;
    Sprite& f = g->sprFTurtles[2];
    f.State = 1;
    f.X = 100;
    f.Y = 50;
    g->FTurtleAlt[2] = true;
    ball().State = 0;
    ball().X = 108;
    ball().Y = 60;
    ball().SpeedX = -8;
    ball().SpeedY = 0;
    g->ViewX = 0;
    g->ZorboFireBall();
    EXPECT_EQ(f.State, 4);
    EXPECT_EQ(f.CurrentFrame, 1);
    const Sprite& p = g->sprPTurtles[1];
    EXPECT_EQ(p.State, 6);
    EXPECT_EQ(p.SpeedY, -5);
    EXPECT_EQ(p.X, 100);
    EXPECT_EQ(p.Y, 50);
    EXPECT_TRUE(g->PTurtleAlt[1]);
    EXPECT_EQ(g->sprPTurtles[0].State, 0);
    EXPECT_EQ(test::CountSounds(g.platform, 4), 1) << "the PTurtle it became is not hit again";
}
