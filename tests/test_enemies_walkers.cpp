#include "EnemyWorld.h"

#include <algorithm>
#include <vector>

using namespace zorbo;

namespace {
struct EnemyWalkers : test::EnemyWorld {
    Sprite& Wumpel(int32_t state, int32_t x, int32_t y, int32_t frame = 0, int32_t animRate = 0, size_t slot = 0)
    {
        return Put(g->sprWumpels[slot], state, x, y, frame, animRate);
    }
};
using Wumpels = EnemyWalkers;
using Turtles = EnemyWalkers;
using Greenies = EnemyWalkers;
} // namespace

TEST_F(EnemyWalkers, ARightWalkerDropsIntoAOneCellGapThatALeftWalkerCrosses)
{
    test::Floor(*g, 10);
    g->SetMapCode(10, 11, 0); // the gap: world x 160..175
    Sprite& right = Wumpel(Enemy::Right, 158, 144, 2, 0, 0);
    Sprite& left = Wumpel(Enemy::Left, 180, 144, 0, 3, 1);
    g->UpdateWumpels();
    // Its left column is over the gap: it falls at once, its feet still stepping.
    EXPECT_EQ(right.X, 160);
    EXPECT_EQ(right.State, Enemy::FallRight);
    EXPECT_EQ(right.SpeedY, 6);
    EXPECT_EQ(right.CurrentFrame, 3);
    std::vector<int32_t> frames{left.CurrentFrame};
    for (int u = 2; u <= 11; ++u) {
        g->UpdateWumpels();
        EXPECT_EQ(left.State, Enemy::Left) << u;
        EXPECT_EQ(left.Y, 144) << u;
        frames.push_back(left.CurrentFrame);
    }
    EXPECT_EQ(left.X, 158);
    // AnimRate 3: the foot frame changes on every fourth update.
    EXPECT_EQ(frames, (std::vector<int32_t>{0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0}));
}

TEST_F(EnemyWalkers, ATurnOverAGapFallsHeadingLeft)
{
    g->SetMapCode(9, 5, 26); // a lone block, nothing under it or beside it
    Sprite& w = Wumpel(Enemy::Left, 81, 154);
    g->UpdateWumpels();
    EXPECT_EQ(w.X, 79);
    EXPECT_EQ(w.State, Enemy::FallLeft);
    EXPECT_EQ(w.SpeedX, 2);
    EXPECT_EQ(w.SpeedY, 6);
    EXPECT_EQ(w.CurrentFrame, 2) << "turned to 3, then stepped back by the walking-left rule";
    g->UpdateWumpels();
    EXPECT_EQ(w.X, 77) << "falling left moves left again";
    EXPECT_EQ(w.Y, 160);
    EXPECT_EQ(w.SpeedX, -2);
}

TEST_F(EnemyWalkers, LandingSnapsToTheRowAndTheCornerRuleDecidesAtAnEdge)
{
    for (int32_t col = 20; col <= 30; ++col)
        g->SetMapCode(10, col, 26);
    Sprite& w = Wumpel(Enemy::FallRight, 340, 137);
    g->UpdateWumpels();
    EXPECT_EQ(w.Y, 143);
    EXPECT_EQ(w.State, Enemy::FallRight);
    g->UpdateWumpels();
    EXPECT_EQ(w.Y, 144) << "5 pixels into the floor, snapped back to its top";
    EXPECT_EQ(w.State, Enemy::Right);

    // Heading left over a block under its left column only (column 6): it lands when
    // (x mod 16) < 16 - (y mod 16), else it bounces off the block's side.
    g->SetMapCode(10, 6, 26);
    auto fall = [&](int32_t state, int32_t x, int32_t y) -> Sprite& {
        Wumpel(state, x, y, state == Enemy::FallLeft ? 1 : 2, 100);
        g->UpdateWumpels();
        return w;
    };
    EXPECT_EQ(fall(Enemy::FallLeft, 93, 142).State, Enemy::Left) << "x mod 16 = 11, y mod 16 = 4";
    EXPECT_EQ(w.Y, 144);
    EXPECT_EQ(fall(Enemy::FallLeft, 94, 142).State, Enemy::FallRight) << "x mod 16 = 12";
    EXPECT_EQ(w.Y, 148);
    EXPECT_EQ(w.SpeedX, 2);
    EXPECT_EQ(w.CurrentFrame, 3);
    EXPECT_EQ(fall(Enemy::FallLeft, 93, 143).State, Enemy::FallRight) << "y mod 16 = 5";

    // Heading right over a block under the column right of it only (column 13): it lands
    // when (x mod 16) > (y mod 16).
    g->SetMapCode(10, 13, 26);
    EXPECT_EQ(fall(Enemy::FallRight, 179, 142).State, Enemy::Right) << "x mod 16 = 5";
    EXPECT_EQ(w.Y, 144);
    EXPECT_EQ(fall(Enemy::FallRight, 178, 142).State, Enemy::FallLeft) << "x mod 16 = 4";
    EXPECT_EQ(w.SpeedX, -2);
    EXPECT_EQ(w.CurrentFrame, 2) << "the bounce sets 1; the falling-right picture rule makes it 2";
}

