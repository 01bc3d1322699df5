// Proving a level from the editor: the solver's command lines, its progress and result lines
// read into each difficulty's state and the sentence for the check list, the route cut at
// warp pipes, a proof gone stale after an edit, and the solver processes run and cancelled.
#include "EditorDoc.h"
#include "LevelText.h"
#include "TestData.h"
#include "editor/CheckList.h"
#include "editor/Prover.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

using namespace zorbo;
using namespace zorbo::editor;
using test::Parse;

namespace {

std::string Joined(const std::vector<std::string>& args)
{
    std::string text;
    for (const std::string& a : args)
        text += (text.empty() ? "" : " ") + a;
    return text;
}

ProofRun Read(std::initializer_list<const char*> lines)
{
    ProofRun run;
    run.state = ProofState::Running;
    for (const char* line : lines)
        ReadSolverLine(line, run);
    return run;
}

// One difficulty's solver lines read from the start, as the prover reads them once the
// solver is running, for the level's start and checkpoints at these columns.
DifficultyProof ReadAll(std::initializer_list<const char*> lines, std::initializer_list<int32_t> checkpoints)
{
    DifficultyProof proof;
    for (const int32_t col : checkpoints)
        proof.starts.emplace_back().startColumn = col;
    for (ProofRun& r : proof.starts)
        r.state = ProofState::Running;
    for (const char* line : lines)
        ReadSolverLine(line, proof);
    return proof;
}

std::string Result(int column, const char* outcome, int best)
{
    return "result level=2 start-column=" + std::to_string(column) + " outcome=" + outcome +
           " frames=300 best-column=" + std::to_string(best) + " states=9 warps=none";
}

} // namespace

TEST(EditorProve, CommandLineProvesOneLevelFromEachStartAtEachDifficulty)
{
    std::vector<std::string> seen;
    for (int d = 0; d < ProofCount; ++d)
        seen.push_back(Joined(ProveArgs("/bin/zorbo_solve", "/tmp/f", "My Set", 3, d, "/tmp/f/r.txt")));
    EXPECT_EQ(seen[0], "/bin/zorbo_solve --data /tmp/f --level-set My Set --difficulty easy --each --level 3 "
                       "--checkpoints --progress --route /tmp/f/r.txt");
    EXPECT_NE(seen[1].find("--difficulty normal "), std::string::npos);
    EXPECT_NE(seen[2].find("--difficulty difficult "), std::string::npos);
    EXPECT_NE(seen[3].find("--difficulty crazy "), std::string::npos);
    // The set's name is one argument however many words it has.
    EXPECT_EQ(ProveArgs("s", "f", "My Set", 1, 0, "r")[4], "My Set");
}

TEST(EditorProve, ProgressAndResultLinesMakeTheState)
{
    ProofRun run = Read({"progress level=2 start-column=0 search=1 frames=1000 max-frames=4000 best-column=40 states=9"});
    EXPECT_EQ(run.state, ProofState::Running);
    EXPECT_EQ(run.bestColumn, 40);
    EXPECT_DOUBLE_EQ(ProofFraction(run), 1000.0 / 8000.0);
    // The second search counts after the whole first one.
    ReadSolverLine("progress level=2 start-column=0 search=2 frames=2000 max-frames=4000 best-column=60 states=99", run);
    EXPECT_DOUBLE_EQ(ProofFraction(run), 6000.0 / 8000.0);
    ReadSolverLine("zorbo_solve: something said on the side", run);
    EXPECT_EQ(run.bestColumn, 60);

    ReadSolverLine("result level=2 start-column=0 outcome=not-found frames=4000 best-column=212 states=5 warps=none", run);
    EXPECT_EQ(run.state, ProofState::NotFound);
    EXPECT_EQ(run.bestColumn, 212);
    EXPECT_DOUBLE_EQ(ProofFraction(run), 1.0);

    const ProofRun solved =
        Read({"result level=2 start-column=0 outcome=solved frames=900 best-column=230 states=5 warps=2@57>140"});
    EXPECT_EQ(solved.state, ProofState::Solved);
    EXPECT_EQ(solved.warps, "2@57>140");
    EXPECT_EQ(Read({"result level=2 start-column=0 outcome=cancelled frames=9 best-column=3 states=5 warps=none"}).state,
              ProofState::Cancelled);
    // A number that is not one leaves the value it had.
    EXPECT_EQ(Read({"progress search=1 frames=12x max-frames=4000 best-column=7"}).frames, 0);
}

