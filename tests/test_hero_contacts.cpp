#include "HeroWorld.h"
#include "world/Objects.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace zorbo;
using test::CountSounds;
using test::PlaceHero;

namespace {
struct Contacts : testing::Test {
    test::Game g;
    Sprite& hero() { return g->sprPlayer; }
    Sprite& Box(size_t i, int32_t state, int32_t x, int32_t y = 80)
    {
        Sprite& b = g->sprQBoxes[i];
        b.State = state;
        b.X = x;
        b.Y = y;
        b.GlobalX = g->ViewX;
        return b;
    }
    // The hero rises straight up from y 100 at speed -8: after the move his top is at 92,
    // inside a box at y 80 hit from below.
    void JumpUnder(int32_t worldX)
    {
        PlaceHero(*g, worldX, 100, Hero::AirRight);
        hero().SpeedX = 0;
        hero().SpeedY = -8;
        g->CollisionDetection();
    }
};
} // namespace

TEST_F(Contacts, EachBoxGivesWhatItHoldsOnce)
{
    Box(0, QBox::Coin, 96);
    JumpUnder(96);
    EXPECT_EQ(hero().Y, 96) << "just below the box";
    EXPECT_EQ(hero().SpeedY, 7) << "bounced down";
    EXPECT_EQ(g->sprQBoxes[0].State, QBox::Empty);
    EXPECT_EQ(g->sprCoins[0].State, 2) << "a coin jumps out";

    Box(0, QBox::CoinAlt, 96);
    JumpUnder(96);
    EXPECT_EQ(g->sprCoins[1].State, 9) << "the other coin kind";

    // Several coins: one per hit until the count is used up.
    Box(0, QBox::CoinChest, 96).DirX = 3;
    for (int hit = 1; hit <= 3; ++hit) {
        JumpUnder(96);
        EXPECT_EQ(g->sprQBoxes[0].State, hit < 3 ? QBox::CoinChest : QBox::Empty) << hit;
        EXPECT_EQ(g->sprQBoxes[0].DirX, 3 - hit);
    }
    JumpUnder(96);
    EXPECT_EQ(hero().SpeedY, -7) << "an empty box is passed through";

    // The power-up, first in its second look, then in its first.
    g.platform.sounds.clear();
    g->ViewX = 0;
    Box(1, QBox::PowerUpAlt, 100).GlobalX = 7;
    JumpUnder(100);
    EXPECT_EQ(g->sprMush.State, 1);
    EXPECT_EQ(g->sprMush.SpeedX, 2);
    EXPECT_EQ(g->sprMush.X, 100);
    EXPECT_EQ(g->sprMush.Y, 64);
    EXPECT_EQ(g->sprMush.GlobalX, 7);
    EXPECT_TRUE(g->MushAlt);
    Box(1, QBox::PowerUp, 100);
    JumpUnder(100);
    EXPECT_FALSE(g->MushAlt);
    EXPECT_EQ(CountSounds(g.platform, 6), 2);

    // The one-up box turns into a used block in the map.
    Box(2, QBox::OneUp, 150).GlobalX = 40; // world x 190: column 12
    JumpUnder(150);
    EXPECT_EQ(g->sprOneUp.State, 1);
    EXPECT_EQ(g->sprOneUp.Y, 64);
    EXPECT_EQ(g->MapCode(5, 12), 33);
    EXPECT_EQ(g->sprQBoxes[2].State, QBox::Empty);
}

TEST_F(Contacts, TheHeadTouchesABoxOnlyInsideItsWindow)
{
    // 15 pixels either side, strictly.
    for (int dx : {-15, -14, 14, 15}) {
        Box(0, QBox::Coin, 100);
        JumpUnder(100 + dx);
        EXPECT_EQ(g->sprQBoxes[0].State, std::abs(dx) < 15 ? QBox::Empty : QBox::Coin) << dx;
    }
    // A falling hero never opens a box.
    Box(0, QBox::Coin, 100);
    PlaceHero(*g, 100, 88, Hero::AirRight);
    hero().SpeedX = 0;
    hero().SpeedY = 2;
    g->CollisionDetection();
    EXPECT_EQ(g->sprQBoxes[0].State, QBox::Coin);
}

