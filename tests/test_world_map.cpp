// Map drawing, scrolling, object activation, and the level set inside a running game.
#include "LevelText.h"
#include "TestData.h"
#include "world/Objects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace zorbo;
using test::Row;

namespace {

struct MapFixture : testing::Test {
    test::Game g;
    const Surface& back() { return g->ddsBack.Picture(); }
    uint32_t At(int x, int y) { return back().Pixel(x, y); }
    // Draws the view at viewX onto a black back buffer.
    void Draw(int32_t viewX)
    {
        g->ddsBack.BltColorFill(0);
        g->ViewX = viewX;
        g->DrawTiles();
    }
    // Scenery codes 10..25 by column, so each of 16 neighbouring columns has its own picture.
    static int32_t Scenery(int32_t col) { return 10 + col % 16; }
};

} // namespace

TEST_F(MapFixture, ColumnsAreLaidOutByTheView)
{
    for (int32_t k = 0; k <= 1000; ++k)
        g->SetMapCode(4, k, Scenery(k));
    const int y = 4 * 16 + 5;

    Draw(0); // column 1 at 0..15, column 20 at 304..319; column 0 is off the screen
    EXPECT_EQ(At(0, y), test::TileColour(Scenery(1)));
    EXPECT_EQ(At(16, y), test::TileColour(Scenery(2)));
    EXPECT_EQ(At(319, y), test::TileColour(Scenery(20)));
    EXPECT_EQ(At(0, y + 16), test::TileColour(0)) << "every row is painted";
    std::vector<uint32_t> atZero(back().pixels(), back().pixels() + 320 * 240);

    Draw(-20); // left of the level start: drawn as the start
    EXPECT_EQ(std::memcmp(back().pixels(), atZero.data(), atZero.size() * 4), 0);

    Draw(37); // first column 2, shift 5: column 3 at -5 is refused, column 4 at 11
    EXPECT_EQ(At(10, y), 0u);
    EXPECT_EQ(At(11, y), test::TileColour(Scenery(4)));
    EXPECT_EQ(At(314, y), test::TileColour(Scenery(22)));
    EXPECT_EQ(At(315, y), 0u);

    Draw(980 * 16 - 1); // first column 979: columns up to 999 are drawn
    EXPECT_EQ(At(1, y), test::TileColour(Scenery(981)));
    EXPECT_EQ(At(288, y), test::TileColour(Scenery(998)));
    EXPECT_EQ(At(289, y), test::TileColour(Scenery(999)));
    EXPECT_EQ(At(305, y), 0u) << "column 1000 is never visited";

    g->SetMapCode(6, 985, 53);
    Draw(980 * 16); // the end of the map: nothing drawn, nothing made
    EXPECT_TRUE(std::all_of(back().pixels(), back().pixels() + 320 * 240, [](uint32_t p) { return p == 0; }));
    EXPECT_EQ(g->MapCode(6, 985), 53);
    EXPECT_EQ(g->sprCoins[0].State, 0);
}

TEST_F(MapFixture, MapReadsOutsideTheLevelAreBackground)
{
    g->SetMapCode(0, 1000, 40);
    g->SetMapCode(-1, 5, 40);
    g->SetMapCode(15, 5, 40);
    g->SetMapCode(3, 1001, 40);
    EXPECT_EQ(g->MapCode(0, 1000), 40);
    for (auto [row, col] : {std::pair{-1, 5}, {15, 5}, {3, 1001}, {3, -1}, {-100000, 7}, {14, 1 << 30}})
        EXPECT_EQ(g->MapCode(row, col), 0) << row << "," << col;
    g->gLevel = 1;
    EXPECT_EQ(g->MapCode(0, 1000), 0) << "the map read is the current level's";
}

