// A whole Standard game replayed headless, as CI and `--play --headless` do: frames per
// second of the game's own update and composition, start-up and level check included.
#include "game/Settings.h"
#include "record/Replay.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

namespace {

constexpr std::array<const char*, 4> kDifficulties = {"easy", "normal", "difficult", "crazy"};

void BM_StandardReplay(benchmark::State& state)
{
    const std::string file =
        std::string(ZORBO_BENCH_RECORDINGS_DIR) + "/standard-" + kDifficulties[static_cast<size_t>(state.range(0))] + ".rec";
    zorbo::Recording rec;
    zorbo::Settings settings;
    std::string error;
    if (!zorbo::PrepareReplay(file, std::string(ZORBO_BENCH_DATA_DIR) + "/", rec, settings, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    int64_t frames = 0;
    for (auto _ : state) {
        const zorbo::ReplayResult result = zorbo::ReplayHeadless(rec, settings);
        if (!result.ok) {
            state.SkipWithError(result.message.c_str());
            return;
        }
        // The game polls the keyboard once a frame.
        frames += result.polls;
    }
    state.SetLabel(kDifficulties[static_cast<size_t>(state.range(0))]);
    state.counters["frames/s"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StandardReplay)->DenseRange(0, static_cast<int>(kDifficulties.size()) - 1)->Unit(benchmark::kMillisecond);

} // namespace
