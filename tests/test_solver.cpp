#include "LevelText.h"
#include "SolveText.h"
#include "Solver.h"
#include "TestData.h"
#include "record/Replay.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <sstream>

using namespace zorbo;

namespace {

struct SolverFixture : testing::Test {
    test::GameData data;
    Settings settings;
    SolveOptions small;

    void Use(const test::LevelSet& set)
    {
        test::WriteFile(data.path() + "solve.txt", set.Text());
        settings.DataPath = data.path();
        settings.gLevelSet = "solve.txt";
        settings.gDifficulty = 26;
        small.beamWidth = 16;
        small.maxFrames = 600;
    }
};

// A level whose end lies behind a wall far higher than any jump, with no way round.
test::Level WalledOffLevel()
{
    test::Level level = test::MakeLevel({});
    for (size_t row = 0; row < 13; ++row)
        level[row] = test::Row(std::string(12, '.') + "#");
    level[12] = test::Row("..H.........#......E");
    level[13] = test::Row(std::string(30, '#'));
    level[14] = test::Row(std::string(30, '#'));
    return level;
}

// A level whose end lies behind a wall higher than any jump: pipe 1 leads from a pedestal
// left of the wall to a spot further right, from which the hero walks back left to the end.
// The warp takes him further from the end than he was.
test::Level WarpAwayLevel()
{
    std::array<std::string, 15> rows;
    rows.fill(std::string(100, '.'));
    rows[13] = rows[14] = std::string(100, '#');
    for (int row = 0; row < 13; ++row)
        rows[static_cast<size_t>(row)][35] = '#';
    rows[12][2] = 'H';
    rows[12][29] = rows[12][30] = '#';
    rows[11][30] = '0';
    rows[12][45] = 'E';
    rows[10][80] = '0';
    test::Level level;
    for (size_t row = 0; row < rows.size(); ++row)
        level[row] = test::Row(rows[row]);
    return level;
}

// "word key=value key=value" as a map, the word under "".
std::map<std::string, std::string> Fields(const std::string& line)
{
    std::map<std::string, std::string> fields;
    std::istringstream in(line);
    std::string word;
    in >> fields[""];
    while (in >> word) {
        const size_t eq = word.find('=');
        EXPECT_NE(eq, std::string::npos) << word;
        fields[word.substr(0, eq)] = word.substr(eq + 1);
    }
    return fields;
}

} // namespace

TEST_F(SolverFixture, FindsAJumpOverAPitAndItsRecordingReplays)
{
    test::LevelSet set;
    set.levels[0] = test::MakeLevel({});
    set.levels[0][12] = test::Row("..H.........................E");
    set.levels[0][13] = test::Row("###############....##########");
    set.levels[0][14] = test::Row("###############....##########");
    Use(set);

    Solver solver(settings, small);
    const LevelResult r = solver.SolveLevel();
    ASSERT_TRUE(r.solved) << r.reason;
    EXPECT_EQ(solver.Level(), 1);
    // Walking alone would drop into the pit: some frames must hold space.
    bool jumped = false;
    for (const auto& keys : solver.Keys())
        for (int32_t k : keys)
            jumped = jumped || k == Key::Space;
    EXPECT_TRUE(jumped);

    Recording rec;
    std::string error;
    ASSERT_TRUE(solver.Record(rec, error)) << error;
    const ReplayResult replay = ReplayHeadless(rec, settings);
    EXPECT_TRUE(replay.ok) << replay.message;
    EXPECT_EQ(replay.summary.substr(0, 7), "level 2");
}