TEST(EditorProve, SummaryNamesTheDifficultiesAndTheBestColumn)
{
    ProofRuns proofs{};
    auto run = [&proofs](size_t d) -> ProofRun& { return proofs[d].starts[0]; };
    for (size_t d = 0; d < 3; ++d) {
        run(d).state = ProofState::Solved;
        run(d).warps = "none";
    }
    run(3).state = ProofState::NotFound;
    run(3).bestColumn = 212;
    const ProofRuns& runs = proofs;
    EXPECT_EQ(ProofSummary(runs, false), "finishable at Easy, Normal and Difficult; not found at Crazy (best: column 212)");
    EXPECT_EQ(ProofSummary(runs, true),
              "finishable at Easy, Normal and Difficult; not found at Crazy (best: column 212) "
              "(stale: the level changed since)");

    run(0).warps = "2@57>140,3@150>20";
    run(2).state = ProofState::Cancelled;
    run(3).state = ProofState::Failed;
    run(3).problem = "zorbo_solve: no such level set";
    EXPECT_EQ(ProofSummary(runs, false),
              "finishable at Easy and Normal (through pipe 2 (column 57 to 140) and pipe 3 (column 150 to 20)); "
              "not proved at Difficult and Crazy (zorbo_solve: no such level set)");
}

TEST(EditorProve, EachStartOfADifficultyHasItsOwnStateAndTheBarCoversThemAll)
{
    DifficultyProof proof = ReadAll(
        {"progress level=2 start-column=0 search=1 frames=1000 max-frames=4000 best-column=40 states=9"}, {120});
    EXPECT_EQ(proof.State(), ProofState::Running);
    EXPECT_DOUBLE_EQ(proof.Fraction(), (1000.0 / 8000.0) / 2);
    ReadSolverLine(Result(0, "solved", 230), proof);
    ReadSolverLine("level  2: finished in   500 frames (27.8 s of play; 9 frames searched, 0.6 s)", proof);
    ReadSolverLine("progress level=2 start-column=120 search=1 frames=2000 max-frames=4000 best-column=150 states=9",
                   proof);
    EXPECT_DOUBLE_EQ(proof.Fraction(), (1.0 + 2000.0 / 8000.0) / 2);
    EXPECT_EQ(proof.starts[0].state, ProofState::Solved);
    EXPECT_EQ(proof.starts[1].state, ProofState::Running);
    EXPECT_EQ(proof.starts[1].bestColumn, 150);
    EXPECT_TRUE(proof.starts[1].problem.empty()) << "the start's report is not the checkpoint's problem";
    ReadSolverLine(Result(120, "not-found", 188), proof);
    EXPECT_EQ(proof.starts[1].state, ProofState::NotFound);
    EXPECT_EQ(proof.starts[1].bestColumn, 188);
    EXPECT_EQ(proof.State(), ProofState::NotFound);
    EXPECT_DOUBLE_EQ(proof.Fraction(), 1.0);
}

TEST(EditorProve, ACheckpointTheSolverCannotStartFromFailsWithItsReason)
{
    const DifficultyProof proof =
        ReadAll({Result(0, "solved", 230).c_str(),
                 "level  2 from column 120: NOT a restart: the checkpoint is in row 9, the lowest floor there is row 12",
                 "progress level=2 start-column=200 search=1 frames=10 max-frames=4000 best-column=201 states=9"},
                {120, 200});
    EXPECT_EQ(proof.starts[1].state, ProofState::Failed);
    EXPECT_EQ(proof.starts[1].problem, "NOT a restart: the checkpoint is in row 9, the lowest floor there is row 12");
    EXPECT_EQ(proof.starts[2].state, ProofState::Running);
    EXPECT_EQ(proof.State(), ProofState::Running);
    // A start the editor did not expect still gets its result.
    const DifficultyProof extra = ReadAll({Result(0, "solved", 230).c_str(), Result(77, "solved", 230).c_str()}, {});
    ASSERT_EQ(extra.starts.size(), 2u);
    EXPECT_EQ(extra.starts[1].startColumn, 77);
    EXPECT_EQ(extra.State(), ProofState::Solved);
}

