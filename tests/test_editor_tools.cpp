// The level editor's tools driven cell by cell as the mouse would, and test play started
// with a stand-in for the game.
#include "EditorDoc.h"
#include "LevelText.h"
#include "TestData.h"
#include "app/CommandLine.h"
#include "editor/TestPlay.h"
#include "editor/Tools.h"
#include "level/LevelFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <fstream>
#include <sstream>
#include <thread>

using namespace zorbo;
using namespace zorbo::editor;
using test::Byte;

namespace {

using test::Parse;

CellPos At(int32_t row, int32_t col, int32_t level = 0)
{
    return CellPos{level, row, col};
}

// A level's cells in a rectangle, row by row.
std::vector<int32_t> Cells(const LevelDocument& doc, const CellRect& r)
{
    std::vector<int32_t> out;
    for (int32_t row = r.row; row < r.row + r.rows; ++row)
        for (int32_t col = r.col; col < r.col + r.cols; ++col)
            out.push_back(doc.Code(r.level, row, col));
    return out;
}

void Drag(EditTools& tools, CellPos from, CellPos to, Button button = Button::Left, bool copy = false)
{
    tools.Press(from, button, copy);
    tools.Drag(to);
    tools.Release(to);
}

// ---- painting and erasing

TEST(EditorTools, AStrokePaintsEveryCellOnItsWayAndIsUndoneAsAWhole)
{
    LevelDocument doc = Parse(test::LevelSet().Text());
    EditTools tools(doc);
    tools.SetCode(29);
    // A fast diagonal drag: the mouse reports only its ends.
    tools.Press(At(2, 10), Button::Left);
    tools.Drag(At(5, 16));
    tools.Release(At(5, 16));
    int painted = 0;
    for (int32_t row = 0; row < 15; ++row)
        for (int32_t col = 1; col <= 30; ++col)
            painted += doc.Code(0, row, col) == 29;
    EXPECT_EQ(painted, 7) << "one cell per column from 10 to 16";
    for (int32_t col = 10; col <= 16; ++col) {
        int inColumn = 0;
        for (int32_t row = 2; row <= 5; ++row)
            inColumn += doc.Code(0, row, col) == 29;
        EXPECT_EQ(inColumn, 1) << "column " << col;
    }
    EXPECT_EQ(doc.Code(0, 2, 10), 29);
    EXPECT_EQ(doc.Code(0, 5, 16), 29);
    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.CanUndo()) << "the whole stroke is one step";
    EXPECT_EQ(doc.ToBytes(), test::LevelSet().Text());
}

TEST(EditorTools, ErasingLeavesNightBesideNightAndSkyElsewhere)
{
    test::LevelSet set;
    set.levels[0][4] = test::Row("....9#9...#");
    LevelDocument doc = Parse(set.Text());
    EditTools tools(doc);
    tools.Press(At(4, 6), Button::Right); // right button: erase in any tool
    tools.Release(At(4, 6));
    EXPECT_EQ(doc.Code(0, 4, 6), Tile::Background2);
    tools.SetTool(Tool::Erase);
    Drag(tools, At(4, 11), At(4, 11));
    EXPECT_EQ(doc.Code(0, 4, 11), Tile::Background);
    EXPECT_EQ(tools.code(), 26) << "erasing keeps the chosen code";
}

TEST(EditorTools, RectangleFillIsOneStepAndTheRightButtonEmptiesIt)
{
    LevelDocument doc = Parse(test::LevelSet().Text());
    EditTools tools(doc);
    tools.SetTool(Tool::Fill);
    tools.SetCode(40);
    tools.Press(At(3, 8), Button::Left);
    tools.Drag(At(1, 5));
    ASSERT_TRUE(tools.Outline());
    EXPECT_EQ(std::tie(tools.Outline()->row, tools.Outline()->col, tools.Outline()->rows, tools.Outline()->cols),
              std::make_tuple(1, 5, 3, 4));
    tools.Release(At(1, 5));
    EXPECT_FALSE(tools.Outline());
    EXPECT_EQ(Cells(doc, {0, 1, 5, 3, 4}), std::vector<int32_t>(12, 40));
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(Cells(doc, {0, 1, 5, 3, 4}), std::vector<int32_t>(12, 0)) << "one undo takes the whole rectangle";
    ASSERT_TRUE(doc.Redo());

    Drag(tools, At(2, 6), At(3, 7), Button::Right);
    EXPECT_EQ(Cells(doc, {0, 2, 6, 2, 2}), std::vector<int32_t>(4, 0));
    EXPECT_EQ(doc.Code(0, 1, 6), 40);
}