TEST_F(Contacts, TwoBoxesStruckTogetherCancelTheBounce)
{
    // The first contact puts the hero under box 0, which is still inside the second box
    // when that one sits 4 pixels lower.
    Box(0, QBox::Coin, 92);
    Box(1, QBox::Coin, 108, 84);
    JumpUnder(100);
    EXPECT_EQ(g->sprQBoxes[0].State, QBox::Empty);
    EXPECT_EQ(g->sprQBoxes[1].State, QBox::Empty);
    EXPECT_EQ(hero().SpeedY, -7) << "reversed twice";
    EXPECT_EQ(hero().Y, 100);
}

TEST_F(Contacts, OnlyABigHeroBreaksBricks)
{
    test::Paint(*g, {".....K", ".....9"}, 4); // a brick at (4, 6) over background 9
    // Small: a bump, the brick stays, the hero drops away.
    PlaceHero(*g, 80, 84, Hero::AirRight);
    hero().SpeedY = -7;
    g->CollisionDetection();
    EXPECT_EQ(g->MapCode(4, 6), 37);
    EXPECT_EQ(hero().Y, 80);
    EXPECT_EQ(hero().SpeedY, 6);
    EXPECT_EQ(CountSounds(g.platform, 15), 1);
    EXPECT_EQ(CountSounds(g.platform, 1), 0);

    // Big: the brick breaks into fragments of its kind and leaves the background below it.
    g->HeroBig = true;
    PlaceHero(*g, 80, 84, Hero::AirRight);
    hero().SpeedY = -7;
    g->CollisionDetection();
    EXPECT_EQ(g->MapCode(4, 6), 9);
    EXPECT_EQ(CountSounds(g.platform, 1), 1);
    EXPECT_EQ(g->sprBricks[0].X, 80);
    EXPECT_EQ(g->sprBricks[0].Y, 64);
    EXPECT_EQ(g->sprBricks[0].CurrentFrame, 2) << "kind 1";
    EXPECT_EQ(hero().Y, 80);

    // Over anything else the broken cell becomes plain background.
    g->SetMapCode(4, 6, 28);
    g->SetMapCode(5, 6, 0);
    PlaceHero(*g, 80, 84, Hero::AirRight);
    hero().SpeedY = -7;
    g->CollisionDetection();
    EXPECT_EQ(g->MapCode(4, 6), 0);
    EXPECT_EQ(g->sprBricks[0].CurrentFrame, 4) << "kind 2";
}

TEST_F(Contacts, StraightUpUnderTwoBlocksExactlyOneBreaks)
{
    g->HeroBig = true;
    auto rise = [&] {
        PlaceHero(*g, 88, 84, Hero::AirRight); // covers columns 6 and 7
        hero().SpeedX = 0;
        hero().SpeedY = -7;
        g->CollisionDetection();
    };
    g->SetMapCode(4, 6, 39);
    g->SetMapCode(4, 7, 80);
    rise();
    EXPECT_EQ(g->MapCode(4, 6), 0);
    EXPECT_EQ(g->MapCode(4, 7), 80);
    EXPECT_EQ(g->sprBricks[0].CurrentFrame, 0) << "kind 0";
    rise();
    EXPECT_EQ(g->MapCode(4, 7), 0) << "then the right one";
    EXPECT_EQ(g->sprBricks[0].CurrentFrame, 6) << "kind 3";
    EXPECT_EQ(g->sprBricks[0].X, 96) << "one column right of the hero's screen column";

    // A plain block on the left and a brick on the right: the brick breaks.
    g->SetMapCode(4, 6, 26);
    g->SetMapCode(4, 7, 37);
    rise();
    EXPECT_EQ(g->MapCode(4, 6), 26);
    EXPECT_EQ(g->MapCode(4, 7), 0);
    // Two plain blocks: a bump.
    g.platform.sounds.clear();
    g->SetMapCode(4, 7, 26);
    rise();
    EXPECT_EQ(CountSounds(g.platform, 15), 1);
    EXPECT_EQ(hero().Y, 80);
}