TEST(EditorProve, SummarySaysWhatEachStartFoundAndStartsAlikeOnce)
{
    ProofRuns runs{};
    const std::string solved0 = Result(0, "solved", 230), solved120 = Result(120, "solved", 230),
                      solved200 = Result(200, "solved", 230);
    for (DifficultyProof& p : runs)
        p = ReadAll({solved0.c_str(), solved120.c_str()}, {120});
    EXPECT_EQ(ProofSummary(runs, false),
              "From the start and the checkpoint at column 120: finishable at Easy, Normal, Difficult and Crazy");

    for (DifficultyProof& p : runs)
        p = ReadAll({solved0.c_str(), solved120.c_str(), solved200.c_str()}, {120, 200});
    EXPECT_EQ(ProofSummary(runs, true), "From the start and both checkpoints: finishable at Easy, Normal, Difficult "
                                        "and Crazy (stale: the level changed since)");

    const std::string missed120 = Result(120, "not-found", 188), missed120b = Result(120, "not-found", 170);
    runs[2] = ReadAll({solved0.c_str(), missed120.c_str()}, {120});
    runs[3] = ReadAll({solved0.c_str(), missed120b.c_str()}, {120});
    runs[0] = runs[1] = ReadAll({solved0.c_str(), solved120.c_str()}, {120});
    EXPECT_EQ(ProofSummary(runs, false),
              "From the start: finishable at Easy, Normal, Difficult and Crazy. From the checkpoint at column 120: "
              "finishable at Easy and Normal; not found at Difficult (best: column 188) and Crazy (best: column 170)");

    // Checkpoints alike are named together, after the start.
    const std::string missed200 = Result(200, "not-found", 188);
    for (DifficultyProof& p : runs)
        p = ReadAll({Result(0, "not-found", 100).c_str(), missed120.c_str(), missed200.c_str()}, {120, 200});
    EXPECT_EQ(ProofSummary(runs, false),
              "From the start: not found at Easy, Normal, Difficult and Crazy (best: column 100). From the "
              "checkpoints at columns 120 and 200: not found at Easy, Normal, Difficult and Crazy (best: column 188)");
}

// The check list shows each sentence of the proof on lines of its own, no wider than its
// column: the summary line is the sentences joined.
TEST(EditorProve, TheProofsSentencesWrapToTheListsWidth)
{
    ProofRuns runs{};
    const std::string solved0 = Result(0, "solved", 230), missed120 = Result(120, "not-found", 188);
    for (DifficultyProof& p : runs)
        p = ReadAll({solved0.c_str(), missed120.c_str()}, {120});
    const std::vector<std::string> sentences = ProofSentences(runs, true);
    ASSERT_EQ(sentences.size(), 2u);
    EXPECT_EQ(sentences[0] + ". " + sentences[1], ProofSummary(runs, true));
    EXPECT_EQ(sentences[1].rfind("From the checkpoint at column 120: not found", 0), 0u) << sentences[1];

    const auto letters = [](std::string_view text) { return static_cast<int>(text.size()); };
    const std::vector<std::string> lines = WrapText(sentences[1], 30, letters);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 30u) << line;
        EXPECT_FALSE(line.empty() || line.front() == ' ' || line.back() == ' ') << "[" << line << "]";
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_GT(lines.size(), 3u);
    EXPECT_EQ(joined, sentences[1]) << "no word is lost or split";
    EXPECT_EQ(WrapText("a enormous b", 5, letters), (std::vector<std::string>{"a", "enormous", "b"}))
        << "a word wider than the width stands alone";
    EXPECT_EQ(WrapText("", 5, letters), std::vector<std::string>{""});
}

TEST(EditorProve, RouteIsCutAtWarpsAndKeepsToTheFirstProof)
{
    const ProofRoute route = ParseRoute("proof frame level x y warp\n"
                                        "1 0 4 100 200 -\n"
                                        "1 1 4 102 200 -\n"
                                        "1 2 4 104 198 -\n"
                                        "1 3 4 2000 50 2\n"
                                        "1 4 4 2002 50 -\n"
                                        "1 5 5 48 192 -\n"
                                        "2 0 4 900 200 -\n"
                                        "2 1 4 902 200 -\n");
    EXPECT_EQ(route.level, 4);
    ASSERT_EQ(route.parts.size(), 2u);
    EXPECT_EQ(route.parts[0].size(), 3u);
    EXPECT_EQ(route.parts[1].size(), 2u);
    EXPECT_EQ(route.parts[1][0].x, 2000);
    ASSERT_EQ(route.warps.size(), 1u);
    EXPECT_EQ(route.warps[0].from.x, 104);
    EXPECT_EQ(route.warps[0].to.x, 2000);
    EXPECT_EQ(route.warps[0].pipe, 2);

    EXPECT_TRUE(ParseRoute("proof frame level x y warp\n").parts.empty());
    EXPECT_EQ(ParseRoute("proof frame level x y warp\n1 0 1 5 6 -\nbroken line\n1 1 1 7 6 -\n").parts[0].size(), 2u);
}

