// The editor's own warnings: a top row too light for the lives and coins text, and rows of
// different lengths, each once per level and placed where a click shows it.
#include "EditorDoc.h"
#include "LevelText.h"
#include "editor/CheckList.h"
#include "game/Hud.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zorbo;
using namespace zorbo::editor;
using test::Byte;
using test::Parse;

namespace {

// Every tile dark, the plain sky and the cloud tile (1) light.
BandTable DarkButSky()
{
    BandTable bands{};
    bands.fill(0.0);
    bands[Tile::Background] = 0.9;
    bands[1] = 0.9;
    return bands;
}

// A set whose every row is 60 cells long: nothing to warn about until a test changes it.
test::LevelSet EvenSet()
{
    test::LevelSet set;
    for (test::Level& level : set.levels)
        for (std::string& row : level)
            row.resize(60, Byte(Tile::Background2));
    return set;
}

std::vector<CheckRow> Containing(const CheckList& list, const std::string& words)
{
    std::vector<CheckRow> rows;
    std::copy_if(list.rows.begin(), list.rows.end(), std::back_inserter(rows),
                 [&](const CheckRow& r) { return r.message.find(words) != std::string::npos; });
    return rows;
}

} // namespace

TEST(HudContrast, TheTextNeedsADarkBandUnderIt)
{
    Surface tile;
    tile.Create(16, 16);
    tile.BltColorFill(0xFFFFFF);
    EXPECT_NEAR(BandLuminance(tile), 1.0, 1e-9);
    EXPECT_LT(HudContrast(BandLuminance(tile)), HudMinContrast);
    // Only the rows under the letters count: light rows above and below them do not.
    for (int32_t y = HudBandFirstRow; y <= HudBandLastRow; ++y)
        for (int32_t x = 0; x < 16; ++x)
            tile.pixels()[static_cast<size_t>(y) * 16 + static_cast<size_t>(x)] = 0x000000;
    EXPECT_NEAR(BandLuminance(tile), 0.0, 1e-9);
    EXPECT_GE(HudContrast(BandLuminance(tile)), HudMinContrast);
    EXPECT_NEAR(HudContrast(0.0), HudContrast(BandLuminance(tile)), 1e-9);
    EXPECT_EQ(BandLuminance(Surface{}), 1.0) << "a missing picture counts as light";
}

TEST(HudContrast, FaintColumnsAreCountedFromTheFirstAndObjectsByTheirBackground)
{
    const BandTable bands = DarkButSky();
    test::Level level{};
    level[0] = test::Row("99.99.99H9") + Byte(1);
    // An object leaves the background its neighbours give: the hero start in column 9 goes
    // dark between nights, the one in the row "..H" below goes light among sky.
    auto codeAt = [&level](int32_t row, int32_t col) {
        if (row < 0 || row >= Rows)
            return 0; // outside the map, as CodeAt reads it
        const std::string& text = level[static_cast<size_t>(row)];
        return col >= 1 && static_cast<size_t>(col) <= text.size() ? static_cast<unsigned char>(text[static_cast<size_t>(col - 1)]) - 97 : 0;
    };
    ColumnRun run = FaintHudColumns(codeAt, 12, bands);
    EXPECT_EQ(run.first, 3);
    EXPECT_EQ(run.count, 4) << "columns 3, 6, 11 (a cloud) and 12 (past the row's end, sky)";
    level[0] = test::Row("..H");
    run = FaintHudColumns(codeAt, 2, bands);
    EXPECT_EQ(run.first, 1);
    EXPECT_EQ(run.count, 2) << "only the columns asked for";
    run = FaintHudColumns(codeAt, 3, bands);
    EXPECT_EQ(run.count, 3) << "a hero start among sky leaves sky";
    level[0] = test::Row("999");
    EXPECT_EQ(FaintHudColumns(codeAt, 3, bands).count, 0);
    EXPECT_EQ(FaintHudColumns(codeAt, 3, bands).first, 0);
}

TEST(EditorCheckList, ATopRowTooLightIsWarnedOncePerLevelWithItsColumns)
{
    const BandTable bands = DarkButSky();
    test::LevelSet set = EvenSet();
    set.levels[3][0].replace(9, 5, std::string(5, Byte(Tile::Background))); // columns 10..14
    set.levels[3][0][29] = Byte(1);                                           // column 30
    LevelDocument doc = Parse(set.Text());
    const CheckList list = CheckRows(doc, &bands);
    const std::vector<CheckRow> rows = Containing(list, "lives and coins");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FALSE(rows[0].error);
    EXPECT_EQ(rows[0].level, 4);
    ASSERT_TRUE(rows[0].cell);
    EXPECT_EQ(std::tie(rows[0].cell->level, rows[0].cell->row, rows[0].cell->col), std::make_tuple(3, 0, 10));
    EXPECT_NE(rows[0].message.find("in 6 columns from column 10"), std::string::npos) << rows[0].message;
    EXPECT_EQ(list.warnings, static_cast<int>(list.rows.size()) - list.errors);

    // Without the pictures it is not judged; once the row is dark again it is gone.
    EXPECT_TRUE(Containing(CheckRows(doc), "lives and coins").empty());
    doc.Fill(CellRect{3, 0, 1, 1, 60}, Tile::Background2);
    EXPECT_TRUE(Containing(CheckRows(doc, &bands), "lives and coins").empty());
}

TEST(EditorCheckList, RowsOfDifferentLengthsAreWarnedWithTheShortestAndLongest)
{
    test::LevelSet set = EvenSet();
    set.levels[6][4].resize(42);
    set.levels[6][9].resize(75, Byte(Tile::Background2));
    LevelDocument doc = Parse(set.Text());
    const std::vector<CheckRow> rows = Containing(CheckRows(doc), "different lengths");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].level, 7);
    EXPECT_NE(rows[0].message.find("level 7"), std::string::npos);
    EXPECT_NE(rows[0].message.find("(row 4) 42 columns, the longest 75"), std::string::npos) << rows[0].message;
    ASSERT_TRUE(rows[0].cell) << "a click shows where the short row ends";
    EXPECT_EQ(std::tie(rows[0].cell->level, rows[0].cell->row, rows[0].cell->col), std::make_tuple(6, 4, 43));

    // An edit that evens the rows out takes the warning away.
    doc.Fill(CellRect{6, 0, 43, Rows, 33}, Tile::Background2);
    EXPECT_TRUE(Containing(CheckRows(doc), "different lengths").empty());
}
