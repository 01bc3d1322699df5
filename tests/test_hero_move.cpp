#include "HeroWorld.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zorbo;
using test::Floor;
using test::HeroWorldX;
using test::Paint;
using test::PlaceHero;

namespace {
struct HeroMove : testing::Test {
    test::Game g;
    Sprite& hero() { return g->sprPlayer; }
    // One collision step on its own: no keys, no friction.
    void Step(int32_t worldX, int32_t y, int32_t state, int32_t speedX, int32_t speedY)
    {
        PlaceHero(*g, worldX, y, state);
        hero().SpeedX = speedX;
        hero().SpeedY = speedY;
        g->CollisionDetection();
    }
};
} // namespace

TEST_F(HeroMove, RunningRightScrollsTheViewAtX160)
{
    Floor(*g, 10);
    PlaceHero(*g, 150, 144, Hero::GroundRight);
    hero().SpeedX = 6; // the held key makes it 7
    g.Frame({Key::Right});
    EXPECT_EQ(hero().X, 157);
    EXPECT_EQ(g->ViewX, 0);
    g.Frame({Key::Right});
    EXPECT_EQ(hero().X, 160);
    EXPECT_EQ(g->ViewX, 4);
    g.Frame({Key::Right});
    EXPECT_EQ(hero().X, 160);
    EXPECT_EQ(g->ViewX, 11);
    EXPECT_EQ(hero().State, Hero::GroundRight);
    EXPECT_EQ(hero().Y, 144);
}

TEST_F(HeroMove, RunningLeftGivesTheScrollBackToTheScreen)
{
    Floor(*g, 10);
    g->ViewX = 3;
    hero().X = 160;
    hero().Y = 144;
    hero().State = Hero::GroundLeft;
    hero().SpeedX = -4; // the held key makes it -5
    g.Frame({Key::Left});
    EXPECT_EQ(g->ViewX, 0);
    EXPECT_EQ(hero().X, 158);
    // At the level start the hero stops at screen x 16.
    hero().X = 20;
    g.Frame({Key::Left});
    EXPECT_EQ(hero().X, 16);

    // In the air the same move holds, and a hero in the air scrolls right at x 160 too.
    Step(300, 40, Hero::AirLeft, -7, 0);
    EXPECT_EQ(HeroWorldX(*g), 293);
    EXPECT_EQ(hero().X, 160);
    Step(158, 40, Hero::AirRight, 7, 0);
    EXPECT_EQ(g->ViewX, 5);
    EXPECT_EQ(hero().X, 160);
    g->ViewX = 2;
    hero().X = 160;
    hero().SpeedX = -6;
    g->CollisionDetection();
    EXPECT_EQ(g->ViewX, 0);
    EXPECT_EQ(hero().X, 156);
}

TEST_F(HeroMove, ATapJumps36PixelsAndAHeldSpaceBoostsTo70)
{
    Floor(*g, 10);
    auto jump = [&](bool hold) {
        PlaceHero(*g, 64, 144, Hero::GroundRight);
        hero().SpeedX = 0;
        hero().SpeedY = 0;
        int top = hero().Y;
        g.Frame({Key::Space});
        top = std::min(top, hero().Y);
        for (int i = 0; i < 40 && hero().State == Hero::AirRight; ++i) {
            if (hold)
                g.Frame({Key::Space});
            else
                g.Frame();
            top = std::min(top, hero().Y);
        }
        return top;
    };
    EXPECT_EQ(jump(false), 144 - 36);
    EXPECT_EQ(hero().Y, 144) << "lands back on the floor";
    EXPECT_EQ(hero().State, Hero::GroundRight);
    EXPECT_EQ(jump(true), 144 - 70);
}

