// The shipped Standard level set: it passes the level-set check and uses every feature
// the game has.
#include "game/Hud.h"
#include "media/BitmapFile.h"
#include "level/LevelCheck.h"
#include "level/LevelFile.h"
#include "level/Rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace zorbo;

namespace {

const std::string kStandard = std::string(ZORBO_TEST_DATA_DIR) + "/Standard.txt";

struct Cell {
    int32_t row = 0;
    int32_t col = 0;
};

// The raw codes of the file, warp ends still told apart (76..79), and each level's width.
struct RawSet {
    std::unique_ptr<TileMap> codes = std::make_unique<TileMap>();
    std::array<int32_t, LevelFormat::Levels> width{};
    LevelFileSummary summary;

    std::vector<Cell> Find(int32_t level, int32_t code) const
    {
        std::vector<Cell> cells;
        for (int32_t row = 0; row < LevelFormat::RowsPerLevel; ++row)
            for (int32_t col = 1; col <= width[static_cast<size_t>(level)]; ++col)
                if (codes->At(level, row, col) == code)
                    cells.push_back({row, col});
        return cells;
    }
};

RawSet ReadStandard()
{
    RawSet set;
    std::string bytes, reason;
    EXPECT_TRUE(ReadFileBytes(kStandard, bytes, reason)) << reason;
    set.summary = ReadLevelSet(bytes, [&set](const LevelRow& row) {
        auto& w = set.width[static_cast<size_t>(row.level)];
        w = std::max(w, static_cast<int32_t>(row.text.size()));
        for (size_t i = 0; i < row.text.size(); ++i)
            set.codes->Set(row.level, row.row, static_cast<int32_t>(i) + 1,
                           static_cast<int32_t>(static_cast<uint8_t>(row.text[i])) - LevelFormat::FirstByte);
    });
    return set;
}

} // namespace

TEST(StandardLevels, PassesTheLevelSetCheckWithoutFindings)
{
    const LevelCheckResult r = CheckLevelSet(kStandard);
    ASSERT_TRUE(r.readable);
    EXPECT_TRUE(r.ok()) << r.Report("Standard.txt");
    EXPECT_TRUE(r.problems.empty()) << r.Report("Standard.txt");
}

TEST(StandardLevels, TenLevelsOfFifteenRowsWithTitles)
{
    const RawSet set = ReadStandard();
    EXPECT_TRUE(set.summary.valid());
    EXPECT_EQ(set.summary.separators, LevelFormat::Levels);
    for (int n = 0; n < LevelFormat::Levels; ++n)
        EXPECT_EQ(set.summary.sectionRows[static_cast<size_t>(n)], LevelFormat::RowsPerLevel) << "level " << n + 1;
    EXPECT_EQ(set.summary.titles[2], "Glowworm Cave");
    for (const std::string& title : set.summary.titles)
        EXPECT_FALSE(title.empty()) << "every level of the game's own set is named in its window";
}

TEST(StandardLevels, EachLevelHasOneStartInTheFirstViewAndAnEndWellBeforeTheDrawLimit)
{
    const RawSet set = ReadStandard();
    for (int32_t level = 0; level < LevelFormat::Levels; ++level) {
        SCOPED_TRACE("level " + std::to_string(level + 1));
        std::vector<Cell> starts = set.Find(level, Tile::HeroStart);
        std::erase_if(starts, [](const Cell& c) { return c.col > ScreenColumns; }); // checkpoints
        ASSERT_EQ(starts.size(), 1u);
        // The start stands on something: a solid cell somewhere below it.
        bool floor = false;
        for (int32_t row = starts[0].row + 1; row < LevelFormat::RowsPerLevel; ++row)
            floor = floor || IsSolid(set.codes->At(level, row, starts[0].col));
        EXPECT_TRUE(floor);

        const std::vector<Cell> ends = set.Find(level, Tile::LevelEnd);
        ASSERT_FALSE(ends.empty());
        for (const Cell& c : ends)
            EXPECT_LT(c.col, 500);
        // Levels run from about 150 to 400 columns and the floor goes on past the end.
        const int32_t width = set.width[static_cast<size_t>(level)];
        EXPECT_GE(width, 150);
        EXPECT_LE(width, 400);
        EXPECT_GE(width - ends.front().col, 20);
    }
}