TEST(EditorTools, PickingChoosesTheCellsCodeAndGoesBackToTheTool)
{
    test::LevelSet set;
    set.levels[0][9] = test::Row("....B");
    LevelDocument doc = Parse(set.Text());
    EditTools tools(doc);
    tools.SetTool(Tool::Fill);
    tools.SetTool(Tool::Pick);
    tools.Press(At(9, 5), Button::Left);
    tools.Release(At(9, 5));
    EXPECT_EQ(tools.code(), 28);
    EXPECT_EQ(tools.tool(), Tool::Fill);
    // The middle button picks in any tool and changes nothing.
    const std::string before = doc.ToBytes();
    tools.Press(At(13, 2), Button::Middle);
    tools.Release(At(13, 2));
    EXPECT_EQ(tools.code(), 26);
    EXPECT_EQ(doc.ToBytes(), before);
    EXPECT_FALSE(doc.CanUndo());
}

// ---- the selection

struct SelectionCase : ::testing::Test {
    LevelDocument doc = Parse(test::LevelSet().Text());
    EditTools tools{doc};
    const std::vector<int32_t> block = {45, 28, 45, 29, 0, 29};

    void SetUp() override
    {
        for (size_t i = 0; i < block.size(); ++i)
            doc.Paint(0, 4 + static_cast<int32_t>(i / 3), 10 + static_cast<int32_t>(i % 3), block[i]);
        tools.SetTool(Tool::Select);
        Drag(tools, At(4, 10), At(5, 12));
    }
};

TEST_F(SelectionCase, DraggingSelectsARectangle)
{
    ASSERT_TRUE(tools.Selection());
    const CellRect r = *tools.Selection();
    EXPECT_EQ(std::tie(r.level, r.row, r.col, r.rows, r.cols), std::make_tuple(0, 4, 10, 2, 3));
    // A press outside it starts a new one.
    Drag(tools, At(8, 30), At(8, 30));
    EXPECT_EQ(tools.Selection()->col, 30);
    EXPECT_EQ(tools.Selection()->cols, 1);
}

TEST_F(SelectionCase, DraggingTheSelectionMovesItAndCtrlCopiesIt)
{
    Drag(tools, At(4, 11), At(6, 15)); // two rows down, four columns on
    EXPECT_EQ(Cells(doc, {0, 6, 14, 2, 3}), block);
    EXPECT_EQ(Cells(doc, {0, 4, 10, 2, 3}), std::vector<int32_t>(6, 0)) << "the cells left behind are empty";
    EXPECT_EQ(tools.Selection()->row, 6);
    EXPECT_EQ(tools.Selection()->col, 14);

    Drag(tools, At(6, 14), At(6, 24), Button::Left, true);
    EXPECT_EQ(Cells(doc, {0, 6, 24, 2, 3}), block);
    EXPECT_EQ(Cells(doc, {0, 6, 14, 2, 3}), block) << "a copy keeps the original";
    EXPECT_EQ(tools.Selection()->col, 24);
}