TEST_F(HeroMove, LandingSnapsToTheRowAndKeepsOrTakesTheFacing)
{
    Floor(*g, 6);
    Step(100, 75, Hero::AirRight, 0, 8);
    EXPECT_EQ(hero().Y, 80);
    EXPECT_EQ(hero().State, Hero::GroundRight);
    EXPECT_EQ(hero().SpeedY, 0);
    Step(100, 75, Hero::AirLeft, 0, 8);
    EXPECT_EQ(hero().State, Hero::GroundLeft);
    Step(100, 75, Hero::AirLeft, 3, 8);
    EXPECT_EQ(hero().State, Hero::GroundRight);
    Step(100, 75, Hero::AirRight, -3, 8);
    EXPECT_EQ(hero().State, Hero::GroundLeft);
    // Straddling two columns, either cell below holds a hero falling straight down.
    g->SetMapCode(6, 7, 0);
    Step(100, 75, Hero::AirRight, 0, 8); // covers columns 7 and 8
    EXPECT_EQ(hero().State, Hero::GroundRight);
    Step(96, 75, Hero::AirRight, 0, 8); // exactly column 7, over the gap
    EXPECT_EQ(hero().State, Hero::AirRight);
    EXPECT_EQ(hero().Y, 83);
}

TEST_F(HeroMove, AHeadHitDropsTheHeroWithTheSpeedHeHadGoingUp)
{
    Paint(*g, {"..........#"}, 5);
    Step(160, 100, Hero::AirRight, 0, -7); // column 11
    EXPECT_EQ(hero().Y, 96);
    EXPECT_EQ(hero().SpeedY, 6);
    EXPECT_EQ(test::CountSounds(g.platform, 15), 1) << "a bump";
}

TEST_F(HeroMove, WallsStopTheHeroBesideThemOnTheGround)
{
    Floor(*g, 10);
    Paint(*g, {"..#.......#"}, 9); // walls at columns 3 and 11
    Step(100, 144, Hero::GroundRight, 7, 0);
    EXPECT_EQ(HeroWorldX(*g), 107);
    Step(140, 144, Hero::GroundRight, 7, 0);
    EXPECT_EQ(HeroWorldX(*g), 144) << "flush against the wall";
    EXPECT_EQ(hero().SpeedX, 0);
    Step(40, 144, Hero::GroundLeft, -7, 0);
    EXPECT_EQ(HeroWorldX(*g), 48);
    EXPECT_EQ(hero().SpeedX, 0);
    // Scrolled, the wall moves the view and the hero stays at x 160.
    g->SetMapCode(9, 31, 26);
    Step(470, 144, Hero::GroundRight, 7, 0);
    EXPECT_EQ(hero().X, 160);
    EXPECT_EQ(HeroWorldX(*g), 464);
    // The ground states never look at the row above.
    g->SetMapCode(9, 31, 0);
    g->SetMapCode(8, 31, 26);
    Step(470, 144, Hero::GroundRight, 7, 0);
    EXPECT_EQ(HeroWorldX(*g), 477);
}

// Each corner test on both sides of its comparison, the boundary included. The hero is
// placed so that after the move (speed x) and gravity he is at (wx, y).
TEST_F(HeroMove, CornerTestsRisingRight)
{
    g->SetMapCode(5, 10, 26); // HR for a hero in column 9, row 5
    auto at = [&](int wx, int y) { Step(wx - 2, y + 4, Hero::AirRight, 2, -4); };
    at(130, 82);
    EXPECT_EQ(HeroWorldX(*g), 128) << "wall";
    EXPECT_EQ(hero().Y, 82);
    EXPECT_EQ(hero().SpeedX, 0);
    at(137, 86); // 144 - 137 = 7 > 86 - 80 = 6
    EXPECT_EQ(HeroWorldX(*g), 128) << "wall";
    at(138, 86); // 6 > 6 fails
    EXPECT_EQ(HeroWorldX(*g), 138);
    EXPECT_EQ(hero().Y, 96) << "head hit";
    EXPECT_EQ(hero().SpeedY, 3);
    at(142, 90);
    EXPECT_EQ(hero().Y, 96) << "head hit";
    EXPECT_EQ(hero().SpeedX, 2);
}

TEST_F(HeroMove, CornerTestsFallingRight)
{
    g->SetMapCode(6, 10, 26); // BR for a hero in column 9, row 5
    auto at = [&](int wx, int y) { Step(wx - 2, y - 2, Hero::AirRight, 2, 2); };
    at(142, 90);
    EXPECT_EQ(hero().State, Hero::GroundRight) << "land";
    EXPECT_EQ(hero().Y, 80);
    at(135, 90); // 96 - 90 = 6 > 140 - 135 = 5
    EXPECT_EQ(hero().State, Hero::GroundRight) << "land";
    at(134, 90); // 6 > 6 fails
    EXPECT_EQ(hero().State, Hero::AirRight) << "wall";
    EXPECT_EQ(HeroWorldX(*g), 128);
    EXPECT_EQ(hero().Y, 90);
    // A wall in the head row stops him only while his top is less than 11 into the row.
    g->SetMapCode(6, 10, 0);
    g->SetMapCode(5, 10, 26);
    at(140, 90);
    EXPECT_EQ(HeroWorldX(*g), 128);
    at(140, 91);
    EXPECT_EQ(HeroWorldX(*g), 140);
}

