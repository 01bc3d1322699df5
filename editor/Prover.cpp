#include "editor/Prover.h"

#include "editor/TestPlay.h"
#include "media/ChildProcess.h"
#include "media/Fnv1a.h"

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

// The start a solver's own words are about, and the words without their "level  2 from
// column 131: " head: that column, 0 for "level  2: ", -1 for words of no one start.
int ReportColumn(std::string_view line, std::string_view& words)
{
    const size_t colon = line.find(": ");
    if (line.substr(0, 6) != "level " || colon == std::string_view::npos)
        return -1;
    words = line.substr(colon + 2);
    const std::string_view head = line.substr(0, colon);
    constexpr std::string_view from = " from column ";
    const size_t at = head.find(from);
    if (at == std::string_view::npos)
        return 0;
    std::string_view number = head.substr(at + from.size());
    number.remove_prefix(std::min(number.find_first_not_of(' '), number.size()));
    int column = -1;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), column);
    return ec == std::errc() && end == number.data() + number.size() ? column : -1;
}

// Whether a poll has anything new to show: a start's search went on or ended.
bool Moved(const DifficultyProof& before, const DifficultyProof& after)
{
    if (before.starts.size() != after.starts.size())
        return true;
    for (size_t i = 0; i < before.starts.size(); ++i) {
        const ProofRun &a = before.starts[i], &b = after.starts[i];
        if (a.frames != b.frames || a.search != b.search || a.state != b.state)
            return true;
    }
    return false;
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

ProofState DifficultyProof::State() const
{
    auto any = [this](ProofState state) {
        return std::any_of(starts.begin(), starts.end(), [state](const ProofRun& r) { return r.state == state; });
    };
    for (const ProofState state : {ProofState::Running, ProofState::Waiting, ProofState::Failed,
                                   ProofState::Cancelled, ProofState::NotFound})
        if (any(state))
            return state;
    return ProofState::Solved;
}

double DifficultyProof::Fraction() const
{
    double done = 0;
    for (const ProofRun& r : starts)
        done += ProofFraction(r);
    return starts.empty() ? 0.0 : done / static_cast<double>(starts.size());
}

void ReadSolverLine(std::string_view line, DifficultyProof& proof)
{
    std::vector<ProofRun>& starts = proof.starts;
    const bool machine = line.substr(0, 9) == "progress " || line.substr(0, 7) == "result ";
    std::string_view words = line;
    const int column = machine ? Number(line, "start-column", -1) : ReportColumn(line, words);
    if (column < 0) {
        // Words of no one start (the solver's problems) are about the one being proved.
        const auto current = std::find_if(starts.begin(), starts.end(),
                                          [](const ProofRun& r) { return r.state == ProofState::Running; });
        if (!machine && !line.empty() && current != starts.end())
            current->problem = std::string(line);
        return;
    }
    auto run = std::find_if(starts.begin(), starts.end(), [column](const ProofRun& r) { return r.startColumn == column; });
    if (!machine) {
        if (run != starts.end() && run->state == ProofState::Running)
            run->problem = std::string(words);
        return;
    }
    if (run == starts.end()) {
        starts.emplace_back().startColumn = column;
        run = starts.end() - 1;
        run->state = ProofState::Running;
    }
    // The solver proves the starts in turn: one it went past without a result it could not
    // start from.
    for (auto before = starts.begin(); before != run; ++before)
        if (before->state == ProofState::Running) {
            before->state = ProofState::Failed;
            if (before->problem.empty())
                before->problem = "the solver gave no result";
        }
    ReadSolverLine(line, *run);
}

std::vector<std::string> ProveArgs(const std::string& solver, const std::string& folder,
                                   const std::string& setName, int level, int d, const std::string& routeFile)
{
    return {solver, "--data", folder, "--level-set", setName,
            "--difficulty", kProofDifficulties[static_cast<size_t>(d)].option,
            "--each", "--level", std::to_string(level), "--checkpoints", "--progress", "--route", routeFile};
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

uint64_t LevelFingerprint(const LevelDocument& doc, int32_t level)
{
    // The codes, row by row to the level's end.
    Fnv1a hash;
    const int32_t length = doc.Length(level);
    for (int32_t row = 0; row < Rows; ++row)
        for (int32_t col = 1; col <= length; ++col)
            hash.Word(static_cast<uint64_t>(doc.Code(level, row, col)) + 1);
    return hash.Value() ^ static_cast<uint64_t>(length);
}

// ---- the solver processes

std::string Prover::Start(const std::string& solver, const std::string& dataPath, const std::string& setName,
                          std::string_view setText, int level, const std::vector<int32_t>& checkpointColumns,
                          uint64_t fingerprint)
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
    for (DifficultyProof& proof : runs_)
        for (const int32_t col : checkpointColumns)
            proof.starts.emplace_back().startColumn = col;
    children_ = {};
    route_ = {};
    routeFrom_ = ProofCount;
    StartNext();
    return {};
}

void Prover::StartNext()
{
    auto running = static_cast<int>(
        std::count_if(children_.begin(), children_.end(), [](const Child& c) { return c.pid > 0; }));
    for (int d = 0; d < ProofCount && running < kAtOnce; ++d) {
        DifficultyProof& proof = runs_[static_cast<size_t>(d)];
        if (proof.State() != ProofState::Waiting)
            continue;
        ProgramStart start;
        start.args = ProveArgs(solver_, folder_, setName_, level_, d, RouteFile(folder_, d));
        start.output = OutputFile(folder_, d);
        std::string reason;
        const pid_t pid = StartProgram(start, reason);
        for (ProofRun& run : proof.starts) {
            run.state = pid < 0 ? ProofState::Failed : ProofState::Running;
            if (pid < 0)
                run.problem = "the solver cannot be started: " + reason;
        }
        if (pid < 0)
            continue;
        children_[static_cast<size_t>(d)] = Child{pid, 0, {}};
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
    for (size_t end; (end = child.partial.find('\n', start)) != std::string::npos; start = end + 1)
        ReadSolverLine(std::string_view(child.partial.data() + start, end - start), runs_[static_cast<size_t>(d)]);
    child.partial.erase(0, start);
}

void Prover::Finish(int d, int status)
{
    DifficultyProof& proof = runs_[static_cast<size_t>(d)];
    children_[static_cast<size_t>(d)].pid = 0;
    const bool cancelled = WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == kSolverCancelled);
    for (ProofRun& run : proof.starts)
        if (run.state == ProofState::Running) // it ended without a result line for this start
            run.state = cancelled ? ProofState::Cancelled : ProofState::Failed;
    // A cancelled solver writes no route, even for the starts it had proved.
    if (!cancelled && proof.starts.front().state == ProofState::Solved && d < routeFrom_) {
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
        const DifficultyProof before = runs_[static_cast<size_t>(d)];
        int status = 0;
        const pid_t done = ::waitpid(child.pid, &status, WNOHANG);
        ReadOutput(d); // after the wait, so that an ended solver's last lines are read
        if (done == child.pid)
            Finish(d, status);
        changed = changed || done == child.pid || Moved(before, runs_[static_cast<size_t>(d)]);
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
        for (ProofRun& run : runs_[static_cast<size_t>(d)].starts)
            if (run.state == ProofState::Waiting)
                run.state = ProofState::Cancelled;
    }
}

// A solver whose result line is read may still be writing its route: it is busy until
// it has ended and been waited for.
bool Prover::Busy() const
{
    return level_ > 0 &&
           (std::any_of(runs_.begin(), runs_.end(),
                        [](const DifficultyProof& p) { return p.State() == ProofState::Waiting; }) ||
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