TEST_F(SelectionCase, CopyPasteCutAndDelete)
{
    EXPECT_FALSE(tools.HasClip());
    EXPECT_FALSE(tools.Paste(At(1, 40)));
    ASSERT_TRUE(tools.Copy());
    ASSERT_TRUE(tools.Paste(At(1, 40)));
    EXPECT_EQ(Cells(doc, {0, 1, 40, 2, 3}), block);
    EXPECT_EQ(tools.Selection()->col, 40) << "the pasted cells become the selection";

    // Pasted at the map's right edge: what does not fit is left out.
    ASSERT_TRUE(tools.Paste(At(1, 999)));
    EXPECT_EQ(Cells(doc, {0, 1, 999, 2, 2}), (std::vector<int32_t>{45, 28, 29, 0}));
    EXPECT_EQ(tools.Selection()->cols, 2);

    tools.SetSelection(CellRect{0, 4, 10, 2, 3});
    ASSERT_TRUE(tools.Cut());
    EXPECT_EQ(Cells(doc, {0, 4, 10, 2, 3}), std::vector<int32_t>(6, 0));
    ASSERT_TRUE(tools.Paste(At(9, 20)));
    EXPECT_EQ(Cells(doc, {0, 9, 20, 2, 3}), block);
    ASSERT_TRUE(tools.Delete());
    EXPECT_EQ(Cells(doc, {0, 9, 20, 2, 3}), std::vector<int32_t>(6, 0));
    tools.SetSelection(std::nullopt);
    EXPECT_FALSE(tools.Delete());
    EXPECT_FALSE(tools.Copy());
}

TEST_F(SelectionCase, ColumnsAreInsertedAndDeletedAsWideAsTheSelection)
{
    std::string error;
    const int32_t before = doc.Code(0, 13, 10);
    ASSERT_TRUE(tools.InsertColumns(0, 1, error)) << error;
    EXPECT_EQ(Cells(doc, {0, 4, 13, 2, 3}), block) << "three empty columns before the selection";
    EXPECT_EQ(Cells(doc, {0, 4, 10, 2, 3}), std::vector<int32_t>(6, 0));
    EXPECT_EQ(doc.Code(0, 13, 10), 0);
    EXPECT_EQ(doc.Code(0, 13, 13), before);
    ASSERT_TRUE(tools.DeleteColumns(0, 1));
    EXPECT_EQ(Cells(doc, {0, 4, 10, 2, 3}), block);
    EXPECT_FALSE(tools.Selection()) << "the deleted columns' selection goes with them";
    // Without a selection: one column, where asked.
    ASSERT_TRUE(tools.DeleteColumns(0, 10));
    EXPECT_EQ(Cells(doc, {0, 4, 10, 2, 2}), (std::vector<int32_t>{28, 45, 0, 29}));
}

// ---- stamps

// The stamp tool, holding the piece of that name.
EditTools StampTool(LevelDocument& doc, std::string_view name)
{
    EditTools tools(doc);
    tools.SetTool(Tool::Stamp);
    for (int n = 0; n < StampCount; ++n)
        if (kStamps[static_cast<size_t>(n)].name == name)
            tools.SetStamp(n);
    EXPECT_EQ(kStamps[static_cast<size_t>(tools.stamp())].name, name);
    return tools;
}

// The cells of a level that differ from the plain level's, as "row,col=code".
std::set<std::string> Changed(const LevelDocument& doc, int32_t level = 0)
{
    const LevelDocument plain = Parse(test::LevelSet().Text());
    std::set<std::string> out;
    for (int32_t row = 0; row < Rows; ++row)
        for (int32_t col = 1; col <= Columns; ++col)
            if (doc.Code(level, row, col) != plain.Code(level, row, col))
                out.insert(std::to_string(row) + "," + std::to_string(col) + "=" +
                           std::to_string(doc.Code(level, row, col)));
    return out;
}