TEST_F(HeroMove, CornerTestsRisingLeft)
{
    g->SetMapCode(5, 9, 26); // HL for a hero in column 9, row 5
    auto at = [&](int wx, int y) { Step(wx + 2, y + 4, Hero::AirLeft, -2, -4); };
    at(140, 82);
    EXPECT_EQ(HeroWorldX(*g), 144) << "wall";
    EXPECT_EQ(hero().Y, 82);
    at(135, 86); // 143 - 136 = 7 > 6
    EXPECT_EQ(HeroWorldX(*g), 144) << "wall";
    at(134, 86); // 6 > 6 fails
    EXPECT_EQ(HeroWorldX(*g), 134);
    EXPECT_EQ(hero().Y, 96) << "head hit";
    at(130, 90);
    EXPECT_EQ(hero().Y, 96) << "head hit";
}

TEST_F(HeroMove, CornerTestsFallingLeft)
{
    g->SetMapCode(6, 9, 26); // BL for a hero in column 9, row 5
    auto at = [&](int wx, int y) { Step(wx + 2, y - 2, Hero::AirLeft, -2, 2); };
    at(130, 90);
    EXPECT_EQ(hero().State, Hero::GroundLeft) << "land";
    at(137, 90); // 96 - 90 = 6 > 137 - 132 = 5
    EXPECT_EQ(hero().State, Hero::GroundLeft) << "land";
    EXPECT_EQ(hero().Y, 80);
    at(138, 90); // 6 > 6 fails
    EXPECT_EQ(hero().State, Hero::AirLeft) << "wall";
    EXPECT_EQ(HeroWorldX(*g), 144);
    // Walking left into the screen's left limit in the air keeps him at x 16.
    Step(18, 40, Hero::AirLeft, -7, 0);
    EXPECT_EQ(hero().X, 16);
}

TEST_F(HeroMove, OnlyTheLeftColumnHoldsAHeroFacingRight)
{
    Paint(*g, {"...#"}, 6); // column 3 open, column 4 solid
    Step(37, 80, Hero::GroundRight, 0, 0); // covers columns 3 and 4
    EXPECT_EQ(hero().State, Hero::AirRight);
    EXPECT_EQ(hero().SpeedY, 4);
    g->CollisionDetection();
    EXPECT_EQ(hero().State, Hero::GroundRight) << "lands again at once";
    EXPECT_EQ(hero().Y, 80);
    Step(37, 80, Hero::GroundLeft, 0, 0);
    EXPECT_EQ(hero().State, Hero::GroundLeft);
    EXPECT_EQ(hero().SpeedY, 0);
    // Exactly over the gap both facings fall.
    Step(32, 80, Hero::GroundLeft, 0, 0);
    EXPECT_EQ(hero().State, Hero::AirLeft);
}

TEST_F(HeroMove, FallingToRow14IsAHitWithoutThePlatformStep)
{
    // A platform right under the bottom would catch him if its step ran.
    Sprite& e = g->sprElevators[0];
    e.State = 2;
    e.X = 90;
    e.Y = 245;
    g->ElevatorPaths[0] = ElevatorPath{90, 245, 200, 245, 0, 1};
    g->HurtTimer = 5;
    Step(100, 223, Hero::AirRight, 0, 8);
    EXPECT_EQ(hero().Y, 231);
    EXPECT_EQ(hero().State, Hero::Hit);
    EXPECT_EQ(g->HurtTimer, 0);
    // On the ground the same bottom rule holds.
    Step(100, 224, Hero::GroundRight, 0, 0);
    EXPECT_EQ(hero().State, Hero::Hit);
    // More than 15 pixels above the map nothing is touched.
    Floor(*g, 0);
    Step(100, -30, Hero::AirRight, 0, 2);
    EXPECT_EQ(hero().Y, -28);
    EXPECT_EQ(hero().State, Hero::AirRight);
}
