// Boxes, coins, brick fragments and the two walking items.
#include "TestData.h"
#include "world/Objects.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zorbo;

namespace {

struct ItemFixture : testing::Test {
    test::Game g;
    void SetUp() override
    {
        g.platform.sounds.clear();
        g->ddsBack.BltColorFill(0);
        g->sprPlayer.X = 200;
        g->sprPlayer.Y = 0;
    }
    std::vector<int> Sounds()
    {
        std::vector<int> n;
        for (const auto& s : g.platform.sounds)
            n.push_back(s.number);
        return n;
    }
    uint32_t At(int x, int y) { return g->ddsBack.Pixel(x, y); }
    static void Put(Sprite& s, int32_t state, int32_t x, int32_t y, int32_t globalX = 0)
    {
        s.State = state;
        s.X = x;
        s.Y = y;
        s.GlobalX = globalX;
    }
    void Floor(int32_t row, int32_t from, int32_t to)
    {
        for (int32_t c = from; c <= to; ++c)
            g->SetMapCode(row, c, 26);
    }
};

} // namespace

TEST_F(ItemFixture, TouchedCoinsCountOnePerFrameAndAHundredGiveALife)
{
    g->Coins = 99;
    g->Lives = 5;
    Put(g->sprCoins[2], 1, 100, 100);
    Put(g->sprCoins[5], -1, 104, 96);
    Put(g->sprCoins[7], 1, 50, 40);
    g->sprPlayer.X = 100;
    g->sprPlayer.Y = 100;
    g->ViewX = 10;
    g->UpdateCoins();
    EXPECT_EQ(g->sprCoins[2].State, 0);
    EXPECT_EQ(g->Coins, 0) << "100 becomes a life in the same frame";
    EXPECT_EQ(g->Lives, 6);
    EXPECT_EQ(Sounds(), (std::vector<int>{6, 11}));
    // The rest of the pass waits for the next frame: not moved, not drawn.
    EXPECT_EQ(g->sprCoins[5].State, -1);
    EXPECT_EQ(g->sprCoins[7].X, 50);
    EXPECT_EQ(At(110, 100), 0u);
    g->UpdateCoins();
    EXPECT_EQ(g->sprCoins[5].State, 0);
    EXPECT_EQ(g->Coins, 1);
    EXPECT_EQ(g->sprCoins[7].X, 50);
    g->UpdateCoins();
    EXPECT_EQ(g->sprCoins[7].X, 40);
    EXPECT_EQ(At(48, 48), test::FrameColour(9, g->Timers.CoinFrame)) << "drawn at its scrolled place";

    // Lying coins far out of the view are given up.
    Put(g->sprCoins[8], 1, -159, 0, g->ViewX);
    Put(g->sprCoins[9], 1, 603, 0, g->ViewX);
    g->ViewX += 2;
    g->UpdateCoins();
    EXPECT_EQ(g->sprCoins[8].State, 0);
    EXPECT_EQ(g->sprCoins[9].State, 0);
}