// Later hero starts are checkpoints (the restart point moves to one as it comes into view,
// about ten columns before the hero gets there). Every level has one, the long ones two,
// each on safe ground by the rule of level/Rules.h.
TEST(StandardLevels, EveryLevelHasMarkedCheckpointsOnSafeGround)
{
    const RawSet set = ReadStandard();
    for (int32_t level = 0; level < LevelFormat::Levels; ++level) {
        SCOPED_TRACE("level " + std::to_string(level + 1));
        const auto code = [&](int32_t row, int32_t col) { return set.codes->At(level, row, col); };
        int32_t end = LevelFormat::MaxRowLength;
        for (const Cell& c : set.Find(level, Tile::LevelEnd))
            end = std::min(end, c.col);
        const std::vector<Checkpoint> checkpoints = LevelCheckpoints(code, end);
        EXPECT_GE(checkpoints.size(), end > 250 ? 2u : 1u);
        for (const Checkpoint& checkpoint : checkpoints) {
            const MapCell cp = checkpoint.cell;
            SCOPED_TRACE("checkpoint in column " + std::to_string(cp.col));
            EXPECT_GT(checkpoint.takenFrom, 0) << "the first view already shows it";
            EXPECT_LT(cp.col, end - 10);
            // On the lowest floor of its column with room to land: where the editor's test
            // start (and with it the solver's proof from a checkpoint) puts the hero, once
            // the start cells up to that column are emptied.
            const auto open = [&](int32_t r, int32_t c) { return !IsSolid(code(r, c)) || code(r, c) == Tile::HeroStart; };
            int32_t floorRow = -1;
            for (int32_t r = 13; r >= 0 && floorRow < 0; --r)
                if (open(r, cp.col) && open(r, cp.col + 1) && IsSolid(code(r + 1, cp.col)))
                    floorRow = r;
            EXPECT_EQ(cp.row, floorRow);
            EXPECT_TRUE(IsSolid(code(cp.row + 1, cp.col + 1)));
            // Marked by its flag, standing on the floor beside it.
            const MapCell flag = CheckpointFlagCell(cp);
            EXPECT_TRUE(IsCheckpointFlag(code(flag.row, flag.col)));
            EXPECT_TRUE(IsSolid(code(flag.row + 1, flag.col))) << "the flag floats";
            // No pit on the way from where it moves the restart point: a column with no
            // solid cell level with the checkpoint or below.
            const ColumnSpan run = CheckpointPitFree(cp.col);
            for (int32_t c = run.first; c <= run.last; ++c) {
                bool ground = false;
                for (int32_t r = cp.row; r < LevelFormat::RowsPerLevel; ++r)
                    ground = ground || IsSolid(code(r, c));
                EXPECT_TRUE(ground) << "a pit in column " << c;
            }
            // No enemy or hazard behind the restart point in its view, nor just ahead.
            const ColumnSpan clear = CheckpointEnemyFree(cp.col);
            for (int32_t c = clear.first; c <= clear.last; ++c)
                for (int32_t r = 0; r < LevelFormat::RowsPerLevel; ++r) {
                    const CodeRow* row = FindCode(code(r, c));
                    EXPECT_FALSE(row && (row->group == PaletteGroup::Enemies || row->group == PaletteGroup::Hazards))
                        << row->name << " at row " << r << ", column " << c;
                }
        }
    }
}

// A death never sends the player back further than MaxRestartStretch columns, and every
// flag marks a checkpoint.
TEST(StandardLevels, RestartPointsComeOftenAndFlagsMarkOnlyCheckpoints)
{
    const RawSet set = ReadStandard();
    for (int32_t level = 0; level < LevelFormat::Levels; ++level) {
        SCOPED_TRACE("level " + std::to_string(level + 1));
        const auto code = [&](int32_t row, int32_t col) { return set.codes->At(level, row, col); };
        const int32_t width = set.width[static_cast<size_t>(level)];
        ASSERT_GT(FirstLevelEndColumn(code, width), 0);
        for (const Stretch& s : LongStretches(code, width)) {
            ADD_FAILURE() << s.to - s.from << " columns from column " << s.from << " to column " << s.to;
        }
        const std::vector<Checkpoint> checkpoints = LevelCheckpoints(code, width);
        for (int32_t row = 0; row < LevelFormat::RowsPerLevel; ++row)
            for (int32_t col = 1; col <= width; ++col)
                if (IsCheckpointFlag(code(row, col))) {
                    EXPECT_TRUE(std::any_of(checkpoints.begin(), checkpoints.end(),
                                            [&](const Checkpoint& c) { return CheckpointFlagCell(c.cell) == MapCell{row, col}; }))
                        << "a flag at row " << row << ", column " << col << " beside no checkpoint";
                }
    }
}

TEST(StandardLevels, EveryObjectCodeAppears)
{
    const RawSet set = ReadStandard();
    std::set<int32_t> seen;
    for (int32_t level = 0; level < LevelFormat::Levels; ++level)
        for (int32_t row = 0; row < LevelFormat::RowsPerLevel; ++row)
            for (int32_t col = 1; col <= set.width[static_cast<size_t>(level)]; ++col)
                seen.insert(set.codes->At(level, row, col));
    const int32_t objects[] = {45, 84, 54, 82, 44, 46, 47, 48, 49, 87, 59, 86, 50, 51, 85, 68,
                               60, 61, 52, 53, 81, 56, 57, 62, 83, 63, 64, 65, 66, 67, 79, 55};
    for (int32_t code : objects)
        EXPECT_TRUE(seen.count(code)) << "object code " << code << " is used by no level";
    for (int32_t brick : {28, 37, 39, 80})
        EXPECT_TRUE(seen.count(brick)) << "brick " << brick << " is used by no level";
    for (int32_t warp : {76, 77, 78, 79})
        EXPECT_TRUE(seen.count(warp)) << "warp pipe " << warp - 75 << " is used by no level";
}

