// zorbo_solve: proves that levels can be finished by finding the keys that finish them,
// and writes what it found as a recording and as the hero's route.
#include "Solver.h"
#include "SolveText.h"
#include "app/CommandLine.h"
#include "level/LevelSets.h"
#include "media/AtomicFile.h"
#include "record/RecordingWriter.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace zorbo;

std::atomic<bool> gCancel{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler sets it");

void OnSignal(int /*signal*/)
{
    gCancel.store(true);
}

// The first SIGINT or SIGTERM asks the search to stop between two steps; a second one
// ends the process at once.
void CatchSignals()
{
    struct sigaction action{};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

struct Request {
    std::vector<std::string> gameArgs;
    bool each = false, whole = false, checkpoints = false, progress = false;
    int only = 0;
    std::string out, route;
    SolveOptions options;
};

// Parses the solver's own options and collects the game's; false after printing why.
bool Parse(int argc, char** argv, Request& req, bool& help)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zorbo_solve: %s needs a value\n", a.c_str());
                std::exit(kSolveUsage);
            }
            return argv[++i];
        };
        if (a == "--each")
            req.each = true;
        else if (a == "--checkpoints")
            req.checkpoints = true;
        else if (a == "--game")
            req.whole = true;
        else if (a == "--progress")
            req.progress = true;
        else if (a == "--out")
            req.out = next();
        else if (a == "--route")
            req.route = next();
        else if (a == "--beam")
            req.options.beamWidth = std::max(1, std::atoi(next().c_str()));
        else if (a == "--max-frames")
            req.options.maxFrames = std::max(1, std::atoi(next().c_str()));
        else if (a == "--level")
            req.only = std::atoi(next().c_str());
        else if (a == "--data" || a == "--level-set" || a == "--difficulty" || a == "--start-column") {
            req.gameArgs.push_back(a);
            req.gameArgs.push_back(next());
        } else if (a == "--help") {
            help = true;
            return true;
        } else {
            std::fprintf(stderr, "zorbo_solve: unknown option %s\n", a.c_str());
            return false;
        }
    }
    return true;
}

// The reason a request cannot be run, or empty.
std::string Refusal(const Request& req, const CommandLine& cl)
{
    if (!cl.error.empty())
        return cl.error;
    if (cl.dataDir.empty())
        return "--data is needed";
    if (req.each == req.whole)
        return "choose one of --each and --game";
    if (req.whole && req.out.empty())
        return "--game needs --out FILE";
    if (req.checkpoints && !req.each)
        return "--checkpoints goes with --each";
    if (req.only < 0 || req.only > 10)
        return "--level takes 1 to 10";
    if (cl.settings.StartColumn > 0 && (!req.each || req.only == 0 || req.checkpoints))
        return "--start-column goes with --each and --level, without --checkpoints";
    if (req.each && !req.out.empty() && (req.only == 0 || req.checkpoints || cl.settings.StartColumn > 0))
        return "--out with --each records one proof: give --level, from the level's own start";
    return {};
}

void PrintProgress(const SearchProgress& p)
{
    std::printf("%s\n", ProgressLine(p).c_str());
    std::fflush(stdout);
}

void PrintResult(const LevelResult& r, const Settings& settings, double seconds, bool machine)
{
    if (machine)
        std::printf("%s\n", ResultLine(r).c_str());
    if (r.startColumn > 0)
        std::printf("level %2d from column %3d: ", r.level, r.startColumn);
    else
        std::printf("level %2d: ", r.level);
    if (r.solved) {
        std::printf("finished in %5d frames (%.1f s of play; %lld frames searched, %.1f s)", r.frames,
                    r.frames / static_cast<double>(settings.gDifficulty), static_cast<long long>(r.statesTried),
                    seconds);
        std::printf(r.warps.empty() ? "\n" : " through %s\n", WarpList(r.warps, false).c_str());
    } else {
        std::printf("NOT finished: %s; got as far as column %d (%lld frames searched, %.1f s)\n", r.reason.c_str(),
                    r.furthestColumn, static_cast<long long>(r.statesTried), seconds);
    }
    std::fflush(stdout);
}

// The route as text: a header line, then one line per frame of every proof.
class RouteText {
public:
    RouteText() : text_("proof frame level x y warp\n") {}
    void Add(int proof, const std::vector<RoutePoint>& route)
    {
        for (const RoutePoint& p : route)
            text_ += std::to_string(proof) + ' ' + std::to_string(p.frame) + ' ' + std::to_string(p.level) + ' ' +
                     std::to_string(p.x) + ' ' + std::to_string(p.y) + ' ' +
                     (p.warpPipe != 0 ? std::to_string(p.warpPipe) : std::string("-")) + '\n';
    }
    bool Save(const std::string& file) const
    {
        std::string reason;
        if (AtomicFile::WriteWhole(file, text_, reason) == AtomicFile::Outcome::Saved)
            return true;
        std::fprintf(stderr, "zorbo_solve: %s: %s\n", file.c_str(), reason.c_str());
        return false;
    }

private:
    std::string text_;
};

