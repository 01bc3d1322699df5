#include "LevelText.h"
#include "TestData.h"
#include "world/Objects.h"

#include <gtest/gtest.h>

#include <span>
#include <vector>

using namespace zorbo;

namespace {

using Slots = std::span<const Sprite>;

// Draws frame `frame` of the sprite alone and reads the middle of it.
uint32_t MiddleOfFrame(Sprite s, int32_t frame)
{
    s.X = 0;
    s.Y = 0;
    s.CurrentFrame = frame;
    Canvas canvas;
    canvas.Create(s.Width(), s.Height());
    s.Draw(canvas);
    return canvas.Pixel(s.Width() / 2, s.Height() / 2);
}

} // namespace

// The test data colours every frame by its file and number, so a sprite that shows the
// wrong file, is cut at the wrong size or counts its frames wrong shows the wrong colour.
TEST(Catalogue, EverySpriteShowsTheFramesOfItsOwnStrip)
{
    test::Game g;
    struct Look {
        std::vector<const Sprite*> slots;
        int file;
        int32_t width, height, frames;
    };
    auto all = [](Slots slots) {
        std::vector<const Sprite*> out;
        for (const Sprite& s : slots)
            out.push_back(&s);
        return out;
    };
    std::vector<const Sprite*> chainBalls;
    for (const FireChain& chain : g->sprFires)
        for (const Sprite& s : chain.Balls)
            chainBalls.push_back(&s);
    const std::vector<Look> looks = {
        {{&g->sprPlayer}, 1, 16, 16, 28},         {all(g->sprWumpels), 2, 16, 16, 12},
        {all(g->sprPTurtles), 4, 16, 24, 12},     {all(g->sprPPlants), 5, 16, 24, 19},
        {all(g->sprTurtles), 6, 16, 24, 6},       {all(g->sprFTurtles), 7, 16, 24, 8},
        {all(g->sprQBoxes), 8, 16, 16, 14},       {all(g->sprCoins), 9, 16, 16, 12},
        {all(g->sprBricks), 11, 8, 8, 8},         {all(g->sprGreenies), 12, 16, 16, 12},
        {chainBalls, 13, 8, 8, 4},                {all(g->sprBlacks), 14, 16, 16, 5},
        {all(g->sprBirds), 15, 16, 16, 6},        {all(g->sprElevators), 16, 48, 16, 1},
        {all(g->sprFlames), 17, 16, 24, 4},       {all(g->sprBrowns), 18, 16, 16, 12},
        {all(g->sprFireballs), 19, 8, 8, 1},      {all(g->sprHeroFire), 19, 8, 8, 1},
    };
    size_t sprites = 0;
    for (const Look& look : looks) {
        for (const Sprite* s : look.slots) {
            SCOPED_TRACE("game_" + std::to_string(look.file) + ".bmp");
            ASSERT_TRUE(s->HasImage());
            EXPECT_EQ(s->Width(), look.width);
            EXPECT_EQ(s->Height(), look.height);
            EXPECT_EQ(s->CurrentFrame.Count(), look.frames);
            EXPECT_EQ(MiddleOfFrame(*s, 0), test::FrameColour(look.file, 0));
            EXPECT_EQ(MiddleOfFrame(*s, look.frames - 1), test::FrameColour(look.file, look.frames - 1));
        }
        sprites += look.slots.size();
    }
    // The power-ups and the warp marker show their map tile's picture.
    for (auto [sprite, code] : {std::pair{&g->sprMush, 56}, {&g->sprMushAlt, 84}, {&g->sprOneUp, 57}, {&g->sprWarp, 79}}) {
        EXPECT_EQ(MiddleOfFrame(*sprite, 0), test::TileColour(code)) << code;
        ++sprites;
    }
    EXPECT_EQ(sprites, 261u) << "every sprite of the game state has a picture";
}

// Nothing moves before a level places it, and the hero starts a game with five lives.
TEST(Catalogue, ANewGameHasNothingInPlayBeforeALevelPlacesIt)
{
    test::Game g;
    for (Slots slots : {Slots(g->sprTurtles), Slots(g->sprPTurtles), Slots(g->sprWumpels), Slots(g->sprFTurtles),
                        Slots(g->sprPPlants), Slots(g->sprGreenies), Slots(g->sprBirds), Slots(g->sprBlacks),
                        Slots(g->sprBrowns), Slots(g->sprFireballs), Slots(g->sprHeroFire)})
        for (const Sprite& s : slots)
            EXPECT_EQ(s.State, Enemy::Free);
    for (Slots slots : {Slots(g->sprQBoxes), Slots(g->sprCoins)})
        for (const Sprite& s : slots)
            EXPECT_EQ(s.State, 0);
    for (const FireChain& chain : g->sprFires)
        EXPECT_FALSE(chain.ChainActive);
    for (const Sprite& s : g->sprFlames)
        EXPECT_FALSE(s.Active);
    EXPECT_EQ(g->Lives, 5);
    EXPECT_EQ(g->Coins, 0);
    EXPECT_EQ(g->sprPlayer.State, Hero::GroundRight);
    EXPECT_EQ(g->StartX, 0);
}

// How fast the animated things of the map turn their frames.
TEST(Catalogue, BoxesCoinsPlantsGreeniesAndBrownsAnimateAtTheirOwnRates)
{
    test::Game g;
    for (auto [slots, rate] : {std::pair{Slots(g->sprQBoxes), 2}, {Slots(g->sprCoins), 3}, {Slots(g->sprPPlants), 2},
                               {Slots(g->sprGreenies), 2}, {Slots(g->sprBrowns), 3}})
        for (const Sprite& s : slots)
            EXPECT_EQ(s.AnimRate, rate);
    for (const Sprite& s : g->sprBrowns)
        EXPECT_EQ(s.AnimDir, 1);
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
    test::Warnings warnings;
    game.Startup();
    EXPECT_TRUE(game.bRunning);
    // game_6.bmp is asked for by 24 slots but reported once.
    EXPECT_EQ(warnings.Count("game_6.bmp"), 1);
    EXPECT_EQ(warnings.Count("m095.bmp"), 1);
    platform.QueueKeys({Key::Right});
    game.Keyboard.Check_Keyboard();
    game.Game_Update(0);
    EXPECT_EQ(platform.presents, 1);
}
