// One frame of play, headless: the update and the composition of the picture.
#include "game/GameWindow.h"
#include "media/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

namespace {

zorbo::Settings BenchSettings()
{
    zorbo::Settings s;
    s.DataPath = ZORBO_BENCH_DATA_DIR;
    s.gSoundOn = false;
    return s;
}

void BM_Frame(benchmark::State& state)
{
    zorbo::HeadlessPlatform platform;
    platform.keepPictures = false;
    zorbo::GameWindow game(platform, BenchSettings());
    game.Startup();
    int32_t ms = 0;
    for (auto _ : state) {
        platform.QueueKeys({zorbo::Key::Right});
        game.Keyboard.Check_Keyboard();
        game.Game_Update(ms);
        ms += 38;
    }
}
BENCHMARK(BM_Frame);

void BM_Startup(benchmark::State& state)
{
    for (auto _ : state) {
        zorbo::HeadlessPlatform platform;
        zorbo::GameWindow game(platform, BenchSettings());
        game.Startup();
        benchmark::DoNotOptimize(game.sprPlayer.X);
    }
}
BENCHMARK(BM_Startup)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
