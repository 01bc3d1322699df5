#include "editor/Prover.h"

#include "editor/TestPlay.h"
#include "media/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace zorbo::editor {

namespace fs = std::filesystem;

namespace {

// The solver's exit status for a clean stop (kSolveCancelled in tools/solver/SolveText.h).
constexpr int kSolverCancelled = 3;

std::string OutputFile(const std::string& folder, int d)
{
    return folder + "/proof-" + kProofDifficulties[static_cast<size_t>(d)].option + ".txt";
}

std::string RouteFile(const std::string& folder, int d)
{
    return folder + "/route-" + kProofDifficulties[static_cast<size_t>(d)].option + ".txt";
}

// The value of "key=" among a line's words, empty without it.
std::string_view Field(std::string_view line, std::string_view key)
{
    size_t at = 0;
    while (at < line.size()) {
        size_t end = line.find(' ', at);
        if (end == std::string_view::npos)
            end = line.size();
        const std::string_view word = line.substr(at, end - at);
        if (word.size() > key.size() && word.substr(0, key.size()) == key && word[key.size()] == '=')
            return word.substr(key.size() + 1);
        at = end + 1;
    }
    return {};
}

int Number(std::string_view line, std::string_view key, int otherwise)
{
    const std::string_view text = Field(line, key);
    int value = otherwise;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() ? value : otherwise;
}

std::string Join(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

// "2@57>140,3@150>20" as "pipe 2 (column 57 to 140), pipe 3 (column 150 to 20)".
std::string WarpWords(const std::string& machine)
{
    std::vector<std::string> pipes;
    std::stringstream in(machine);
    std::string one;
    while (std::getline(in, one, ',')) {
        const size_t at = one.find('@'), to = one.find('>');
        if (at == std::string::npos || to == std::string::npos || to < at)
            continue;
        pipes.push_back("pipe " + one.substr(0, at) + " (column " + one.substr(at + 1, to - at - 1) + " to " +
                        one.substr(to + 1) + ")");
    }
    return Join(pipes);
}

} // namespace

void ReadSolverLine(std::string_view line, ProofRun& run)
{
    if (line.substr(0, 9) == "progress ") {
        run.search = Number(line, "search", run.search);
        run.frames = Number(line, "frames", run.frames);
        run.maxFrames = Number(line, "max-frames", run.maxFrames);
        run.bestColumn = Number(line, "best-column", run.bestColumn);
    } else if (line.substr(0, 7) == "result ") {
        const std::string_view outcome = Field(line, "outcome");
        run.state = outcome == "solved"      ? ProofState::Solved
                    : outcome == "not-found" ? ProofState::NotFound
                                             : ProofState::Cancelled;
        run.frames = Number(line, "frames", run.frames);
        run.bestColumn = Number(line, "best-column", run.bestColumn);
        run.warps = std::string(Field(line, "warps"));
    }
}

double ProofFraction(const ProofRun& run)
{
    if (run.state == ProofState::Solved || run.state == ProofState::NotFound)
        return 1.0;
    if (run.maxFrames <= 0)
        return 0.0;
    const double done = (run.search - 1) * run.maxFrames + run.frames;
    return std::clamp(done / (2.0 * run.maxFrames), 0.0, 1.0);
}

std::vector<std::string> ProveArgs(const std::string& solver, const std::string& folder,
                                   const std::string& setName, int level, int d, const std::string& routeFile)
{
    return {solver, "--data", folder, "--level-set", setName,
            "--difficulty", kProofDifficulties[static_cast<size_t>(d)].option,
            "--each", "--level", std::to_string(level), "--progress", "--route", routeFile};
}

ProofRoute ParseRoute(std::string_view text)
{
    ProofRoute route;
    std::stringstream in{std::string(text)};
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        std::stringstream words(line);
        int proof = 0, frame = 0, level = 0;
        RouteSpot p;
        std::string warp;
        if (!(words >> proof >> frame >> level >> p.x >> p.y >> warp))
            continue;
        // Later proofs start from checkpoints, and the last frames of a level's proof may
        // already be the next level's.
        if (proof != 1 || (route.level != 0 && level != route.level))
            break;
        route.level = level;
        // The frame that takes a pipe puts him at its other end: the line breaks there.
        if (warp != "-" && !route.parts.empty()) {
            route.warps.push_back({route.parts.back().back(), p, std::atoi(warp.c_str())});
            route.parts.emplace_back();
        }
        if (route.parts.empty())
            route.parts.emplace_back();
        route.parts.back().push_back(p);
    }
    return route;
}