TEST_F(MapFixture, BoxesTakeSlotsInVisitingOrderUntilNoneIsLeft)
{
    for (int32_t k = 1; k <= 20; ++k)
        g->SetMapCode(2, k, 45);
    for (int32_t k = 1; k <= 5; ++k)
        g->SetMapCode(3, k, 56);
    Draw(0);
    for (size_t i = 0; i < 24; ++i)
        EXPECT_EQ(g->sprQBoxes[i].State, i < 20 ? QBox::Coin : QBox::PowerUp) << i;
    EXPECT_EQ(g->sprQBoxes[20].X, 0);
    EXPECT_EQ(g->sprQBoxes[20].Y, 48);
    EXPECT_EQ(g->sprQBoxes[23].X, 48);
    // The 25th finds no slot; its cell is replaced all the same.
    EXPECT_EQ(g->MapCode(3, 5), 33);
    for (const Sprite& box : g->sprQBoxes)
        EXPECT_FALSE(box.X == 64 && box.Y == 48);
    // The replaced cell is drawn in the same pass.
    EXPECT_EQ(At(32, 40), test::TileColour(33));

    // Scrolling back over used cells makes nothing new.
    g->KillAllEnemies();
    Draw(0);
    EXPECT_EQ(g->sprQBoxes[0].State, QBox::Empty);
}

TEST_F(MapFixture, NewBoxesAndCoinsJoinTheRunningAnimation)
{
    g->SetMapCode(5, 3, 45);
    g->SetMapCode(7, 3, 81);
    Draw(0);
    for (int i = 0; i < 7; ++i) {
        g->UpdateQBoxes();
        g->UpdateCoins();
    }
    ASSERT_EQ(g->Timers.QBoxFrame, 2);
    EXPECT_EQ(g->sprCoins[0].CurrentFrame, 8) << "the other look uses pictures 6 to 11";
    g->SetMapCode(5, 10, 84);
    g->SetMapCode(7, 10, 53);
    g->sprQBoxes[1].CurrentFrame = 5;
    Draw(0);
    EXPECT_EQ(g->sprQBoxes[1].State, QBox::PowerUpAlt);
    EXPECT_EQ(g->sprQBoxes[1].CurrentFrame, 2);
    EXPECT_EQ(g->sprCoins[1].State, 1);
    EXPECT_EQ(g->sprCoins[1].CurrentFrame, 8);
    EXPECT_EQ(g->MapCode(5, 10), 75);
    EXPECT_EQ(g->MapCode(7, 10), 0);
}

TEST_F(MapFixture, EmptiedCellsBorderingTheSecondBackgroundTakeIt)
{
    g->SetMapCode(0, 12, 50);                                  // no neighbour above row 0
    for (int32_t k : {1, 3})
        g->SetMapCode(5, k, 9);
    g->SetMapCode(5, 2, 50);                                   // 9 left and right
    g->SetMapCode(7, 5, 9);
    g->SetMapCode(8, 5, 51);                                   // 9 above
    g->SetMapCode(12, 8, 9);
    g->SetMapCode(11, 8, 85);                                  // 9 only below
    g->SetMapCode(10, 14, 9);
    g->SetMapCode(10, 15, 50);                                 // 9 left only
    Draw(16);
    EXPECT_EQ(g->MapCode(0, 12), 0);
    EXPECT_EQ(g->MapCode(5, 2), 9);
    EXPECT_EQ(g->MapCode(8, 5), 9);
    EXPECT_EQ(g->MapCode(11, 8), 0);
    EXPECT_EQ(g->MapCode(10, 15), 9);

    // Slots in visiting order, with the table's starting values.
    const auto& w = g->sprWumpels;
    EXPECT_EQ(w[0].X, (12 - 1 - 1) * 16);
    EXPECT_EQ(w[1].X, 0);
    EXPECT_EQ(w[1].Y, 80);
    EXPECT_EQ(w[1].GlobalX, 16);
    EXPECT_EQ((std::array<int, 4>{w[1].State, w[2].State, w[3].State, w[4].State}), (std::array<int, 4>{0, 1, 0, 0}));
    EXPECT_EQ(w[2].CurrentFrame, 2);
    EXPECT_EQ(w[2].AnimRate, 3);
    EXPECT_EQ((std::array<bool, 5>{g->WumpelAlt[0], g->WumpelAlt[1], g->WumpelAlt[2], g->WumpelAlt[3], g->WumpelAlt[4]}),
              (std::array<bool, 5>{false, false, false, false, true}));
    EXPECT_EQ(w[5].State, 4);
}