TEST_F(EnemyWalkers, WalkersLeaveOffTheLeftOrOutOfTheBottom)
{
    test::Floor(*g, 10);
    // The map column truncates toward zero: world x -15 is still column 1.
    Sprite& inside = Wumpel(Enemy::Left, -13, 144, 0, 0, 0);
    Sprite& outside = Wumpel(Enemy::Left, -14, 144, 0, 0, 1);
    // Out of the level below row 12 for Wumpels, below row 13 for Greenies and for a
    // turtle's body row (Y \ 16 + 1).
    Sprite& w12 = Wumpel(Enemy::FallLeft, 100, 201, 0, 0, 2); // y 207
    Sprite& w13 = Wumpel(Enemy::FallLeft, 140, 202, 0, 0, 3); // y 208
    Sprite& g13 = Put(g->sprGreenies[0], Enemy::FallLeft, 100, 217, 6);
    Sprite& g14 = Put(g->sprGreenies[1], Enemy::FallLeft, 140, 218, 6);
    Sprite& t13 = Put(g->sprTurtles[0], Enemy::FallLeft, 100, 201);
    Sprite& t14 = Put(g->sprTurtles[1], Enemy::FallLeft, 140, 202);
    g->UpdateWumpels();
    g->UpdateGreenies();
    g->UpdateTurtles();
    EXPECT_EQ(inside.State, Enemy::Left);
    EXPECT_EQ(outside.State, Enemy::Free);
    EXPECT_EQ(w12.State, Enemy::FallLeft);
    EXPECT_EQ(w13.State, Enemy::Free);
    EXPECT_EQ(g13.State, Enemy::FallLeft);
    EXPECT_EQ(g14.State, Enemy::Free);
    EXPECT_EQ(t13.State, Enemy::FallLeft);
    EXPECT_EQ(t14.State, Enemy::Free);

    for (Sprite& e : g->sprWumpels)
        e.State = Enemy::Free;
    g->ViewX = 2000;
    Sprite& behind = Wumpel(Enemy::Right, -1000, 144, 2, 0, 0);
    Sprite& near = Wumpel(Enemy::Left, -317, 144, 0, 0, 1);
    Sprite& far = Wumpel(Enemy::Left, -319, 144, 0, 0, 2);
    Sprite& fallingL = Wumpel(Enemy::FallLeft, -319, 100, 0, 0, 3);
    Sprite& fallingR = Wumpel(Enemy::FallRight, -323, 100, 2, 0, 4);
    Sprite& flat = Wumpel(Enemy::Squashed, -160, 144, 4, 0, 5);
    Sprite& flatGone = Wumpel(Enemy::Squashed, -161, 144, 4, 0, 6);
    Sprite& idle = Wumpel(Enemy::Free, 0, 0, 3, 0, 7);
    g->UpdateWumpels();
    EXPECT_EQ(behind.State, Enemy::Right) << "walking right is never given up";
    EXPECT_EQ(behind.X, -998);
    EXPECT_EQ(near.State, Enemy::Left);
    EXPECT_EQ(far.State, Enemy::Free);
    EXPECT_EQ(fallingL.State, Enemy::Free);
    EXPECT_EQ(fallingR.State, Enemy::Free);
    EXPECT_EQ(flat.State, Enemy::Squashed);
    EXPECT_EQ(flatGone.State, Enemy::Free);
    EXPECT_EQ(idle.CurrentFrame, 0) << "a free slot is reset to frame 0";
}

