// The Standard set's checkpoints played: a hero who restarts at one and does nothing keeps
// his life, since nothing in the restart view reaches him before he can move.
#include "game/GameWindow.h"
#include "media/HeadlessPlatform.h"
#include "level/LevelFile.h"
#include "level/Rules.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace zorbo;

namespace {

const std::string kStandard = std::string(ZORBO_TEST_DATA_DIR) + "/Standard.txt";

struct StandingStill : testing::TestWithParam<int32_t> {};

} // namespace

TEST_P(StandingStill, AHeroRestartingAtAnyStandardCheckpointKeepsHisLife)
{
    std::string bytes, reason;
    ASSERT_TRUE(ReadFileBytes(kStandard, bytes, reason)) << reason;
    auto map = std::make_unique<TileMap>();
    WarpTable warps{};
    ReadLevelSet(bytes, [&](const LevelRow& row) { StoreLevelRow(row, *map, warps); });

    const int32_t difficulty = GetParam();
    int checked = 0;
    for (int32_t level = 0; level < LevelFormat::Levels; ++level) {
        const auto codeAt = [&](int32_t row, int32_t col) { return map->At(level, row, col); };
        for (const Checkpoint& cp : LevelCheckpoints(codeAt, LastMapColumn)) {
            SCOPED_TRACE("level " + std::to_string(level + 1) + ", checkpoint in column " + std::to_string(cp.cell.col));
            // A start at the checkpoint's column stands the hero and the view as a restart
            // there does, and brings the same columns to life.
            HeadlessPlatform platform;
            Settings settings;
            settings.DataPath = std::string(ZORBO_TEST_DATA_DIR) + "/";
            settings.gDifficulty = difficulty;
            settings.gSoundOn = false;
            settings.gLevel = level;
            settings.StartColumn = cp.cell.col;
            GameWindow g(platform, settings);
            g.Startup();
            g.gLevel = level;
            g.gStartLevel = level;
            g.gStartColumn = cp.cell.col;
            g.ContinueGame();
            const int32_t lives = g.Lives;
            const int32_t frames = CheckpointQuietSeconds * difficulty;
            int32_t frame = 0;
            while (frame < frames && g.Lives == lives && g.sprPlayer.State != Hero::Dying) {
                g.Keyboard.Check_Keyboard();
                g.Game_Update(g.Timers.Elapsed);
                ++frame;
            }
            EXPECT_EQ(frame, frames) << "the hero dies after " << frame << " frames";
            ++checked;
        }
    }
    EXPECT_GE(checked, LevelFormat::Levels);
}

INSTANTIATE_TEST_SUITE_P(EveryDifficulty, StandingStill,
                         testing::Values(Difficulty::Easy, Difficulty::Normal, Difficulty::Difficult, Difficulty::Crazy));