TEST_F(MapFixture, EveryKindStartsAsItsTableRowSays)
{
    g->SetMapCode(1, 2, 46);   // turtle
    g->SetMapCode(1, 4, 87);   // FTurtle, other look
    g->SetMapCode(1, 6, 86);   // PTurtle, other look
    g->SetMapCode(1, 8, 52);   // plant
    g->SetMapCode(1, 10, 67);  // flame
    g->SetMapCode(1, 12, 62);  // fire chain
    g->SetMapCode(1, 14, 83);  // fire chain, other base
    g->SetMapCode(1, 16, 79);  // warp end
    g->SetMapCode(1, 18, 68);  // Brown
    g->SetMapCode(2, 2, 54);   // several-coins block
    g->SetMapCode(2, 4, 57);   // hidden one-up box
    g->SetMapCode(2, 6, 66);   // bird, second kind
    g->PlantTimer[0] = 40;
    g->FlameFrame[0] = 3;
    Draw(0);

    EXPECT_EQ(g->sprTurtles[0].State, 0);
    EXPECT_EQ(g->sprTurtles[0].Y, 16 - 8);
    EXPECT_EQ(g->sprFTurtles[0].Y, 8);
    EXPECT_TRUE(g->FTurtleAlt[0]);
    EXPECT_TRUE(g->PTurtleAlt[0]);
    const Sprite& plant = g->sprPPlants[0];
    EXPECT_EQ((std::array<int, 4>{plant.State, plant.X, plant.Y, plant.AnimRate}), (std::array<int, 4>{1, 16 * 7 + 8, 8, 3}));
    EXPECT_EQ(g->PlantTimer[0], 0);
    EXPECT_TRUE(g->sprFlames[0].Active);
    EXPECT_EQ(g->sprFlames[0].Y, 8);
    EXPECT_EQ(g->FlameFrame[0], 0);
    EXPECT_FALSE(g->sprFlames[1].Active);

    const FireChain& chain = g->sprFires[0];
    EXPECT_TRUE(chain.ChainActive);
    EXPECT_FLOAT_EQ(chain.CenterX, 16 * 11 + 4);
    EXPECT_FLOAT_EQ(chain.CenterY, 20);
    EXPECT_FLOAT_EQ(chain.Angle, 4.71F);
    EXPECT_EQ(g->FireTick[0], 1);
    EXPECT_EQ(chain.Balls[5].State, Marker::Placed);
    EXPECT_EQ(chain.Balls[5].AnimRate, 1);
    EXPECT_TRUE(g->sprFires[1].ChainActive);
    EXPECT_EQ(g->MapCode(1, 12), 33);
    EXPECT_EQ(g->MapCode(1, 14), 75);

    EXPECT_EQ(g->sprWarp.State, 1);
    EXPECT_EQ(g->sprWarp.X, 16 * 15);
    EXPECT_EQ(g->sprBrowns[0].AnimRate, 3) << "Normal";
    EXPECT_EQ(g->sprQBoxes[0].State, QBox::CoinChest);
    EXPECT_EQ(g->sprQBoxes[0].DirX, 8);
    EXPECT_EQ(g->MapCode(2, 2), 33);
    EXPECT_EQ(g->sprQBoxes[1].State, QBox::OneUp);
    EXPECT_EQ(g->MapCode(2, 4), 0) << "a hidden box leaves background";
    EXPECT_EQ(g->sprBirds[0].State, 1);
    EXPECT_EQ(g->sprBirds[0].CurrentFrame, 5);

    for (int32_t difficulty : {18, 32, 38}) {
        test::Game fast(difficulty);
        fast->SetMapCode(3, 3, 68);
        fast->DrawTiles();
        EXPECT_EQ(fast->sprBrowns[0].AnimRate, difficulty <= 26 ? 3 : 2) << difficulty;
    }
}