TEST(StandardLevels, BothBackgroundsAreUsed)
{
    // A level is dark when most of its empty cells are the night background.
    const RawSet set = ReadStandard();
    int dark = 0, light = 0;
    for (int32_t level = 0; level < LevelFormat::Levels; ++level) {
        int sky = 0, night = 0;
        for (int32_t row = 0; row < LevelFormat::RowsPerLevel; ++row)
            for (int32_t col = 1; col <= set.width[static_cast<size_t>(level)]; ++col) {
                sky += set.codes->At(level, row, col) == Tile::Background;
                night += set.codes->At(level, row, col) == Tile::Background2;
            }
        ++(night > sky ? dark : light);
    }
    EXPECT_GE(dark, 3);
    EXPECT_GE(light, 3);
}

TEST(StandardLevels, ElevatorsRunBothWays)
{
    const RawSet set = ReadStandard();
    int sideways = 0, upDown = 0;
    for (int32_t level = 0; level < LevelFormat::Levels; ++level) {
        // Ends pair in the order they come into view: column by column, top to bottom.
        std::vector<Cell> ends = set.Find(level, Tile::Elevator);
        std::stable_sort(ends.begin(), ends.end(), [](Cell a, Cell b) { return a.col < b.col; });
        ASSERT_EQ(ends.size() % 2, 0u) << "level " << level + 1;
        for (size_t i = 0; i + 1 < ends.size(); i += 2) {
            const Cell a = ends[i], b = ends[i + 1];
            if (a.row == b.row)
                ++sideways;
            else if (a.col == b.col)
                ++upDown;
            else
                ADD_FAILURE() << "level " << level + 1 << ": elevator ends at column " << a.col << " and " << b.col
                              << " share neither a row nor a column";
        }
    }
    EXPECT_GE(sideways, 2);
    EXPECT_GE(upDown, 2);
}

TEST(StandardLevels, WarpEndsComeInPairsFarApartAndLoadIntoTheWarpTable)
{
    const RawSet set = ReadStandard();
    int pipes = 0;
    for (int32_t level = 0; level < LevelFormat::Levels; ++level) {
        std::vector<int32_t> columns;
        for (int32_t pipe = 0; pipe < 4; ++pipe) {
            const std::vector<Cell> ends = set.Find(level, Tile::FirstWarp + pipe);
            ASSERT_TRUE(ends.empty() || ends.size() == 2) << "level " << level + 1 << " pipe " << pipe + 1;
            if (ends.size() == 2)
                ++pipes;
            for (const Cell& c : ends)
                columns.push_back(c.col);
        }
        std::sort(columns.begin(), columns.end());
        for (size_t i = 1; i < columns.size(); ++i)
            EXPECT_GE(columns[i] - columns[i - 1], 21) << "level " << level + 1;
    }
    EXPECT_GE(pipes, 4);

    // The loader's view of the same file: every pipe with two ends is complete.
    std::string bytes, reason;
    ASSERT_TRUE(ReadFileBytes(kStandard, bytes, reason));
    auto map = std::make_unique<TileMap>();
    WarpTable warps{};
    ReadLevelSet(bytes, [&](const LevelRow& row) { StoreLevelRow(row, *map, warps); });
    int complete = 0;
    for (const auto& level : warps)
        for (const WarpRecord& w : level) {
            EXPECT_NE(w.WarpState, WarpEnds::First);
            if (w.WarpState == WarpEnds::Both) {
                ++complete;
                EXPECT_NE(w.X1, w.X2);
            }
        }
    EXPECT_EQ(complete, pipes);
}

// The lives and coins text stands over the top map row, wherever the view is: every cell of
// that row, in every column a level has, must set it off (game/Hud.h).
TEST(StandardLevels, TheTopRowSetsTheLivesAndCoinsTextOff)
{
    const RawSet set = ReadStandard();
    std::array<Surface, Tile::Count> tiles;
    for (int32_t code = 0; code < Tile::Count; ++code) {
        char name[16];
        std::snprintf(name, sizeof name, "/m%03d.bmp", code);
        std::string error;
        EXPECT_TRUE(DecodeBitmap(ZORBO_TEST_DATA_DIR + std::string(name), tiles[static_cast<size_t>(code)], error)) << error;
    }
    const BandTable bands = BandLuminances([&tiles](int32_t code) -> const Surface& { return tiles[static_cast<size_t>(code)]; });
    EXPECT_LT(HudContrast(bands[Tile::Background]), HudMinContrast) << "the plain sky alone would be too light";
    EXPECT_GE(HudContrast(bands[Tile::Background2]), HudMinContrast) << "the night sky sets the text off";
    for (int32_t level = 0; level < LevelFormat::Levels; ++level) {
        const auto codeAt = [&set, level](int32_t row, int32_t col) { return set.codes->At(level, row, col); };
        const ColumnRun faint = FaintHudColumns(codeAt, set.width[static_cast<size_t>(level)], bands);
        EXPECT_EQ(faint.count, 0) << "level " << level + 1 << ": " << faint.count << " cells from column " << faint.first;
    }
}
