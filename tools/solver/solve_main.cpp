// zorbo_solve: proves that levels can be finished by finding the keys that finish them,
// and writes what it found as a recording.
#include "Solver.h"
#include "app/CommandLine.h"
#include "record/RecordingWriter.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void Usage()
{
    std::puts("Usage: zorbo_solve --data DIR [--level-set NAME] [--difficulty D] [--beam N]\n"
              "                   (--each [--checkpoints] | --game --out FILE)\n"
              "\n"
              "  --each        solve every level from its own start with a small hero; report frames\n"
              "  --game        play one whole game from level 1 to the win and record it to FILE\n"
              "  --checkpoints with --each: also solve each level from every checkpoint (a later hero\n"
              "                start), beginning at its column as a restart there does\n"
              "  --level N     with --each: only level N");
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zorbo;
    std::vector<std::string> gameArgs;
    bool each = false, whole = false, checkpoints = false;
    int only = 0;
    std::string out;
    zorbo::SolveOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zorbo_solve: %s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--each")
            each = true;
        else if (a == "--checkpoints")
            checkpoints = true;
        else if (a == "--game")
            whole = true;
        else if (a == "--out")
            out = next();
        else if (a == "--beam")
            options.beamWidth = std::max(1, std::atoi(next().c_str()));
        else if (a == "--max-frames")
            options.maxFrames = std::max(1, std::atoi(next().c_str()));
        else if (a == "--level")
            only = std::atoi(next().c_str());
        else if (a == "--data" || a == "--level-set" || a == "--difficulty") {
            gameArgs.push_back(a);
            gameArgs.push_back(next());
        } else if (a == "--help") {
            Usage();
            return 0;
        } else {
            std::fprintf(stderr, "zorbo_solve: unknown option %s\n", a.c_str());
            return 2;
        }
    }
    const CommandLine cl = ParseCommandLine(gameArgs);
    if (!cl.error.empty() || cl.dataDir.empty() || each == whole || (whole && out.empty()) ||
        (checkpoints && !each)) {
        if (!cl.error.empty())
            std::fprintf(stderr, "zorbo_solve: %s\n", cl.error.c_str());
        Usage();
        return 2;
    }
    Settings settings = cl.settings;
    settings.DataPath = FindDataPath(cl.dataDir, "");

    int failures = 0;
    auto report = [&](const LevelResult& r, double seconds) {
        if (r.startColumn > 0)
            std::printf("level %2d from column %3d: ", r.level, r.startColumn);
        else
            std::printf("level %2d: ", r.level);
        if (r.solved)
            std::printf("finished in %5d frames (%.1f s of play; %lld frames searched, %.1f s)\n", r.frames,
                        r.frames / static_cast<double>(settings.gDifficulty),
                        static_cast<long long>(r.statesTried), seconds);
        else
            std::printf("NOT finished: %s; got as far as column %d (%lld frames searched, %.1f s)\n",
                        r.reason.c_str(), r.furthestColumn, static_cast<long long>(r.statesTried), seconds);
        std::fflush(stdout);
        failures += r.solved ? 0 : 1;
    };
    using Clock = std::chrono::steady_clock;

    if (each) {
        for (int level = 1; level <= 10; ++level) {
            if (only != 0 && level != only)
                continue;
            settings.gLevel = level - 1;
            settings.StartColumn = 0;
            auto t0 = Clock::now();
            Solver solver(settings, options);
            const std::vector<MapCell> later = checkpoints ? solver.Checkpoints() : std::vector<MapCell>{};
            const LevelResult own = solver.SolveLevel();
            report(own, std::chrono::duration<double>(Clock::now() - t0).count());
            for (const MapCell& cell : later) {
                // The editor's test start stands the hero on the lowest floor of a column and
                // scrolls the view as a restart does; it is a checkpoint's restart only when
                // that floor is the checkpoint's own row.
                settings.StartColumn = cell.col;
                t0 = Clock::now();
                Solver from(settings, options);
                if (from.HeroCell() != cell) {
                    std::printf("level %2d from column %3d: NOT a restart: the checkpoint is in row %d, the "
                                "lowest floor there is row %d\n",
                                level, cell.col, cell.row, from.HeroCell().row);
                    ++failures;
                    continue;
                }
                const LevelResult r = from.SolveLevel();
                report(r, std::chrono::duration<double>(Clock::now() - t0).count());
            }
        }
        return failures == 0 ? 0 : 1;
    }

    settings.gLevel = 0;
    Solver solver(settings, options);
    while (!solver.Won()) {
        const auto t0 = Clock::now();
        const LevelResult r = solver.SolveLevel();
        report(r, std::chrono::duration<double>(Clock::now() - t0).count());
        if (!r.solved)
            return 1;
    }
    Recording rec;
    std::string error;
    if (!solver.Record(rec, error) || !SaveRecording(rec, out, error)) {
        std::fprintf(stderr, "zorbo_solve: %s\n", error.c_str());
        return 1;
    }
    std::printf("recorded %zu frames to %s\n", solver.Keys().size(), out.c_str());
    return 0;
}