TEST_F(MapFixture, TheHeroStartPlacesTheHeroAndTheRestartPoint)
{
    g->SetMapCode(11, 5, 44);
    Draw(0);
    EXPECT_EQ(g->sprPlayer.X, 64);
    EXPECT_EQ(g->sprPlayer.Y, 176);
    EXPECT_EQ((std::array<int, 3>{g->StartX, g->StartY, g->StartViewX}), (std::array<int, 3>{64, 176, 0}));

    // A later start cell only moves the restart point.
    g->SetMapCode(9, 25, 44);
    Draw(100);
    EXPECT_EQ(g->sprPlayer.X, 64);
    EXPECT_EQ((std::array<int, 3>{g->StartX, g->StartY, g->StartViewX}), (std::array<int, 3>{160, 144, 224}));

    // Far from the level start, with nothing recorded: the hero goes to the cell's world x.
    g->StartX = g->StartY = g->StartViewX = 0;
    g->SetMapCode(11, 30, 44);
    Draw(160);
    EXPECT_EQ(g->sprPlayer.X, 464);
    EXPECT_EQ(g->sprPlayer.Y, 176);
    EXPECT_EQ((std::array<int, 3>{g->StartX, g->StartY, g->StartViewX}), (std::array<int, 3>{160, 176, 304}));
}

TEST_F(MapFixture, ElevatorEndsPairWithTheWaitingEnd)
{
    g->SetMapCode(1, 5, 55);
    g->SetMapCode(1, 10, 55);  // same row: horizontal
    g->SetMapCode(3, 7, 55);
    g->SetMapCode(8, 7, 55);   // same column: vertical
    g->SetMapCode(10, 12, 55);
    g->SetMapCode(12, 15, 55); // shares nothing with the waiting end: dropped
    Draw(0);
    const auto& e = g->sprElevators;
    const auto& p = g->ElevatorPaths;
    EXPECT_EQ((std::array<int, 4>{e[0].State, e[1].State, e[2].State, e[3].State}), (std::array<int, 4>{Elevator::Sideways, Elevator::UpDown, Elevator::Waiting, Elevator::Free}));
    EXPECT_EQ((std::array<int, 5>{p[0].FromX, p[0].FromY, p[0].ToX, p[0].ToY, p[0].Dir}), (std::array<int, 5>{64, 16, 144, 16, 1}));
    EXPECT_EQ((std::array<int, 4>{p[1].FromX, p[1].FromY, p[1].ToX, p[1].ToY}), (std::array<int, 4>{96, 48, 96, 128}));
    EXPECT_EQ(e[2].X, 176);
    EXPECT_EQ(e[2].Y, 160);
    for (auto [row, col] : {std::pair{1, 5}, {1, 10}, {3, 7}, {8, 7}, {10, 12}, {12, 15}})
        EXPECT_EQ(g->MapCode(row, col), 0);
}

TEST_F(MapFixture, TheLevelSetLoadsReloadsAndStartsTheNextLevel)
{
    test::LevelSet set;
    set.levels[0][5] = Row("....?o");
    test::UseLevelSet(g, set);
    ASSERT_TRUE(g->bRunning);
    EXPECT_EQ(g->MapCode(5, 5), 45);
    Draw(0);
    EXPECT_EQ(g->MapCode(5, 5), 33);
    EXPECT_EQ(g->MapCode(5, 6), 0);
    g->LoadLevelData(); // a restart puts every object back
    EXPECT_EQ(g->MapCode(5, 5), 45);
    EXPECT_EQ(g->MapCode(5, 6), 53);

    // The next level is loaded, cleared of the old objects and drawn at once.
    g->sprCoins[3].State = 1;
    g->Nextlevel();
    EXPECT_EQ(g->gLevel, 1);
    EXPECT_EQ(g->sprCoins[3].State, 0);
    EXPECT_EQ(g->sprPlayer.X, 32);
    EXPECT_EQ(g->sprPlayer.Y, 192);
    EXPECT_EQ(g->MapCode(12, 3), 0) << "the start cell was taken";
}