std::string ProofSummary(const std::array<ProofRun, ProofCount>& runs, bool stale)
{
    std::vector<std::string> found, missing, unfinished;
    int best = 0;
    std::string warps, failed;
    for (int d = 0; d < ProofCount; ++d) {
        const ProofRun& r = runs[static_cast<size_t>(d)];
        const std::string name = kProofDifficulties[static_cast<size_t>(d)].shown;
        switch (r.state) {
        case ProofState::Solved:
            found.push_back(name);
            if (warps.empty() && r.warps != "none")
                warps = WarpWords(r.warps);
            break;
        case ProofState::NotFound:
            missing.push_back(name);
            best = std::max(best, r.bestColumn);
            break;
        case ProofState::Failed:
            failed = r.problem;
            [[fallthrough]];
        default:
            unfinished.push_back(name);
        }
    }
    std::vector<std::string> parts;
    if (!found.empty())
        parts.push_back("finishable at " + Join(found) + (warps.empty() ? "" : " (through " + warps + ")"));
    if (!missing.empty())
        parts.push_back("not found at " + Join(missing) + " (best: column " + std::to_string(best) + ")");
    if (!unfinished.empty())
        parts.push_back("not proved at " + Join(unfinished) + (failed.empty() ? "" : " (" + failed + ")"));
    std::string text;
    for (const std::string& p : parts)
        text += (text.empty() ? "" : "; ") + p;
    return stale ? text + " (stale: the level changed since)" : text;
}

uint64_t LevelFingerprint(const LevelDocument& doc, int32_t level)
{
    // FNV-1a over the codes, row by row to the level's end.
    uint64_t hash = 1469598103934665603ull;
    const int32_t length = doc.Length(level);
    for (int32_t row = 0; row < Rows; ++row)
        for (int32_t col = 1; col <= length; ++col) {
            hash ^= static_cast<uint64_t>(doc.Code(level, row, col)) + 1;
            hash *= 1099511628211ull;
        }
    return hash ^ static_cast<uint64_t>(length);
}

// ---- the solver processes

std::string Prover::Start(const std::string& solver, const std::string& dataPath, const std::string& setName,
                          std::string_view setText, int level, uint64_t fingerprint)
{
    EndChildren();
    std::error_code ec;
    if (!fs::exists(solver, ec))
        return "The solver " + solver + " is missing: it is built and installed beside the editor.";
    std::string error;
    const std::string folder = MakePlayFolder(dataPath, setName, setText, error);
    if (folder.empty())
        return "Prove: " + error + ".";
    solver_ = solver;
    folder_ = folder;
    setName_ = setName;
    level_ = level;
    fingerprint_ = fingerprint;
    runs_ = {};
    children_ = {};
    route_ = {};
    routeFrom_ = ProofCount;
    StartNext();
    return {};
}

void Prover::StartNext()
{
    int running = 0;
    for (const ProofRun& r : runs_)
        running += r.state == ProofState::Running ? 1 : 0;
    for (int d = 0; d < ProofCount && running < kAtOnce; ++d) {
        ProofRun& run = runs_[static_cast<size_t>(d)];
        if (run.state != ProofState::Waiting)
            continue;
        ProgramStart start;
        start.args = ProveArgs(solver_, folder_, setName_, level_, d, RouteFile(folder_, d));
        start.output = OutputFile(folder_, d);
        std::string reason;
        const pid_t pid = StartProgram(start, reason);
        if (pid < 0) {
            run.state = ProofState::Failed;
            run.problem = "the solver cannot be started: " + reason;
            continue;
        }
        children_[static_cast<size_t>(d)] = Child{pid, 0, {}};
        run.state = ProofState::Running;
        ++running;
    }
}