TEST_F(SolverFixture, TakesAWarpPipeWhenAWallBarsTheWay)
{
    test::LevelSet set;
    set.levels[0] = test::MakeLevel({});
    // A wall too high to jump, and a pipe whose other end lies beyond it.
    for (int row = 0; row < 13; ++row)
        set.levels[0][static_cast<size_t>(row)] = test::Row(std::string(19, '.') + "#");
    set.levels[0][10] = test::Row(std::string(19, '.') + "#" + std::string(11, '.') + "0");
    set.levels[0][11] = test::Row(".........0.........#");
    set.levels[0][12] = test::Row("..H.....##.........#.................E");
    set.levels[0][13] = test::Row(std::string(45, '#'));
    set.levels[0][14] = test::Row(std::string(45, '#'));
    Use(set);

    Solver solver(settings, small);
    const LevelResult r = solver.SolveLevel();
    ASSERT_TRUE(r.solved) << r.reason;
    bool down = false;
    for (const auto& keys : solver.Keys())
        for (int32_t k : keys)
            down = down || k == Key::Down;
    EXPECT_TRUE(down) << "the only way on is down the pipe";

    Recording rec;
    std::string error;
    ASSERT_TRUE(solver.Record(rec, error)) << error;
    EXPECT_TRUE(ReplayHeadless(rec, settings).ok);
}

TEST_F(SolverFixture, ReportsALevelThatCannotBeFinished)
{
    test::LevelSet set;
    set.levels[0] = WalledOffLevel();
    Use(set);

    small.maxFrames = 4000;
    int lastFrames = 0;
    small.onProgress = [&](const SearchProgress& p) { lastFrames = p.frames; };
    Solver solver(settings, small);
    const LevelResult r = solver.SolveLevel();
    EXPECT_FALSE(r.solved);
    EXPECT_NE(r.reason.find("nowhere new"), std::string::npos) << r.reason;
    // Once the hero has been everywhere left of the wall the search gives up, long before
    // its frame limit.
    EXPECT_LT(lastFrames, small.stallFrames + 400);
    EXPECT_EQ(solver.Level(), 0) << "an unsolved level leaves the game at its start";
    EXPECT_TRUE(solver.Keys().empty());
}

TEST_F(SolverFixture, GoesThroughAPipeThatLeadsAwayFromTheEndAndSaysSo)
{
    test::LevelSet set;
    set.levels[0] = WarpAwayLevel();
    Use(set);
    small.maxFrames = 900;

    Solver solver(settings, small);
    const LevelResult r = solver.SolveLevel();
    ASSERT_TRUE(r.solved) << r.reason;
    ASSERT_EQ(r.warps.size(), 1U);
    EXPECT_EQ(r.warps[0].pipe, 1);
    EXPECT_NEAR(r.warps[0].fromColumn, 31, 1);
    EXPECT_NEAR(r.warps[0].toColumn, 81, 1);
    EXPECT_EQ(WarpList(r.warps, false), "warp 1 at column " + std::to_string(r.warps[0].fromColumn) +
                                            " -> column " + std::to_string(r.warps[0].toColumn));

    // The route has a point for every frame of keys, marks the warp's frame, and there the
    // hero stands at the pipe's far end.
    const std::vector<RoutePoint> route = solver.Route();
    ASSERT_EQ(route.size(), solver.Keys().size());
    int marked = 0;
    for (const RoutePoint& p : route) {
        EXPECT_EQ(p.frame, &p - route.data());
        if (p.warpPipe != 0) {
            ++marked;
            EXPECT_EQ(p.frame, r.warps[0].frame);
            EXPECT_EQ(p.x / 16 + 1, r.warps[0].toColumn);
        }
    }
    EXPECT_EQ(marked, 1);
    EXPECT_EQ(route.front().level, 1);
    EXPECT_EQ(route.back().level, 2) << "the last frame reaches the end";

    // The recording plays the same frames: its checkpoint at the level change comes after
    // as many frames as the route has.
    Recording rec;
    std::string error;
    ASSERT_TRUE(solver.Record(rec, error)) << error;
    const ReplayResult replay = ReplayHeadless(rec, settings);
    EXPECT_TRUE(replay.ok) << replay.message;
    EXPECT_EQ(replay.summary.substr(0, 7), "level 2");
    ASSERT_GE(rec.checkpoints.size(), 2U);
    EXPECT_EQ(rec.checkpoints[1].level, 1);
    EXPECT_EQ(rec.checkpoints[1].poll, static_cast<int64_t>(route.size()));
}