TEST(EditorStamps, APipeIsAsHighAsTheDragWithItsPlantAboveTheMouth)
{
    LevelDocument doc = Parse(test::LevelSet().Text());
    EditTools tools = StampTool(doc, "Pipe with a plant");
    tools.Press(At(10, 20), Button::Left);
    tools.Drag(At(12, 23)); // sideways the drag changes nothing: a pipe is two wide
    ASSERT_TRUE(tools.Outline());
    const CellRect o = *tools.Outline();
    EXPECT_EQ(std::tie(o.row, o.col, o.rows, o.cols), std::make_tuple(9, 20, 4, 2)) << "the plant's row included";
    tools.Release(At(12, 23));
    EXPECT_EQ(Changed(doc), (std::set<std::string>{"9,20=52", "10,20=30", "10,21=31", "11,20=32", "11,21=34",
                                                   "12,20=32", "12,21=34"}));
    EXPECT_TRUE(doc.Modified());
    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.CanUndo()) << "the whole pipe is one step";
    EXPECT_EQ(doc.ToBytes(), test::LevelSet().Text());

    // Dragged upwards from the floor the same pipe comes out; on the top row the plant has
    // no room and is left out.
    EditTools plain = StampTool(doc, "Pipe");
    Drag(plain, At(12, 30), At(10, 30));
    EXPECT_EQ(Cells(doc, {0, 9, 30, 4, 2}), (std::vector<int32_t>{0, 0, 30, 31, 32, 34, 32, 34}));
    Drag(tools, At(0, 40), At(0, 40));
    EXPECT_EQ(Cells(doc, {0, 0, 40, 2, 2}), (std::vector<int32_t>{30, 31, 0, 0}));
}

TEST(EditorStamps, AHillRisesFromThePressedRowAsWideAsTheDrag)
{
    LevelDocument doc = Parse(test::LevelSet().Text());
    EditTools tools = StampTool(doc, "Hill");
    Drag(tools, At(12, 14), At(9, 10)); // leftwards, and the mouse strays up
    EXPECT_EQ(Changed(doc), (std::set<std::string>{"12,10=7", "12,11=11", "12,12=11", "12,13=11", "12,14=10",
                                                   "11,11=7", "11,12=8", "11,13=10"}));
    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.CanUndo());

    // Seven wide: three rows, the peak three wide; a click lays the narrowest hill.
    Drag(tools, At(12, 20), At(12, 26));
    EXPECT_EQ(Cells(doc, {0, 10, 20, 3, 7}), (std::vector<int32_t>{0, 0, 7, 8, 10, 0, 0,  //
                                                                    0, 7, 11, 11, 11, 10, 0, //
                                                                    7, 11, 11, 11, 11, 11, 10}));
    Drag(tools, At(5, 50), At(5, 50));
    EXPECT_EQ(Cells(doc, {0, 4, 50, 2, 3}), (std::vector<int32_t>{0, 0, 0, 7, 8, 10}));
}

TEST(EditorStamps, TheLevelEndColumnRisesFromTheClickToTheRowUnderTheTopRow)
{
    LevelDocument doc = Parse(test::LevelSet().Text());
    EditTools tools = StampTool(doc, "Level end column");
    Drag(tools, At(12, 50), At(12, 53));
    std::set<std::string> column;
    for (int32_t row = GoalTopRow; row <= 12; ++row)
        column.insert(std::to_string(row) + ",50=" + std::to_string(Tile::LevelEnd));
    EXPECT_EQ(Changed(doc), column);
    EXPECT_EQ(GoalTopRow, 1) << "row 0 frames the heads-up text";
    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.CanUndo());
}

TEST(EditorStamps, CloudsAndCastleWallsFollowTheDrag)
{
    LevelDocument doc = Parse(test::LevelSet().Text());
    EditTools cloud = StampTool(doc, "Cloud");
    Drag(cloud, At(3, 10), At(3, 13));
    Drag(cloud, At(5, 20), At(5, 20)); // a click: the shortest cloud
    EXPECT_EQ(Cells(doc, {0, 3, 10, 1, 4}), (std::vector<int32_t>{1, 2, 2, 3}));
    EXPECT_EQ(Cells(doc, {0, 5, 20, 1, 3}), (std::vector<int32_t>{1, 3, 0}));
    EditTools wall = StampTool(doc, "Castle wall");
    Drag(wall, At(8, 32), At(6, 30));
    EXPECT_EQ(Cells(doc, {0, 6, 30, 3, 3}), (std::vector<int32_t>{41, 41, 41, 40, 40, 40, 40, 40, 40}));
    // The right button erases in the stamp tool as in every other.
    Drag(wall, At(7, 31), At(7, 31), Button::Right);
    EXPECT_EQ(doc.Code(0, 7, 31), Tile::Background);
}

