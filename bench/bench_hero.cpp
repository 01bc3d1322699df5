// The hero's share of a frame in a busy scene: his collision step with ten platforms to
// test, the platforms' move, and four fireballs against every enemy slot.
#include "game/GameWindow.h"
#include "media/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

namespace {

void BM_HeroStep(benchmark::State& state)
{
    zorbo::HeadlessPlatform platform;
    platform.keepPictures = false;
    zorbo::Settings settings;
    settings.DataPath = ZORBO_BENCH_DATA_DIR;
    settings.gSoundOn = false;
    settings.gDifficulty = zorbo::Difficulty::Easy;
    zorbo::GameWindow game(platform, settings);
    game.Startup();
    game.gLevel = 0;
    for (int32_t col = 0; col <= 1000; ++col) {
        game.SetMapCode(13, col, 26);
        game.SetMapCode(12, col, 0);
    }
    for (size_t i = 0; i < game.sprElevators.size(); ++i) {
        zorbo::Sprite& e = game.sprElevators[i];
        e.State = 2 + static_cast<int32_t>(i % 2);
        e.X = 20 + static_cast<int32_t>(i) * 30;
        e.Y = 100;
        e.GlobalX = 0;
        game.ElevatorPaths[i] = zorbo::ElevatorPath{e.X, 100, e.X + 80, 180, 0, 1};
    }
    // Enemies far away, so the fireballs test every slot without knocking any out.
    for (auto& w : game.sprWumpels)
        w.State = 0, w.Y = -200;
    game.HeroBig = true;
    auto restart = [&] {
        game.ViewX = 0;
        game.sprPlayer.X = 40;
        game.sprPlayer.Y = 192;
        game.sprPlayer.State = zorbo::Hero::GroundRight;
        game.sprPlayer.SpeedX = 7;
    };
    restart();
    for (auto _ : state) {
        if (game.ViewX > 14000)
            restart();
        game.sprPlayer.SpeedX = 7;
        game.CollisionDetection();
        game.UpdateElevator();
        game.InitFireBall();
        game.ZorboFireBall();
        benchmark::DoNotOptimize(game.sprPlayer.X);
    }
}
BENCHMARK(BM_HeroStep);

} // namespace
