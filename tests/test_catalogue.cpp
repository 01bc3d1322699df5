#include "LevelText.h"
#include "TestData.h"

#include <gtest/gtest.h>

using namespace zorbo;

TEST(Catalogue, StartUpCreatesAll261SpritesWithTheirInitialValues)
{
    test::Game g(32);
    int sprites = 0;
    auto count = [&](const auto& slots) {
        for (const Sprite& s : slots) {
            EXPECT_TRUE(s.HasImage());
            ++sprites;
        }
    };
    count(std::array<Sprite, 1>{g->sprPlayer});
    for (auto* arr : {&g->sprTurtles, &g->sprPTurtles, &g->sprWumpels}) {
        count(*arr);
        for (const Sprite& s : *arr)
            EXPECT_EQ(s.State, 4);
    }
    for (auto* arr : {&g->sprFTurtles, &g->sprPPlants, &g->sprGreenies, &g->sprBirds, &g->sprBlacks,
                      &g->sprBrowns}) {
        count(*arr);
        for (const Sprite& s : *arr)
            EXPECT_EQ(s.State, 4);
    }
    count(std::array<Sprite, 3>{g->sprMush, g->sprMushAlt, g->sprOneUp});
    count(g->sprQBoxes);
    count(g->sprCoins);
    for (const Sprite& s : g->sprQBoxes) {
        EXPECT_EQ(s.State, 0);
        EXPECT_EQ(s.AnimRate, 2);
    }
    for (const Sprite& s : g->sprCoins) {
        EXPECT_EQ(s.State, 0);
        EXPECT_EQ(s.AnimRate, 3);
    }
    count(g->sprBricks);
    for (const FireChain& chain : g->sprFires) {
        count(chain.Balls);
        EXPECT_FALSE(chain.ChainActive);
    }
    count(g->sprFireballs);
    count(g->sprHeroFire);
    count(g->sprElevators);
    count(g->sprFlames);
    for (const Sprite& s : g->sprFlames)
        EXPECT_FALSE(s.Active);
    count(std::array<Sprite, 1>{g->sprWarp});
    EXPECT_EQ(sprites, 261);

    EXPECT_EQ(g->sprBrowns[9].AnimDir, 1);
    EXPECT_EQ(g->sprBrowns[9].AnimRate, 3);
    EXPECT_EQ(g->sprPPlants[0].AnimRate, 2);
    EXPECT_EQ(g->sprGreenies[0].AnimRate, 2);
    EXPECT_EQ(g->sprElevators[0].Width(), 48);
    EXPECT_EQ(g->sprPPlants[0].Height(), 24);
    EXPECT_EQ(g->sprBricks[0].Width(), 8);
    EXPECT_EQ(g->Lives, 5);
    EXPECT_EQ(g->Coins, 0);
    EXPECT_EQ(g->PlantDelay, 80.0);
    EXPECT_EQ(g->StartX, 0);
    EXPECT_EQ(g->sprPlayer.State, Hero::GroundRight);
}

TEST(Catalogue, PlantDelayIsTwoAndAHalfSecondsAtEveryDifficulty)
{
    for (auto [difficulty, delay] : {std::pair{18, 45.0}, {26, 65.0}, {38, 95.0}}) {
        test::Game g(difficulty);
        EXPECT_EQ(g->PlantDelay, delay);
    }
}

TEST(Catalogue, TilesAndTheBorderComeFromTheirFiles)
{
    test::Game g;
    EXPECT_EQ(g->TileSurfaces[7].Pixel(3, 3), test::TileColour(7));
    EXPECT_EQ(g->TileSurfaces[95].Pixel(15, 15), test::TileColour(95));
    EXPECT_EQ(g->TileSurfaces[0].SurfaceRect(), (Rect{0, 0, 16, 16}));
    EXPECT_EQ(g->ddsBorder.SurfaceRect(), (Rect{0, 0, 16, 240}));
    EXPECT_EQ(g->ddsBack.SurfaceRect(), (Rect{0, 0, 320, 240}));
}

TEST(Catalogue, MissingBitmapsAreReportedOnceAndTheGameRunsOn)
{
    test::TempDir empty;
    // No pictures at all, but a level set: the game has a level to run on.
    test::WriteFile(empty.path() + "Standard.txt", test::LevelSet().Text());
    HeadlessPlatform platform;
    Settings s;
    s.DataPath = empty.path();
    GameWindow game(platform, s);
    testing::internal::CaptureStderr();
    game.Startup();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(game.bRunning);
    // game_6.bmp is asked for by 24 slots but reported once.
    const auto first = err.find("game_6.bmp");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(err.find("game_6.bmp", first + 1), std::string::npos);
    EXPECT_NE(err.find("m095.bmp"), std::string::npos);
    platform.QueueKeys({Key::Right});
    game.Keyboard.Check_Keyboard();
    game.Game_Update(0);
    EXPECT_EQ(platform.presents, 1);
}