// ---- bucket fill

TEST(EditorBucket, FillsTheCellsJoinedSideBySideAndStopsAtOtherCodes)
{
    test::LevelSet set;
    // A ring of hard blocks around three sky cells, a sky cell touching it only at a corner.
    set.levels[0][4] = test::Row("....~~~~~");
    set.levels[0][5] = test::Row("....~...~");
    set.levels[0][6] = test::Row("....~~~~~");
    set.levels[0][7] = test::Row(".........~");
    LevelDocument doc = Parse(set.Text());
    ASSERT_TRUE(BucketFill(doc, At(5, 6), 40));
    EXPECT_EQ(Cells(doc, {0, 5, 5, 1, 5}), (std::vector<int32_t>{29, 40, 40, 40, 29}));
    EXPECT_EQ(doc.Code(0, 3, 6), 0) << "outside the ring stays sky";

    ASSERT_TRUE(BucketFill(doc, At(4, 5), 35)); // the ring itself
    EXPECT_EQ(Cells(doc, {0, 4, 5, 3, 5}), (std::vector<int32_t>{35, 35, 35, 35, 35, //
                                                                  35, 40, 40, 40, 35, //
                                                                  35, 35, 35, 35, 35}));
    EXPECT_EQ(doc.Code(0, 7, 10), 29) << "a cell meeting the ring at a corner is not joined to it";
    EXPECT_FALSE(BucketFill(doc, At(4, 5), 35)) << "the same code changes nothing";
    EXPECT_FALSE(BucketFill(doc, At(4, 5), Tile::Count));

    // Through the tool: one click, one step.
    EditTools tools(doc);
    tools.SetTool(Tool::Bucket);
    tools.SetCode(95);
    Drag(tools, At(5, 7), At(5, 7));
    EXPECT_EQ(Cells(doc, {0, 5, 6, 1, 3}), std::vector<int32_t>(3, 95));
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(Cells(doc, {0, 5, 6, 1, 3}), std::vector<int32_t>(3, 40));
}

TEST(EditorBucket, TheSkyOfAWholeLevelFillsToTheMapsEdgesAtOnce)
{
    LevelDocument doc = Parse(test::LevelSet().Text());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(BucketFill(doc, At(5, 10), 13));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    int filled = 0;
    for (int32_t row = 0; row < Rows; ++row)
        for (int32_t col = 1; col <= Columns; ++col)
            filled += doc.Code(0, row, col) == 13;
    // All but the floor (two rows of 60) and the hero start and level end.
    EXPECT_EQ(filled, Rows * Columns - 2 * 60 - 2);
    EXPECT_EQ(doc.Code(0, 14, Columns), 13) << "under the floor's end, round to the map's last cell";
    EXPECT_EQ(doc.Code(0, 13, 60), 26);
    EXPECT_EQ(Changed(doc, 1).size(), 0u) << "the next level is another map";
    ASSERT_TRUE(doc.Undo());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.ToBytes(), test::LevelSet().Text());
}

// ---- test play

// A stand-in for the game: it notes its arguments and what its data folder holds, then
// ends as told.
struct FakeGame {
    test::TempDir dir;
    test::GameData data;
    std::string program = dir.path() + "game.sh";

    explicit FakeGame(const std::string& ending = "exit 0")
    {
        std::ofstream(data.path() + "Other.txt") << "*\n";
        std::ofstream script(program);
        script << "#!/bin/sh\n"
               << "out='" << dir.path() << "'\n"
               << "printf '%s\\n' \"$@\" > \"$out/args\"\n"
               << "cp \"$2/$4.txt\" \"$out/set\"\n"
               << "[ -L \"$2/m000.bmp\" ] && echo yes > \"$out/pictures\"\n"
               << "[ -e \"$2/Other.txt\" ] && echo yes > \"$out/others\"\n"
               << ending << "\n";
        script.close();
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    }
    std::string Read(const std::string& name) const
    {
        return test::FileBytes(dir.path() + name);
    }
};

