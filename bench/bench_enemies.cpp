// The walkers' share of a frame on a busy screen: every turtle, PTurtle, Wumpel and Greenie
// slot in play, half of the PTurtles sliding shells, over a floor with gaps, walls and bricks.
#include "game/GameWindow.h"
#include "media/HeadlessPlatform.h"
#include "world/Objects.h"

#include <benchmark/benchmark.h>

namespace {

void Populate(zorbo::GameWindow& game)
{
    using zorbo::Enemy::Left;
    using zorbo::Enemy::Right;
    game.gLevel = 0;
    game.ViewX = 0;
    for (int32_t col = 0; col <= 1000; ++col) {
        // A floor in row 12 with a gap every 13 columns, a wall every 17, bricks every 23.
        game.SetMapCode(12, col, col % 13 == 0 ? 0 : 26);
        game.SetMapCode(11, col, col % 17 == 0 ? 26 : (col % 23 == 0 ? 37 : 0));
        game.SetMapCode(13, col, 26);
    }
    int32_t n = 0;
    auto place = [&](zorbo::Sprite& e, int32_t y) {
        e.State = n % 2 == 0 ? Left : Right;
        e.X = 8 + (n * 37) % 300;
        e.Y = y;
        e.GlobalX = 0;
        e.SpeedY = 0;
        e.AnimRate = 3;
        ++n;
    };
    for (auto& e : game.sprTurtles)
        place(e, 152);
    for (size_t i = 0; i < game.sprPTurtles.size(); ++i) {
        zorbo::Sprite& e = game.sprPTurtles[i];
        place(e, 152);
        if (i % 2 == 1) {
            e.State = zorbo::Enemy::Shell;
            e.SpeedX = i % 4 == 1 ? 9 : -9;
        }
    }
    for (auto& e : game.sprWumpels)
        place(e, 160);
    for (auto& e : game.sprGreenies)
        place(e, 160);
    // The hero stands apart: every contact is tested, none is made.
    game.sprPlayer.X = 0;
    game.sprPlayer.Y = 16;
    game.sprPlayer.State = zorbo::Hero::GroundRight;
    game.HurtTimer = 0;
}

void BM_UpdateEnemies(benchmark::State& state)
{
    zorbo::HeadlessPlatform platform;
    platform.keepPictures = false;
    zorbo::Settings settings;
    settings.DataPath = ZORBO_BENCH_DATA_DIR;
    settings.gSoundOn = false;
    zorbo::GameWindow game(platform, settings);
    game.Startup();
    Populate(game);
    const zorbo::GameState start = game;
    int frames = 0;
    for (auto _ : state) {
        // Shells knock the others out within a few dozen frames; start the scene again.
        if (++frames == 48) {
            state.PauseTiming();
            static_cast<zorbo::GameState&>(game) = start;
            frames = 0;
            state.ResumeTiming();
        }
        game.UpdateEnemies();
        benchmark::DoNotOptimize(game.sprWumpels[0].X);
    }
}
BENCHMARK(BM_UpdateEnemies);

} // namespace