TEST_F(Wumpels, StompOrTouchIsDecidedByTheHerosHeightAndSpeed)
{
    test::Floor(*g, 10);
    struct Case {
        int32_t px, py, speedY, hurt;
        bool squashed;
        int32_t heroState, heroSpeedY;
        const char* why;
    };
    // The Wumpel walks from x 100 to 98 at y 144; the hero, on the ground or not, meets it.
    const Case cases[] = {
        {98, 144, 0, 0, false, Hero::Hit, 0, "level with it: a touch"},
        {110, 143, 0, 0, true, Hero::GroundRight, 0, "standing: no bounce"},
        {111, 143, 0, 0, false, Hero::Hit, 0, "stomp box 13 wide from its new x, touch box 15"},
        {98, 130, 7, 0, true, Hero::GroundRight, -3, "falling: back up at half speed"},
        {98, 139, -7, 0, true, Hero::GroundRight, -10, "rising and 4 higher: -7 + -7 \\ 2"},
        {98, 140, -7, 0, false, Hero::Hit, -7, "rising, not high enough"},
        {98, 144, 0, 30, false, Hero::GroundRight, 0, "hurt: a touch does nothing"},
        {98, 143, 2, 30, true, Hero::GroundRight, -1, "hurt: a stomp still squashes"},
    };
    int stomps = 0;
    for (const Case& c : cases) {
        Sprite& w = Wumpel(Enemy::Left, 100, 144);
        SetHero(c.px, c.py, c.speedY, Hero::GroundRight);
        g->HurtTimer = c.hurt;
        g->UpdateWumpels();
        stomps += c.squashed ? 1 : 0;
        EXPECT_EQ(w.State, c.squashed ? Enemy::Squashed : Enemy::Left) << c.why;
        EXPECT_EQ(hero().State, c.heroState) << c.why;
        EXPECT_EQ(hero().SpeedY, c.heroSpeedY) << c.why;
        EXPECT_EQ(Sounds(Sound::Stomp), stomps) << c.why;
    }

    // A squashed Wumpel neither hurts nor is stomped again.
    Wumpel(Enemy::Squashed, 98, 144, 4);
    g->HurtTimer = 0;
    SetHero(98, 143, 2, Hero::AirRight);
    g->UpdateWumpels();
    SetHero(98, 144, 0, Hero::GroundRight);
    g->UpdateWumpels();
    EXPECT_EQ(hero().State, Hero::GroundRight);
    EXPECT_EQ(Sounds(Sound::Stomp), stomps);
}

TEST_F(Wumpels, ASquashedWumpelRestsOnSceneryAndFallsThroughBackground)
{
    const std::vector<std::pair<int32_t, int32_t>> under{{6, 25}, {7, 12}, {9, 10}, {10, 5}, {12, 9}, {13, 5}};
    for (auto [col, code] : under)
        g->SetMapCode(10, col, code);
    g->SetMapCode(11, 12, 26);
    g->SetMapCode(11, 13, 26);
    Sprite& onScenery = Wumpel(Enemy::Squashed, 80, 144, 0, 0, 0);
    Sprite& walker = Wumpel(Enemy::Left, 82, 144, 0, 0, 1);
    Sprite& half = Wumpel(Enemy::Squashed, 128, 144, 4, 0, 2);
    Sprite& falling = Wumpel(Enemy::Squashed, 176, 144, 4, 0, 3);
    falling.SpeedY = 3;
    Sprite& lost = Wumpel(Enemy::Squashed, 240, 200, 4, 0, 4);
    g->UpdateWumpels();
    EXPECT_EQ(onScenery.Y, 144);
    EXPECT_EQ(onScenery.CurrentFrame, 4);
    EXPECT_EQ(walker.State, Enemy::FallLeft) << "scenery does not hold up a walker";
    EXPECT_EQ(half.Y, 144) << "one cell of code 10 is enough";
    EXPECT_EQ(lost.State, Enemy::Squashed);
    EXPECT_EQ(lost.Y, 206);
    std::vector<int32_t> ys{falling.Y};
    for (int u = 2; u <= 4; ++u) {
        g->UpdateWumpels();
        ys.push_back(falling.Y);
    }
    EXPECT_EQ(ys, (std::vector<int32_t>{150, 156, 160, 160}));
    EXPECT_EQ(falling.SpeedY, 0);
    EXPECT_EQ(lost.State, Enemy::Free) << "row 13";
}

