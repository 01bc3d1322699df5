// The world's share of a frame: map drawing with activation, and the item updates, with
// a full screen of boxes and coins.
#include "game/GameWindow.h"
#include "media/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

namespace {

using zorbo::GameWindow;

zorbo::Settings WorldSettings()
{
    zorbo::Settings s;
    s.DataPath = ZORBO_BENCH_DATA_DIR;
    s.gSoundOn = false;
    return s;
}

// Every column: a floor, scenery, and one box or coin in each of rows 2 to 5 by turns,
// more than the slots can hold, so the slot searches run into full arrays as well.
void FillLevel(GameWindow& g)
{
    for (int32_t col = 1; col <= 1000; ++col) {
        for (int32_t row = 0; row < 15; ++row)
            g.SetMapCode(row, col, row >= 13 ? 26 : (col + row) % 16 + 10);
        g.SetMapCode(2, col, col % 2 ? 45 : 53);
        g.SetMapCode(4, col, col % 3 ? 81 : 84);
        g.SetMapCode(11, col, 9);
    }
}

void WorldStep(GameWindow& g)
{
    g.DrawTiles();
    g.UpdateQBoxes();
    g.UpdateMush();
    g.UpdateOneUp();
    g.UpdateCoins();
    g.AnimateBricks();
}

void StartItems(GameWindow& g)
{
    g.sprPlayer.X = -200; // out of reach of every item
    for (zorbo::Sprite* item : {&g.sprMush, &g.sprOneUp}) {
        item->State = 1;
        item->X = 100;
        item->Y = 192;
        item->GlobalX = g.ViewX;
        item->SpeedX = 2;
    }
    g.InitializeBricks(150, 100, 2);
}

// A still view: every box and coin slot in use, both items walking, fragments flying.
void BM_WorldStillView(benchmark::State& state)
{
    zorbo::HeadlessPlatform platform;
    platform.keepPictures = false;
    GameWindow g(platform, WorldSettings());
    g.Startup();
    FillLevel(g);
    g.ViewX = 0;
    g.DrawTiles();
    StartItems(g);
    for (auto _ : state) {
        WorldStep(g);
        if (g.sprBricks[0].State == 0)
            g.InitializeBricks(150, 100, 2);
        benchmark::DoNotOptimize(g.ddsBack.Composed().pixels());
    }
}
BENCHMARK(BM_WorldStillView);

// Scrolling right at 3 pixels a frame through a level packed with objects: activation,
// frame sync and the freeing of objects left behind, every frame.
void BM_WorldScrolling(benchmark::State& state)
{
    zorbo::HeadlessPlatform platform;
    platform.keepPictures = false;
    GameWindow g(platform, WorldSettings());
    g.Startup();
    FillLevel(g);
    StartItems(g);
    for (auto _ : state) {
        g.ViewX += 3;
        if (g.ViewX > 970 * 16) {
            state.PauseTiming();
            FillLevel(g);
            g.KillAllEnemies();
            g.ViewX = 0;
            StartItems(g);
            state.ResumeTiming();
        }
        WorldStep(g);
        benchmark::DoNotOptimize(g.ddsBack.Composed().pixels());
    }
}
BENCHMARK(BM_WorldScrolling);

} // namespace