std::vector<std::string> WaitForGames(TestPlay& play)
{
    std::vector<std::string> failures;
    for (int i = 0; i < 200 && play.Running() > 0; ++i) {
        for (const std::string& f : play.Reap())
            failures.push_back(f);
        if (play.Running() > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    EXPECT_EQ(play.Running(), 0u);
    return failures;
}

TEST(EditorTestPlay, StartsTheGameOnTheTextBeingEditedAndCleansUpAfterIt)
{
    FakeGame game;
    TestPlay play;
    ASSERT_EQ(play.Start(game.program, game.data.path(), "My Set", "*the text\n", 3, 42), "");
    EXPECT_GT(play.LastPid(), 0);
    EXPECT_TRUE(WaitForGames(play).empty());

    std::istringstream args(game.Read("args"));
    std::vector<std::string> a;
    for (std::string line; std::getline(args, line);)
        a.push_back(line);
    ASSERT_EQ(a.size(), 9u);
    EXPECT_EQ(a[0], "--data");
    EXPECT_EQ(std::vector<std::string>(a.begin() + 2, a.end()),
              (std::vector<std::string>{"--level-set", "My Set", "--level", "3", "--start-column", "42",
                                        "--loop-level"}));
    EXPECT_EQ(ParseCommandLine(a).error, "") << "the game takes what the editor gives it";
    EXPECT_EQ(game.Read("set"), "*the text\n");
    EXPECT_EQ(game.Read("pictures"), "yes\n") << "the game's pictures are there";
    EXPECT_EQ(game.Read("others"), "") << "other level sets are not";
    EXPECT_FALSE(std::filesystem::exists(a[1])) << "the game's folder is removed once it has ended";
}

// Without a column the level begins at its own hero start: no --start-column at all.
TEST(EditorTestPlay, FromTheHeroStartTheGameIsGivenNoColumn)
{
    FakeGame game;
    TestPlay play;
    ASSERT_EQ(play.Start(game.program, game.data.path(), "Set", "*the text\n", 2, 0), "");
    EXPECT_TRUE(WaitForGames(play).empty());
    std::istringstream args(game.Read("args"));
    std::vector<std::string> a;
    for (std::string line; std::getline(args, line);)
        a.push_back(line);
    ASSERT_EQ(a.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(a.begin() + 2, a.end()),
              (std::vector<std::string>{"--level-set", "Set", "--level", "2", "--loop-level"}));
    EXPECT_EQ(ParseCommandLine(a).error, "");
}

TEST(EditorTestPlay, AGameThatFailsIsToldWithItsLastLine)
{
    FakeGame game("echo 'zorbo: the level set is broken' >&2; exit 1");
    TestPlay play;
    ASSERT_EQ(play.Start(game.program, game.data.path(), "Set", "x", 1, 1), "");
    EXPECT_EQ(WaitForGames(play), std::vector<std::string>{"Test play: zorbo: the level set is broken"});

    const std::string missing = play.Start(game.dir.path() + "no-game", game.data.path(), "Set", "x", 1, 1);
    EXPECT_NE(missing.find("cannot be started"), std::string::npos) << missing;
    EXPECT_EQ(play.Running(), 0u);
}

TEST(EditorTestPlay, TheSetIsNamedAfterItsFile)
{
    EXPECT_EQ(SetNameOf("/levels/My Set.txt"), "My Set");
    EXPECT_EQ(SetNameOf("Standard.txt"), "Standard");
    EXPECT_EQ(SetNameOf("notes"), "notes");
    EXPECT_EQ(SetNameOf(""), "Untitled");
}

} // namespace
