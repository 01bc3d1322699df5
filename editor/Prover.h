#pragma once
// Proving a level: the solver run in the background on the level as it is being edited, at
// each difficulty, its progress read as it goes, and the hero's route it found kept for the
// map. Needs no window: the editor polls it from a timer.
#include "editor/LevelDocument.h"

#include <sys/types.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorbo::editor {

struct DifficultyName {
    const char* shown;   // "Easy", in the result and on the progress bars
    const char* option;  // "easy", the solver's --difficulty
};
inline constexpr std::array<DifficultyName, 4> kProofDifficulties = {
    {{"Easy", "easy"}, {"Normal", "normal"}, {"Difficult", "difficult"}, {"Crazy", "crazy"}}};
constexpr int ProofCount = static_cast<int>(kProofDifficulties.size());

enum class ProofState { Waiting, Running, Solved, NotFound, Cancelled, Failed };

// One start's proof at one difficulty, as far as its solver's lines tell.
struct ProofRun {
    int32_t startColumn = 0; // 0 for the level's own start, else the checkpoint's column
    ProofState state = ProofState::Waiting;
    int search = 1;       // 1 or 2: the second way of searching starts when the first fails
    int frames = 0;
    int maxFrames = 0;
    int bestColumn = 0;   // the furthest map column reached
    std::string warps;    // the solver's machine list ("2@57>140,..."), "none" for none
    std::string problem;  // for Failed: the solver's last words
};

// Reads one line of the solver's --progress output into the run; other lines are left alone.
void ReadSolverLine(std::string_view line, ProofRun& run);
// How far the run is, 0..1: done is 1, else the frames searched of the two searches' frames.
double ProofFraction(const ProofRun& run);

// One difficulty's proofs, all made by one solver: the level's start, then each checkpoint
// from left to right.
struct DifficultyProof {
    std::vector<ProofRun> starts = {ProofRun{}};

    // Solved when every start is, NotFound when none failed or was cut short, Running while
    // any start is left.
    ProofState State() const;
    // How far the starts are together, 0..1.
    double Fraction() const;
};
using ProofRuns = std::array<DifficultyProof, ProofCount>;

// Reads one line of a solver's output into the start it is about (by its start-column=, or
// for the solver's words by "from column C"); a start the solver went past without a
// result has failed.
void ReadSolverLine(std::string_view line, DifficultyProof& proof);

// The solver's command line that proves level (1..10) of the set setName.txt in folder at
// difficulty d (an index of kProofDifficulties) from its start and each checkpoint, writing
// the routes to routeFile.
std::vector<std::string> ProveArgs(const std::string& solver, const std::string& folder,
                                   const std::string& setName, int level, int d, const std::string& routeFile);

// The hero's route over the map in world pixels, cut where a warp pipe moved him.
struct RouteSpot {
    int32_t x = 0;
    int32_t y = 0;
};
struct RouteWarp {
    RouteSpot from, to;
    int pipe = 0;
};
struct ProofRoute {
    int level = 0;                                // 1..10, 0 for none
    std::vector<std::vector<RouteSpot>> parts;  // each drawn as one line
    std::vector<RouteWarp> warps;                 // drawn as marks, not as a line across the map
};
// The route of the first proof (the level's own start) in a route file's text.
ProofRoute ParseRoute(std::string_view text);

// A fingerprint of a level's cells and title: a proof holds while it is the same.
uint64_t LevelFingerprint(const LevelDocument& doc, int32_t level);

// The solver processes of one proof of one level, at most two at a time.
class Prover {
public:
    Prover() = default;
    ~Prover();
    Prover(const Prover&) = delete;
    Prover& operator=(const Prover&) = delete;

    // Starts proving level (1..10) of setText from its start and from the checkpoints in
    // checkpointColumns, in a folder like test play's. Empty when it started, else why not.
    // A proof still running is cancelled first.
    std::string Start(const std::string& solver, const std::string& dataPath, const std::string& setName,
                      std::string_view setText, int level, const std::vector<int32_t>& checkpointColumns,
                      uint64_t fingerprint);
    // Reads what the solvers wrote, reaps those that ended and starts the waiting ones.
    // True when anything changed.
    bool Poll();
    // Asks the running solvers to stop (SIGTERM); the waiting ones are not started.
    void Cancel();

    bool Busy() const;
    int Level() const { return level_; }
    uint64_t Fingerprint() const { return fingerprint_; }
    const ProofRuns& Runs() const { return runs_; }
    // The route from the level's start of the first difficulty that found one (the easiest).
    const ProofRoute& Route() const { return route_; }
    bool Started() const { return level_ > 0; }

    static constexpr int kAtOnce = 2;

private:
    struct Child {
        pid_t pid = 0;
        size_t readTo = 0; // bytes of its output read so far
        std::string partial;
    };
    void StartNext();
    void ReadOutput(int d);
    void Finish(int d, int status);
    void EndChildren();

    std::string solver_, folder_, setName_;
    int level_ = 0;
    uint64_t fingerprint_ = 0;
    ProofRuns runs_{};
    std::array<Child, ProofCount> children_{};
    ProofRoute route_;
    int routeFrom_ = ProofCount; // the difficulty route_ came from
};

} // namespace zorbo::editor