TEST_F(ItemFixture, ACoinFromABoxRisesSixFramesAndCountsAsItVanishes)
{
    Put(g->sprQBoxes[3], 2, 64, 96);
    g->sprCoins[0].State = 1; // slot 0 is taken: the coin goes to slot 1
    g->sprCoins[0].X = 300;
    g->AssignCoin(3, false);
    Sprite& coin = g->sprCoins[1];
    EXPECT_EQ((std::array<int, 3>{coin.State, coin.X, coin.Y}), (std::array<int, 3>{2, 64, 80}));
    std::vector<int> counted;
    for (int i = 0; i < 6; ++i) {
        g->UpdateCoins();
        counted.push_back(g->Coins);
    }
    EXPECT_EQ(counted, (std::vector<int>{0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(coin.State, 0);
    EXPECT_EQ(coin.Y, 80 - 18);
    EXPECT_EQ(Sounds(), (std::vector<int>{6}));

    g->AssignCoin(3, true);
    EXPECT_EQ(coin.State, 9);
    g->UpdateCoins();
    EXPECT_EQ(coin.CurrentFrame, g->Timers.CoinFrame + 6);

    // With every slot taken no coin starts, and nothing else changes.
    for (Sprite& c : g->sprCoins)
        c.State = 1;
    g->sprQBoxes[3].Y = 200;
    g->AssignCoin(3, false);
    for (const Sprite& c : g->sprCoins)
        EXPECT_NE(c.Y, 184);
}

TEST_F(ItemFixture, BoxesShowTheirKindAndAreFreedFarOutside)
{
    Put(g->sprQBoxes[0], 1, 32, 32);
    Put(g->sprQBoxes[1], 5, 64, 32);
    Put(g->sprQBoxes[2], 4, 96, 32);
    Put(g->sprQBoxes[3], 3, 128, 32);
    Put(g->sprQBoxes[4], 2, -330, 32);
    Put(g->sprQBoxes[5], 6, 641, 32, -10); // back in view after the scroll, but freed first
    g->Timers.QBoxTick = 2;
    g->Timers.QBoxFrame = 5;
    g->UpdateQBoxes();
    EXPECT_EQ(g->Timers.QBoxFrame, 0) << "wraps after 5";
    EXPECT_EQ(At(40, 40), test::FrameColour(8, 0));
    EXPECT_EQ(At(72, 40), test::FrameColour(8, 7));
    EXPECT_EQ(At(104, 40), test::FrameColour(8, 6));
    EXPECT_EQ(At(136, 40), 0u) << "a hidden box is not drawn";
    EXPECT_EQ(g->sprQBoxes[4].State, QBox::Empty);
    EXPECT_EQ(g->sprQBoxes[5].State, QBox::Empty);
    EXPECT_EQ(g->sprQBoxes[5].X, 641) << "freed before its scroll step";

    g->ViewX = 24;
    g->UpdateQBoxes();
    EXPECT_EQ(g->sprQBoxes[3].X, 104) << "the hidden box keeps in step with the view";
    EXPECT_EQ(g->sprQBoxes[2].X, 72);
}

TEST_F(ItemFixture, BrickFragmentsFlyOutAndFall)
{
    g->ViewX = 30;
    g->InitializeBricks(100, 64, 1);
    EXPECT_EQ(Sounds(), (std::vector<int>{1}));
    const Sprite& f0 = g->sprBricks[0];
    const Sprite& f3 = g->sprBricks[3];
    EXPECT_EQ(f3.X, 108);
    EXPECT_EQ(f3.Y, 72);
    EXPECT_EQ(f0.CurrentFrame, 2);
    g->AnimateBricks();
    EXPECT_EQ((std::array<int, 4>{f0.X, f0.Y, f0.SpeedX, f0.SpeedY}), (std::array<int, 4>{90, 56, -9, -6}));
    g->AnimateBricks();
    EXPECT_EQ(f0.X, 81);
    EXPECT_EQ(f0.Y, 50);
    g->ViewX = 40; // the pieces keep their place in the level
    g->AnimateBricks();
    EXPECT_EQ(f0.X, 81 - 8 - 10);
    int frames = 3;
    while (f0.State == 1 && frames < 100) {
        g->AnimateBricks();
        ++frames;
    }
    EXPECT_EQ(f0.SpeedX, -3) << "the sideways speed decays to 3";
    EXPECT_GT(f0.Y, 240);
    EXPECT_LT(frames, 30);

    // A second brick takes the pieces over at once.
    g->InitializeBricks(20, 20, 3);
    EXPECT_EQ(f0.State, 1);
    EXPECT_EQ(f0.X, 20);
    EXPECT_EQ(f0.CurrentFrame, 6);
}

TEST_F(ItemFixture, ThePowerUpWalksFallsLandsAndTurns)
{
    Floor(10, 1, 10);  // a ledge ending at column 10
    Floor(12, 1, 40);  // the ground below it
    g->SetMapCode(11, 20, 26);  // a wall on the ground
    Sprite& mush = g->sprMush;
    Put(mush, 1, 16, 144);
    mush.SpeedX = 2;
    std::vector<std::pair<int, int>> path;
    for (int i = 0; i < 150 && mush.SpeedX > 0; ++i) {
        g->UpdateMush();
        path.emplace_back(mush.X, mush.Y);
    }
    ASSERT_EQ(mush.State, 1);
    EXPECT_EQ(path[0], std::make_pair(18, 144));
    EXPECT_EQ(path[1], std::make_pair(20, 144));
    // Over the ledge's end (column 11 under its left edge) it drops 6 a frame.
    const auto edge = std::find_if(path.begin(), path.end(), [](auto p) { return p.second != 144; });
    ASSERT_NE(edge, path.end());
    EXPECT_EQ(edge->first, 162);
    EXPECT_EQ(edge->second, 150);
    EXPECT_EQ((edge + 1)->second, 156);
    EXPECT_EQ(path.back().second, 176) << "landed on the ground row";
    EXPECT_EQ(mush.SpeedY, 0);
    EXPECT_EQ(path.back().first, 288) << "turned at the wall in column 20";
    g->UpdateMush();
    EXPECT_EQ(mush.X, 286);

    // Taking it: the hero grows, the item is drawn one last time.
    g->sprPlayer.X = 280;
    g->sprPlayer.Y = 176;
    g->MushAlt = true;
    g->UpdateMush();
    EXPECT_EQ(mush.State, 0);
    EXPECT_TRUE(g->HeroBig);
    EXPECT_EQ(Sounds(), (std::vector<int>{9}));
    EXPECT_EQ(At(290, 184), test::TileColour(84)) << "the other look";
    g->UpdateMush();
    EXPECT_EQ(mush.SpeedX, 0) << "out of play it stands still";
}

TEST_F(ItemFixture, ItemsLeaveAtTheViewEdgesAndTheLevelBottom)
{
    Floor(12, 1, 60);
    Sprite& mush = g->sprMush;
    Sprite& oneUp = g->sprOneUp;
    Put(mush, 1, 556, 176);
    Put(oneUp, 1, 556, 176);
    mush.SpeedX = oneUp.SpeedX = 2;
    for (int i = 0; i < 3; ++i) {
        g->UpdateMush();
        g->UpdateOneUp();
    }
    EXPECT_EQ(mush.State, 0) << "the power-up is given up right of 560";
    EXPECT_EQ(oneUp.State, 1) << "the one-up is kept for the hero to follow";
    EXPECT_EQ(oneUp.X, 562);

    Put(oneUp, 1, -78, 176);
    oneUp.SpeedX = -2;
    g->UpdateOneUp();
    EXPECT_EQ(oneUp.State, 1);
    g->UpdateOneUp();
    EXPECT_EQ(oneUp.State, 0);

    // Falling into row 14 ends it in that frame, undrawn.
    Put(mush, 1, 100, 200);
    mush.SpeedX = 2;
    mush.SpeedY = 6;
    g->SetMapCode(13, 7, 0);
    for (int c = 6; c <= 9; ++c)
        g->SetMapCode(12, c, 0);
    for (int i = 0; i < 3; ++i)
        g->UpdateMush();
    ASSERT_EQ(mush.State, 1);
    ASSERT_EQ(mush.Y, 218);
    g->ddsBack.BltColorFill(0);
    g->UpdateMush();
    EXPECT_EQ(mush.State, 0);
    EXPECT_EQ(mush.Y, 224);
    EXPECT_EQ(At(112, 226), 0u);

    // Released from a box in row 0: the row above the map reads as background.
    Put(oneUp, 1, 40, -16);
    oneUp.SpeedX = 2;
    oneUp.SpeedY = 0;
    g->UpdateOneUp();
    EXPECT_EQ(oneUp.SpeedY, 6);

    // Taking the one-up.
    g->Lives = 5;
    Put(oneUp, 1, 100, 176);
    oneUp.SpeedX = 2;
    oneUp.SpeedY = 0;
    g->sprPlayer.X = 110;
    g->sprPlayer.Y = 180;
    g.platform.sounds.clear();
    g->UpdateOneUp();
    EXPECT_EQ(g->Lives, 6);
    EXPECT_EQ(Sounds(), (std::vector<int>{11}));
}

TEST_F(ItemFixture, KillAllEnemiesFreesEverySlotButTheFragments)
{
    g->sprWumpels[23].State = 0;
    g->sprFTurtles[9].State = 1;
    g->sprQBoxes[0].State = QBox::Coin;
    g->sprCoins[23].State = -1;
    g->sprElevators[9].State = Elevator::UpDown;
    g->sprMush.State = 1;
    g->sprOneUp.State = 1;
    g->sprHeroFire[3].State = 0;
    g->sprFires[5].ChainActive = true;
    g->sprFlames[15].Active = true;
    g->sprBricks[0].State = 1;
    g->KillAllEnemies();
    EXPECT_EQ(g->sprWumpels[23].State, 4);
    EXPECT_EQ(g->sprFTurtles[9].State, 4);
    EXPECT_EQ(g->sprQBoxes[0].State, QBox::Empty);
    EXPECT_EQ(g->sprCoins[23].State, 0);
    EXPECT_EQ(g->sprElevators[9].State, Elevator::Free);
    EXPECT_EQ(g->sprMush.State, 0);
    EXPECT_EQ(g->sprOneUp.State, 0);
    EXPECT_EQ(g->sprHeroFire[3].State, 4);
    EXPECT_FALSE(g->sprFires[5].ChainActive);
    EXPECT_FALSE(g->sprFlames[15].Active);
    EXPECT_EQ(g->sprBricks[0].State, 1) << "fragments fall out on their own";
}