TEST_F(Turtles, TheBodyRowDecidesLandingAndContact)
{
    test::Floor(*g, 10);
    // The row is Y \ 16 + 1: from y 113 it lands on the third update, at 136.
    Sprite& t = Put(g->sprTurtles[0], Enemy::FallLeft, 300, 113, 0, 100);
    std::vector<int32_t> ys;
    for (int u = 0; u < 3; ++u) {
        g->UpdateTurtles();
        ys.push_back(t.Y);
    }
    EXPECT_EQ(ys, (std::vector<int32_t>{119, 125, 136}));
    EXPECT_EQ(t.State, Enemy::Left);

    // Contact starts at the body, 8 pixels below the top; the turtle walks to x 98.
    auto meet = [&](int32_t state, int32_t x, int32_t py) {
        Put(t, state, x, 136, state == Enemy::Left ? 0 : 2, 3);
        SetHero(98, py, 0, Hero::GroundRight);
        g->UpdateTurtles();
    };
    meet(Enemy::Left, 100, 121);
    EXPECT_EQ(t.State, Enemy::Left) << "the head is no contact";
    EXPECT_EQ(hero().State, Hero::GroundRight);
    meet(Enemy::Left, 100, 144);
    EXPECT_EQ(t.State, Enemy::Left);
    EXPECT_EQ(hero().State, Hero::Hit);
    meet(Enemy::Left, 100, 143);
    EXPECT_EQ(t.State, Enemy::Shell);
    EXPECT_EQ(t.CurrentFrame, 4);
    EXPECT_EQ(Sounds(Sound::Stomp), 1);
    meet(Enemy::Right, 96, 143);
    EXPECT_EQ(t.CurrentFrame, 5);
    // The shell keeps its frame and place, and the hero walks through it unharmed.
    SetHero(98, 144, 0, Hero::GroundRight);
    g->UpdateTurtles();
    g->UpdateTurtles();
    EXPECT_EQ(t.CurrentFrame, 5);
    EXPECT_EQ(t.X, 98);
    EXPECT_EQ(t.Y, 136);
    EXPECT_EQ(hero().State, Hero::GroundRight);
}

TEST_F(Turtles, ATurtlePacesAFloorBetweenTwoGapsForever)
{
    for (int32_t col = 5; col <= 8; ++col) // world x 64..127
        g->SetMapCode(10, col, 26);
    Sprite& t = Put(g->sprTurtles[0], Enemy::Right, 80, 136, 2, 3);
    int32_t lo = t.X, hi = t.X;
    for (int u = 1; u <= 200; ++u) {
        g->UpdateTurtles();
        ASSERT_TRUE(t.State == Enemy::Left || t.State == Enemy::Right) << u;
        ASSERT_EQ(t.Y, 136) << u;
        lo = std::min(lo, t.X);
        hi = std::max(hi, t.X);
        // Heading right it turns when the column ahead has no floor (x 112); heading left
        // when its own column has none (x 62).
        if (u == 16 || u == 41 || u == 66) {
            EXPECT_EQ(t.X, u == 41 ? 62 : 112) << u;
            EXPECT_EQ(t.State, u == 41 ? Enemy::Right : Enemy::Left) << u;
        }
    }
    EXPECT_EQ(lo, 62);
    EXPECT_EQ(hi, 112);
}

TEST_F(Greenies, FiveFrameCyclesAtFourPixelsAndTurnsThatDoNotMove)
{
    test::Floor(*g, 10);
    g->SetMapCode(9, 5, 26);  // world x 64..79
    g->SetMapCode(9, 12, 26); // world x 176..191
    Sprite& left = Put(g->sprGreenies[0], Enemy::Left, 300, 144, 6, 1);
    Sprite& right = Put(g->sprGreenies[1], Enemy::Right, 400, 144, 0, 1);
    Sprite& toRight = Put(g->sprGreenies[2], Enemy::Left, 80, 144, 6, 100);
    Sprite& toLeft = Put(g->sprGreenies[3], Enemy::Right, 156, 144, 0, 100);
    std::vector<int32_t> lf, rf;
    for (int u = 1; u <= 11; ++u) {
        g->UpdateGreenies();
        lf.push_back(left.CurrentFrame);
        rf.push_back(right.CurrentFrame);
        // Both run into a wall in the first update and turn (at 2 pixels per update), but
        // the second moves them back by their own 4.
        if (u == 1) {
            EXPECT_EQ(toRight.CurrentFrame, 0);
            EXPECT_EQ(toLeft.CurrentFrame, 6);
        }
        if (u == 2) {
            EXPECT_EQ(toRight.X, 80);
            EXPECT_EQ(toLeft.X, 156);
        }
    }
    // AnimRate 1 steps every second update; the wrap to the first frame does not wait.
    EXPECT_EQ(lf, (std::vector<int32_t>{6, 7, 7, 8, 8, 9, 9, 10, 6, 6, 7}));
    EXPECT_EQ(rf, (std::vector<int32_t>{0, 1, 1, 2, 2, 3, 3, 4, 0, 0, 1}));
    EXPECT_EQ(left.X, 256);
    EXPECT_EQ(right.X, 444);

    // Stomped, it shows frame 5 from its next update on.
    Sprite& s = Put(g->sprGreenies[4], Enemy::Left, 200, 144, 6, 1);
    SetHero(196, 140, 3, Hero::AirRight);
    g->UpdateGreenies();
    EXPECT_EQ(s.State, Enemy::Squashed);
    EXPECT_EQ(Sounds(Sound::Stomp), 1);
    ParkHero();
    g->UpdateGreenies();
    EXPECT_EQ(s.CurrentFrame, 5);
    EXPECT_EQ(s.X, 196);
}
