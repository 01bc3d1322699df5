// One frame of play, headless: the update and the composition of the picture.
#include "game/GameWindow.h"
#include "media/HeadlessPlatform.h"
#include "media/SmoothMotion.h"

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

// A machine that looks at every picture but keeps none.
struct Looking : zorbo::HeadlessPlatform {
    Looking() { keepPictures = false; }
    bool WantsPictures() const override { return true; }
};

// One frame of play with its picture painted, as in a window.
void BM_FramePainted(benchmark::State& state)
{
    Looking platform;
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
BENCHMARK(BM_FramePainted);

// One picture between two frames of a running hero: the latest frame's draws blended
// halfway and painted over a copy of its picture.
void BM_InBetweenPicture(benchmark::State& state)
{
    Looking platform;
    zorbo::GameWindow game(platform, BenchSettings());
    game.Startup();
    game.BeginLoop();
    zorbo::InBetweens between;
    for (int32_t f = 0; f < 40; ++f) {
        platform.QueueKeys({zorbo::Key::Right});
        game.Keyboard.Check_Keyboard();
        game.Game_Update(f * 38);
        between.FrameShown(game.ddsBack.LastFrame(), static_cast<uint32_t>(f * 38));
    }
    double fraction = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(between.PictureAt(39 * 38 + 19, game.ddsBack.Composed(), fraction).pixels());
    state.counters["fraction"] = fraction;
}
BENCHMARK(BM_InBetweenPicture);

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
