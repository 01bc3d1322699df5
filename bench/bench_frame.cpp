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

// Frames from a new game on, Right held.
void RunFrames(benchmark::State& state, zorbo::HeadlessPlatform& platform)
{
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

void BM_Frame(benchmark::State& state)
{
    zorbo::HeadlessPlatform platform;
    platform.keepPictures = false;
    RunFrames(state, platform);
}
BENCHMARK(BM_Frame);

// One frame of play with its picture painted, as in a window.
void BM_FramePainted(benchmark::State& state)
{
    zorbo::HeadlessPlatform platform;
    platform.keepPictures = false;
    platform.paintPictures = true;
    RunFrames(state, platform);
}
BENCHMARK(BM_FramePainted);

// One picture between two frames of a running hero: the latest frame's draws blended
// part of the way and painted over the picture before.
void BM_InBetweenPicture(benchmark::State& state)
{
    zorbo::HeadlessPlatform platform;
    platform.keepPictures = false;
    platform.paintPictures = true;
    zorbo::GameWindow game(platform, BenchSettings());
    game.Startup();
    game.BeginLoop();
    zorbo::InBetweens between;
    for (int32_t f = 0; f < 40; ++f) {
        platform.QueueKeys({zorbo::Key::Right});
        game.Keyboard.Check_Keyboard();
        game.Game_Update(f * 38);
        platform.now += 38; // past the key repeat filter, so the hero keeps running
        between.FrameShown(game.ddsBack.LastFrame(), static_cast<uint32_t>(f * 38));
    }
    double fraction = 0;
    // Two times far enough apart that the running hero is a pixel further at each: a
    // picture that did not change would not be painted again.
    uint32_t at = 39 * 38 + 10;
    for (auto _ : state) {
        at = at == 39 * 38 + 10 ? 39 * 38 + 25 : 39 * 38 + 10;
        benchmark::DoNotOptimize(between.PictureAt(at, game.ddsBack.Composed(), fraction).pixels());
    }
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