// The output goes to a file that is read on from where the last poll stopped, so that a
// solver never waits on the editor and the editor never waits on a solver.
void Prover::ReadOutput(int d)
{
    Child& child = children_[static_cast<size_t>(d)];
    std::ifstream in(OutputFile(folder_, d), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(child.readTo));
    std::string fresh((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    child.readTo += fresh.size();
    child.partial += fresh;
    size_t start = 0;
    for (size_t end; (end = child.partial.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string_view line(child.partial.data() + start, end - start);
        ReadSolverLine(line, runs_[static_cast<size_t>(d)]);
        if (!line.empty() && line.substr(0, 9) != "progress " && line.substr(0, 7) != "result ")
            runs_[static_cast<size_t>(d)].problem = std::string(line);
    }
    child.partial.erase(0, start);
}

void Prover::Finish(int d, int status)
{
    ProofRun& run = runs_[static_cast<size_t>(d)];
    children_[static_cast<size_t>(d)].pid = 0;
    const bool cancelled = WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == kSolverCancelled);
    if (cancelled)
        run.state = ProofState::Cancelled;
    else if (run.state == ProofState::Running)
        run.state = ProofState::Failed; // it ended without a result line
    if (run.state == ProofState::Solved && d < routeFrom_) {
        std::ifstream in(RouteFile(folder_, d), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        route_ = ParseRoute(text);
        routeFrom_ = d;
    }
}

bool Prover::Poll()
{
    bool changed = false;
    for (int d = 0; d < ProofCount; ++d) {
        Child& child = children_[static_cast<size_t>(d)];
        if (child.pid <= 0)
            continue;
        const ProofRun before = runs_[static_cast<size_t>(d)];
        int status = 0;
        const pid_t done = ::waitpid(child.pid, &status, WNOHANG);
        ReadOutput(d); // after the wait, so that an ended solver's last lines are read
        if (done == child.pid)
            Finish(d, status);
        const ProofRun& after = runs_[static_cast<size_t>(d)];
        changed = changed || done == child.pid || after.frames != before.frames || after.search != before.search ||
                  after.state != before.state;
    }
    if (changed)
        StartNext();
    return changed;
}

void Prover::Cancel()
{
    for (int d = 0; d < ProofCount; ++d) {
        if (children_[static_cast<size_t>(d)].pid > 0)
            ::kill(children_[static_cast<size_t>(d)].pid, SIGTERM);
        if (runs_[static_cast<size_t>(d)].state == ProofState::Waiting)
            runs_[static_cast<size_t>(d)].state = ProofState::Cancelled;
    }
}

// A solver whose result line is read may still be writing its route: it is busy until
// it has ended and been waited for.
bool Prover::Busy() const
{
    return level_ > 0 &&
           (std::any_of(runs_.begin(), runs_.end(), [](const ProofRun& r) { return r.state == ProofState::Waiting; }) ||
            std::any_of(children_.begin(), children_.end(), [](const Child& c) { return c.pid > 0; }));
}

// Asked to stop, a solver does within a second; one that does not is ended.
void Prover::EndChildren()
{
    Cancel();
    for (int i = 0; i < 30; ++i) {
        bool left = false;
        for (Child& c : children_)
            if (c.pid > 0) {
                if (::waitpid(c.pid, nullptr, WNOHANG) == c.pid)
                    c.pid = 0;
                else
                    left = true;
            }
        if (!left)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    for (Child& c : children_)
        if (c.pid > 0) {
            ::kill(c.pid, SIGKILL);
            ::waitpid(c.pid, nullptr, 0);
            c.pid = 0;
        }
    if (!folder_.empty()) {
        std::error_code ec;
        fs::remove_all(folder_, ec);
        folder_.clear();
    }
}

Prover::~Prover()
{
    EndChildren();
}

} // namespace zorbo::editor