bool SaveRecordingOf(const Solver& solver, const std::string& file)
{
    Recording rec;
    std::string error;
    if (solver.Record(rec, error) && SaveRecording(rec, file, error)) {
        std::printf("recorded %zu frames to %s\n", solver.Keys().size(), file.c_str());
        return true;
    }
    std::fprintf(stderr, "zorbo_solve: %s\n", error.c_str());
    return false;
}

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point t0)
{
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Every level asked for, from its start (or the column asked for) and from each of its
// checkpoints when asked.
int RunEach(const Request& req, Settings settings)
{
    int failures = 0;
    int proof = 0;
    RouteText route;
    const int32_t startColumn = settings.StartColumn;
    for (int level = 1; level <= 10; ++level) {
        if (req.only != 0 && level != req.only)
            continue;
        settings.gLevel = level - 1;
        settings.StartColumn = startColumn;
        auto t0 = Clock::now();
        Solver solver(settings, req.options);
        const std::vector<MapCell> later = req.checkpoints ? solver.Checkpoints() : std::vector<MapCell>{};
        const LevelResult own = solver.SolveLevel();
        PrintResult(own, settings, Since(t0), req.progress);
        if (own.cancelled)
            return kSolveCancelled;
        failures += own.solved ? 0 : 1;
        route.Add(++proof, solver.Route());
        if (!req.out.empty() && own.solved && !SaveRecordingOf(solver, req.out))
            ++failures;
        for (const MapCell& cell : later) {
            // The editor's test start stands the hero on the lowest floor of a column and
            // scrolls the view as a restart does; it is a checkpoint's restart only when
            // that floor is the checkpoint's own row.
            settings.StartColumn = cell.col;
            t0 = Clock::now();
            Solver from(settings, req.options);
            if (from.HeroCell() != cell) {
                std::printf("level %2d from column %3d: NOT a restart: the checkpoint is in row %d, the "
                            "lowest floor there is row %d\n",
                            level, cell.col, cell.row, from.HeroCell().row);
                ++failures;
                continue;
            }
            const LevelResult r = from.SolveLevel();
            PrintResult(r, settings, Since(t0), req.progress);
            if (r.cancelled)
                return kSolveCancelled;
            failures += r.solved ? 0 : 1;
            route.Add(++proof, from.Route());
        }
    }
    if (!req.route.empty() && !route.Save(req.route))
        return kSolveFailed;
    return failures == 0 ? kSolveProved : kSolveFailed;
}

// One whole game from level 1 to the win, recorded.
int RunGame(const Request& req, Settings settings)
{
    settings.gLevel = 0;
    Solver solver(settings, req.options);
    while (!solver.Won()) {
        const auto t0 = Clock::now();
        const LevelResult r = solver.SolveLevel();
        PrintResult(r, settings, Since(t0), req.progress);
        if (r.cancelled)
            return kSolveCancelled;
        if (!r.solved)
            return kSolveFailed;
    }
    if (!SaveRecordingOf(solver, req.out))
        return kSolveFailed;
    if (!req.route.empty()) {
        RouteText route;
        route.Add(1, solver.Route());
        if (!route.Save(req.route))
            return kSolveFailed;
    }
    return kSolveProved;
}

} // namespace

int main(int argc, char** argv)
{
    Request req;
    bool help = false;
    if (!Parse(argc, argv, req, help)) {
        std::fputs(SolveUsageText().c_str(), stderr);
        return kSolveUsage;
    }
    if (help) {
        std::fputs(SolveUsageText().c_str(), stdout);
        return kSolveProved;
    }
    const CommandLine cl = ParseCommandLine(req.gameArgs);
    if (const std::string why = Refusal(req, cl); !why.empty()) {
        std::fprintf(stderr, "zorbo_solve: %s\n\n%s", why.c_str(), SolveUsageText().c_str());
        return kSolveUsage;
    }
    Settings settings = cl.settings;
    settings.DataPath = FindDataPath(cl.dataDir, "");
    // The set is found as the game finds it: DIR's first, then the player's own.
    if (std::string error; !ChooseLevelSet(cl, PlayerLevelsFolder(), settings, error)) {
        std::fprintf(stderr, "zorbo_solve: %s\n", error.c_str());
        return kSolveFailed;
    }
    CatchSignals();
    req.options.cancel = &gCancel;
    if (req.progress)
        req.options.onProgress = PrintProgress;
    return req.each ? RunEach(req, settings) : RunGame(req, settings);
}