// The window's caption names the level from its separator, set afresh at each level start.
TEST_F(MapFixture, TheWindowTitleNamesTheLevelBeingPlayed)
{
    std::string text = test::LevelSet().Text();
    text.replace(text.find("*Level 1\n"), 9, "*1  Glowworm Cave\n");
    text.replace(text.find("*Level 2\n"), 9, "*2\n");
    text.replace(text.find("*Level 3\n"), 9, "*Untitled cave\n");
    test::WriteFile(g.data.path() + "titled.txt", text);
    g->gLevelSet = "titled.txt";
    ASSERT_TRUE(g->LoadLevelData());
    EXPECT_EQ(g.platform.title, "Zorbo \xE2\x80\x94 1 \xC2\xB7 Glowworm Cave");
    g->Nextlevel();
    EXPECT_EQ(g.platform.title, "Zorbo \xE2\x80\x94 2") << "a level without a title has its number alone";
    g->Nextlevel();
    EXPECT_EQ(g.platform.title, "Zorbo \xE2\x80\x94 3 \xC2\xB7 Untitled cave");
    g.platform.title.clear();
    g->LoadLevelData(); // a death restarts the level
    EXPECT_EQ(g.platform.title, "Zorbo \xE2\x80\x94 3 \xC2\xB7 Untitled cave");
}

TEST_F(MapFixture, ALevelSetThatBreaksDuringPlayEndsTheGameWithItsPlace)
{
    test::LevelSet set;
    test::UseLevelSet(g, set);
    g->SetMapCode(2, 2, 45);
    // The file is spoiled on disk: the reload refuses it and leaves the map alone.
    std::string text = set.Text();
    text[text.find("*Level 3") + 9 + 12 + 2] = ' '; // row 12, column 3
    test::WriteFile(g.data.path() + "test.txt", text);
    g->LoadLevelData();
    EXPECT_FALSE(g->bRunning);
    ASSERT_EQ(g.platform.messages.size(), 1u);
    const std::string& m = g.platform.messages[0];
    EXPECT_NE(m.find("test.txt, line 46, column 3"), std::string::npos) << m;
    EXPECT_NE(m.find("byte 32"), std::string::npos) << m;
    EXPECT_EQ(g->MapCode(2, 2), 45);

    test::Game gone;
    gone->gLevelSet = "missing.txt";
    gone->LoadLevelData();
    EXPECT_FALSE(gone->bRunning);
    ASSERT_EQ(gone.platform.messages.size(), 1u);
    EXPECT_NE(gone.platform.messages[0].find("missing.txt: the file cannot be opened"), std::string::npos)
        << gone.platform.messages[0];
}

TEST_F(MapFixture, AFailedReloadStopsEveryCallerBeforeItDrawsOrPlays)
{
    test::LevelSet set;
    test::UseLevelSet(g, set);
    g->Game_Update(0);
    const int presents = g.platform.presents;
    test::WriteFile(g.data.path() + "test.txt", "broken");

    // A death: the restart reloads the level; the frame stops there, nothing is shown.
    g->sprPlayer.State = Hero::Dying;
    g->sprPlayer.Y = 239;
    const size_t sounds = g.platform.sounds.size();
    g->Game_Update(0);
    EXPECT_TRUE(g->Failed());
    EXPECT_FALSE(g->bRunning);
    EXPECT_EQ(g.platform.presents, presents);
    EXPECT_EQ(g.platform.sounds.size(), sounds);
    ASSERT_EQ(g.platform.messages.size(), 1u);
    EXPECT_NE(g.platform.messages[0].find(g->Failure()), std::string::npos);
    EXPECT_FALSE(g.platform.displayStarted) << "the display is given back";

    // The level end: the next level cannot be loaded; no level-start sound, no picture.
    test::Game next;
    test::UseLevelSet(next, set);
    test::WriteFile(next.data.path() + "test.txt", "not a level set");
    next->Nextlevel();
    EXPECT_TRUE(next->Failed());
    ASSERT_FALSE(next.platform.sounds.empty());
    EXPECT_EQ(next.platform.sounds.back().number, Sound::LevelDone);
    EXPECT_NE(next->Failure().find("test.txt"), std::string::npos) << next->Failure();
    next->Fail("a second fault");
    EXPECT_EQ(next.platform.messages.size(), 1u) << "only the first fault is told";
}