TEST(EditorProve, AnEditToTheLevelMakesTheProofStale)
{
    LevelDocument doc = Parse(test::LevelSet().Text());
    const uint64_t proved = LevelFingerprint(doc, 2);
    EXPECT_EQ(LevelFingerprint(doc, 2), proved);
    doc.Paint(3, 5, 10, 26); // another level
    EXPECT_EQ(LevelFingerprint(doc, 2), proved);
    doc.Paint(2, 5, 10, 26);
    EXPECT_NE(LevelFingerprint(doc, 2), proved);
    doc.Undo();
    EXPECT_EQ(LevelFingerprint(doc, 2), proved);
}

// A stand-in solver, so that the processes are tested without a real search.
class EditorProver : public ::testing::Test {
protected:
    std::string Solver(const std::string& body)
    {
        const std::string path = dir_.path() + "fake_solve";
        std::ofstream(path) << "#!/bin/sh\n" << body;
        ::chmod(path.c_str(), 0755);
        return path;
    }
    // Polls until the proof is over, for at most ten seconds.
    bool Settle(Prover& prover)
    {
        for (int i = 0; i < 200 && prover.Busy(); ++i) {
            prover.Poll();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return !prover.Busy();
    }
    test::TempDir dir_;
    test::TempDir data_;
};

TEST_F(EditorProver, RunsTheSolversAndReadsTheirRoutes)
{
    // Easy and Normal find a route, the others stop at column 30 (the fake reads its
    // --difficulty from its sixth argument and the route file from its thirteenth).
    const std::string solver = Solver(
        "echo progress level=1 start-column=0 search=1 frames=10 max-frames=100 best-column=9 states=1\n"
        "case $6 in easy|normal) outcome=solved;; *) outcome=not-found;; esac\n"
        "printf 'proof frame level x y warp\\n1 0 1 16 32 -\\n1 1 1 18 32 -\\n' > \"${13}\"\n"
        "echo result level=1 start-column=0 outcome=$outcome frames=2 best-column=30 states=3 warps=none\n"
        "[ $outcome = solved ]\n");
    Prover prover;
    ASSERT_EQ(prover.Start(solver, data_.path(), "Set", "text", 1, {}, 77), "");
    EXPECT_TRUE(prover.Busy());
    ASSERT_TRUE(Settle(prover));
    EXPECT_EQ(prover.Fingerprint(), 77u);
    EXPECT_EQ(ProofSummary(prover.Runs(), false), "finishable at Easy and Normal; not found at Difficult and Crazy "
                                                  "(best: column 30)");
    ASSERT_EQ(prover.Route().parts.size(), 1u);
    EXPECT_EQ(prover.Route().parts[0].size(), 2u);
}

TEST_F(EditorProver, ProvesFromTheCheckpointsAndDrawsTheRouteFromTheStart)
{
    // From its start only Normal finds a route; from the checkpoint every difficulty does.
    // Easy's route file begins at x 116 and Normal's at 16, each with the checkpoint's
    // proof after it: the route drawn is Normal's from the start.
    const std::string solver = Solver(
        "case $6 in normal) own=solved; x=16;; *) own=not-found; x=116;; esac\n"
        "echo progress level=1 start-column=0 search=1 frames=10 max-frames=100 best-column=9 states=1\n"
        "echo result level=1 start-column=0 outcome=$own frames=2 best-column=30 states=3 warps=none\n"
        "echo 'level  1: some words'\n"
        "echo progress level=1 start-column=120 search=1 frames=10 max-frames=100 best-column=125 states=1\n"
        "echo result level=1 start-column=120 outcome=solved frames=2 best-column=130 states=3 warps=none\n"
        "printf 'proof frame level x y warp\\n1 0 1 %s 32 -\\n1 1 1 18 32 -\\n2 0 1 1900 32 -\\n' $x > \"${13}\"\n"
        "[ $own = solved ]\n");
    Prover prover;
    ASSERT_EQ(prover.Start(solver, data_.path(), "Set", "text", 1, {120}, 0), "");
    ASSERT_TRUE(Settle(prover));
    for (const DifficultyProof& p : prover.Runs())
        ASSERT_EQ(p.starts.size(), 2u);
    EXPECT_EQ(ProofSummary(prover.Runs(), false),
              "From the start: finishable at Normal; not found at Easy, Difficult and Crazy (best: column 30). From "
              "the checkpoint at column 120: finishable at Easy, Normal, Difficult and Crazy");
    ASSERT_EQ(prover.Route().parts.size(), 1u);
    ASSERT_EQ(prover.Route().parts[0].size(), 2u);
    EXPECT_EQ(prover.Route().parts[0][0].x, 16);
}

TEST_F(EditorProver, ASolverIsWaitedForAfterItsResultLine)
{
    // Only Crazy finds a route, and it writes it a second after its result line, as the
    // solver writes its files last: the proof is not over until it has ended.
    const std::string solver = Solver(
        "case $6 in crazy) outcome=solved;; *) outcome=not-found;; esac\n"
        "echo result level=1 start-column=0 outcome=$outcome frames=2 best-column=30 states=3 warps=none\n"
        "[ $outcome = solved ] || exit 1\n"
        "sleep 1\n"
        "printf 'proof frame level x y warp\\n1 0 1 16 32 -\\n1 1 1 18 32 -\\n' > \"${13}\"\n");
    Prover prover;
    ASSERT_EQ(prover.Start(solver, data_.path(), "Set", "text", 1, {}, 0), "");
    ASSERT_TRUE(Settle(prover));
    EXPECT_EQ(prover.Runs()[3].State(), ProofState::Solved);
    EXPECT_EQ(prover.Route().parts.size(), 1u) << "the route written after the result line is read";
}

TEST_F(EditorProver, CancelStopsTheSolversAndTheWaitingOnes)
{
    // Each solver proves the start, then searches from the checkpoint until stopped.
    const std::string solver = Solver(
        "echo result level=1 start-column=0 outcome=solved frames=2 best-column=30 states=3 warps=none\n"
        "echo progress level=1 start-column=50 search=1 frames=1 max-frames=100 best-column=52 states=1\n"
        "exec sleep 30\n");
    Prover prover;
    ASSERT_EQ(prover.Start(solver, data_.path(), "Set", "text", 1, {50}, 0), "");
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < 100 && prover.Runs()[0].starts[0].state != ProofState::Solved; ++i) {
        prover.Poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    prover.Cancel();
    ASSERT_TRUE(Settle(prover));
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5));
    // What was found before the cancel stays found.
    EXPECT_EQ(prover.Runs()[0].starts[0].state, ProofState::Solved);
    for (const DifficultyProof& p : prover.Runs()) {
        EXPECT_EQ(p.State(), ProofState::Cancelled);
        EXPECT_EQ(p.starts[1].state, ProofState::Cancelled);
    }
    EXPECT_TRUE(prover.Route().parts.empty()) << "a cancelled solver writes no route";
}

TEST_F(EditorProver, AMissingSolverIsSaidSo)
{
    Prover prover;
    const std::string why = prover.Start(dir_.path() + "zorbo_solve", data_.path(), "Set", "text", 1, {}, 0);
    EXPECT_NE(why.find("missing"), std::string::npos) << why;
    EXPECT_FALSE(prover.Busy());
    EXPECT_FALSE(prover.Started());
}

TEST_F(EditorProver, ASolverThatEndsWithoutAResultFails)
{
    const std::string solver = Solver("echo 'zorbo_solve: the level set cannot be read' >&2\nexit 1\n");
    Prover prover;
    ASSERT_EQ(prover.Start(solver, data_.path(), "Set", "text", 1, {}, 0), "");
    ASSERT_TRUE(Settle(prover));
    EXPECT_EQ(prover.Runs()[0].State(), ProofState::Failed);
    EXPECT_EQ(prover.Runs()[0].starts[0].problem, "zorbo_solve: the level set cannot be read");
}