TEST_F(SolverFixture, ReportsProgressAndHowFarAnUnfinishableLevelGot)
{
    test::LevelSet set;
    set.levels[0] = WalledOffLevel();
    Use(set);
    small.maxFrames = 120;
    std::vector<SearchProgress> steps;
    small.onProgress = [&](const SearchProgress& p) { steps.push_back(p); };

    Solver solver(settings, small);
    const LevelResult r = solver.SolveLevel();
    ASSERT_FALSE(r.solved);
    EXPECT_FALSE(r.cancelled);
    // The hero gets up to the wall (column 13) and no further.
    EXPECT_GE(r.furthestColumn, 11);
    EXPECT_LE(r.furthestColumn, 12);

    // Two ways of searching, a step of four frames each: frames climb to the limit twice.
    ASSERT_EQ(steps.size(), 2U * 120 / 4);
    EXPECT_EQ(steps[0].frames, 4);
    EXPECT_EQ(steps[29].frames, 120);
    EXPECT_EQ(steps[29].search, 1);
    EXPECT_EQ(steps[30].frames, 4);
    EXPECT_EQ(steps[30].search, 2);
    for (size_t i = 1; i < steps.size(); ++i)
        EXPECT_GE(steps[i].statesTried, steps[i - 1].statesTried);
    EXPECT_EQ(steps.back().statesTried, r.statesTried);

    const auto progress = Fields(ProgressLine(steps.back()));
    EXPECT_EQ(progress.at(""), "progress");
    EXPECT_EQ(progress.at("level"), "1");
    EXPECT_EQ(progress.at("search"), "2");
    EXPECT_EQ(progress.at("frames"), "120");
    EXPECT_EQ(progress.at("max-frames"), "120");
    EXPECT_EQ(progress.at("best-column"), std::to_string(steps.back().bestColumn));
    EXPECT_EQ(progress.at("states"), std::to_string(r.statesTried));

    const auto result = Fields(ResultLine(r));
    EXPECT_EQ(result.at(""), "result");
    EXPECT_EQ(result.at("outcome"), "not-found");
    EXPECT_EQ(result.at("best-column"), std::to_string(r.furthestColumn));
    EXPECT_EQ(result.at("start-column"), "0");
    EXPECT_EQ(result.at("warps"), "none");
}

TEST_F(SolverFixture, ResultLineListsTheWarpsTaken)
{
    LevelResult r;
    r.level = 4;
    r.solved = true;
    r.frames = 300;
    r.warps = {{2, 100, 57, 140}, {1, 200, 150, 20}};
    const auto fields = Fields(ResultLine(r));
    EXPECT_EQ(fields.at("outcome"), "solved");
    EXPECT_EQ(fields.at("frames"), "300");
    EXPECT_EQ(fields.at("warps"), "2@57>140,1@150>20");
}

TEST_F(SolverFixture, ACancelStopsTheSearchAtItsNextStep)
{
    test::LevelSet set;
    set.levels[0] = WarpAwayLevel();
    Use(set);
    std::atomic<bool> cancel{false};
    int steps = 0;
    small.cancel = &cancel;
    small.onProgress = [&](const SearchProgress&) {
        if (++steps == 3)
            cancel = true;
    };

    Solver solver(settings, small);
    const LevelResult r = solver.SolveLevel();
    EXPECT_TRUE(r.cancelled);
    EXPECT_FALSE(r.solved);
    EXPECT_EQ(steps, 3) << "no step after the cancel, and no second way of searching";
    EXPECT_EQ(Fields(ResultLine(r)).at("outcome"), "cancelled");
    EXPECT_TRUE(solver.Keys().empty());
    EXPECT_EQ(solver.Level(), 0);
}

// The solver proves from the starts the editor marks as checkpoints: one the first view
// shows already (it moves the restart point at once) and one further in.
TEST_F(SolverFixture, ChecksFromTheCheckpointsTheEditorMarks)
{
    test::LevelSet set;
    test::Level level = test::MakeLevel({});
    level[12] = test::Row("..H" + std::string(11, '.') + "H" + std::string(29, '.') + "H");
    level[13] = test::Row(std::string(60, '#'));
    level[14] = test::Row(std::string(60, '#'));
    set.levels[0] = level;
    Use(set);
    const Solver solver(settings, small);
    EXPECT_EQ(solver.Checkpoints(), (std::vector<MapCell>{{12, 15}, {12, 45}}));
}
