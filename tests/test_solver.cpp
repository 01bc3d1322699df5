#include "LevelText.h"
#include "Solver.h"
#include "TestData.h"
#include "record/Replay.h"

#include <gtest/gtest.h>

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
    set.levels[0] = test::MakeLevel({});
    // A wall far higher than any jump, with the level end behind it.
    for (int row = 0; row < 13; ++row)
        set.levels[0][static_cast<size_t>(row)] = test::Row(std::string(12, '.') + "#");
    set.levels[0][12] = test::Row("..H.........#......E");
    set.levels[0][13] = test::Row(std::string(30, '#'));
    set.levels[0][14] = test::Row(std::string(30, '#'));
    Use(set);

    small.maxFrames = 200;
    Solver solver(settings, small);
    const LevelResult r = solver.SolveLevel();
    EXPECT_FALSE(r.solved);
    EXPECT_FALSE(r.reason.empty());
    EXPECT_EQ(solver.Level(), 0) << "an unsolved level leaves the game at its start";
    EXPECT_TRUE(solver.Keys().empty());
}
