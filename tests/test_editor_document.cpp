// The level editor's edit model: cells, edits and their history, the file kept byte for
// byte, saving, and the check's places mapped back to cells.
#include "EditorDoc.h"
#include "LevelText.h"
#include "TestData.h"
#include "editor/LevelDocument.h"
#include "level/LevelFile.h"
#include "level/Rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

using namespace zorbo;
using editor::CellPos;
using editor::CellRect;
using editor::LevelDocument;
using test::Byte;
using test::Row;

namespace {

using test::Parse;

// Every cell the editor shows is the cell the game loads from the saved text.
void ExpectGameSeesTheSameCells(const LevelDocument& doc)
{
    auto map = std::make_unique<TileMap>();
    WarpTable warps{};
    ReadLevelSet(doc.ToBytes(), [&](const LevelRow& row) { StoreLevelRow(row, *map, warps); });
    int wrong = 0;
    for (int32_t level = 0; level < 10; ++level)
        for (int32_t row = 0; row < 15; ++row)
            for (int32_t col = 1; col <= 1000; ++col) {
                int32_t code = doc.Code(level, row, col);
                if (code >= Tile::FirstWarp && code <= Tile::WarpMarker)
                    code = Tile::WarpMarker;
                if (code != map->At(level, row, col) && ++wrong <= 3)
                    ADD_FAILURE() << "level " << level << " row " << row << " column " << col;
            }
}

bool HasProblemAt(const LevelCheckResult& r, int line, int column, const std::string& words)
{
    for (const LevelProblem& p : r.problems)
        if (p.error && p.line == line && p.column == column && p.message.find(words) != std::string::npos)
            return true;
    return false;
}

std::string Where(const std::optional<CellPos>& c)
{
    return c ? std::to_string(c->level) + "/" + std::to_string(c->row) + "/" + std::to_string(c->col) : "none";
}

// The text of one line of a document, without its ending.
std::string LineText(const LevelDocument& doc, int line)
{
    std::istringstream in(doc.ToBytes());
    std::string text;
    for (int n = 0; n < line; ++n)
        std::getline(in, text);
    return text;
}

// Hand-made files that each keep some oddity of their own text.
std::vector<std::pair<std::string, std::string>> OddFiles()
{
    test::LevelSet set;
    set.levels[2][3] = Row("..o..o");          // rows of differing lengths
    set.levels[2][13] = Row(std::string(7, '#'));
    const std::string plain = set.Text();
    std::string mixed;
    const char* ends[] = {"\n", "\r", "\r\n"}; // never CR before an empty LF line: that reads as one CR LF
    size_t n = 0;
    for (char ch : plain)
        mixed += ch == '\n' ? ends[n++ % 3] : std::string(1, ch);
    test::LevelSet wide;
    wide.levels[5][13] = Row(std::string(1000, '#')) + "\t tail past the map \x01";
    return {
        {"CR LF", set.Text("\r\n")},
        {"CR", set.Text("\r")},
        {"byte-order mark", "\xEF\xBB\xBF" + plain},
        {"no final line end", plain.substr(0, plain.size() - 1)},
        {"lines after level ten", plain + "*notes\nzz\x01 anything\n\n"},
        {"blank lines before and after", "\n\n" + plain + "\n\n\n"},
        {"mixed line ends", mixed},
        {"a row past the map", wide.Text()},
        {"titled separators", "*1 Gr\xC3\xBCne Wiese \t*" + plain.substr(plain.find('\n'))},
    };
}

} // namespace

TEST(EditorDocument, TheStandardSetAndOddFilesComeBackByteForByte)
{
    const std::filesystem::path levels = std::filesystem::path(ZORBO_ASSETS_SOURCE_DIR) / "levels";
    int sets = 0;
    for (const auto& entry : std::filesystem::directory_iterator(levels)) {
        if (entry.path().extension() != ".txt")
            continue;
        ++sets;
        std::string error;
        const std::optional<LevelDocument> doc = LevelDocument::Load(entry.path().string(), error);
        ASSERT_TRUE(doc) << error;
        const std::string bytes = test::FileBytes(entry.path().string());
        EXPECT_EQ(doc->ToBytes(), bytes) << entry.path();
        EXPECT_FALSE(doc->Modified());
        EXPECT_TRUE(doc->Check().ok()) << doc->Check().Report(entry.path().string());
        ExpectGameSeesTheSameCells(*doc);
    }
    EXPECT_GE(sets, 1) << "Standard.txt is among the shipped sets";

    for (const auto& [name, bytes] : OddFiles()) {
        SCOPED_TRACE(name);
        LevelDocument doc = Parse(bytes);
        EXPECT_EQ(doc.ToBytes(), bytes);
        ExpectGameSeesTheSameCells(doc);
        // One painted floor cell changes one byte; undoing it gives the file back.
        int32_t floor = 0;
        while (floor < 15 && doc.Code(4, floor, 7) != 26)
            ++floor;
        doc.Paint(4, floor, 7, 28);
        EXPECT_EQ(doc.Code(4, floor, 7), 28);
        const std::string edited = doc.ToBytes();
        ASSERT_EQ(edited.size(), bytes.size());
        const auto first = std::mismatch(edited.begin(), edited.end(), bytes.begin()).first;
        ASSERT_NE(first, edited.end());
        EXPECT_EQ(*first, Byte(28));
        EXPECT_TRUE(std::equal(first + 1, edited.end(), bytes.begin() + (first - edited.begin()) + 1));
        ExpectGameSeesTheSameCells(doc);
        doc.Undo();
        EXPECT_EQ(doc.ToBytes(), bytes);
    }
}

TEST(EditorDocument, RefusesOnlyWhatTheGameRefuses)
{
    std::string error;
    EXPECT_FALSE(LevelDocument::FromBytes("*\naab!a\n", error));
    EXPECT_NE(error.find("line 2, column 4"), std::string::npos) << error;
    EXPECT_FALSE(LevelDocument::FromBytes("abc\n*\n", error));
    EXPECT_NE(error.find("line 1, column 1"), std::string::npos) << error;
    // Wrong row counts and missing levels are errors of the check, which editing can mend.
    EXPECT_TRUE(LevelDocument::FromBytes("*\nab\n", error));
    EXPECT_TRUE(LevelDocument::FromBytes("", error));

    test::TempDir dir;
    EXPECT_FALSE(LevelDocument::Load(dir.path() + "missing.txt", error));
    EXPECT_NE(error.find("missing.txt cannot be opened"), std::string::npos) << error;
    test::WriteFile(dir.path() + "bad.txt", "*\nab\xC8\n");
    EXPECT_FALSE(LevelDocument::Load(dir.path() + "bad.txt", error));
    EXPECT_NE(error.find("bad.txt: line 2, column 3"), std::string::npos) << error;
}

TEST(EditorDocument, ANewSetHasTenEmptyLevels)
{
    const LevelDocument doc;
    EXPECT_EQ(doc.Check().levels, 10);
    EXPECT_EQ(doc.Length(9), 0);
    EXPECT_EQ(doc.LineOf(1, 0), 18);
    EXPECT_EQ(doc.ToBytes().find('\r'), std::string::npos);
}

TEST(EditorDocument, EachEditIsOneStepThatUndoesAndRedoes)
{
    struct Case {
        const char* name;
        std::function<void(LevelDocument&)> edit;
        std::vector<std::array<int32_t, 4>> cells; // level, row, column and code after the edit
    };
    const Case cases[] = {
        {"paint past a row's end", [](LevelDocument& d) { d.Paint(0, 5, 8, 53); }, {{0, 5, 8, 53}, {0, 5, 7, 0}}},
        {"fill", [](LevelDocument& d) { d.Fill(CellRect{1, 2, 10, 3, 4}, 28); },
         {{1, 2, 10, 28}, {1, 4, 13, 28}, {1, 5, 10, 0}, {1, 2, 14, 0}}},
        {"fill cut at the map's edge", [](LevelDocument& d) { d.Fill(CellRect{4, 13, 998, 5, 10}, 26); },
         {{4, 14, 1000, 26}, {4, 13, 998, 26}, {4, 13, 997, 0}}},
        {"copy and paste into another level",
         [](LevelDocument& d) { d.Paste(2, 0, 50, d.Copy(CellRect{0, 12, 1, 3, 5})); },
         {{2, 0, 52, Tile::HeroStart}, {2, 1, 50, 26}, {2, 2, 54, 26}, {2, 12, 3, Tile::HeroStart}}},
        {"move", [](LevelDocument& d) { d.Move(CellRect{3, 12, 3, 1, 1}, -2, 5); },
         {{3, 12, 3, 0}, {3, 10, 8, Tile::HeroStart}}},
        {"move over its own cells", [](LevelDocument& d) { d.Move(CellRect{3, 13, 1, 2, 10}, 0, 3); },
         {{3, 13, 3, 0}, {3, 13, 4, 26}, {3, 14, 13, 26}}},
        {"move partly off the map", [](LevelDocument& d) { d.Move(CellRect{5, 12, 1, 3, 4}, 2, 0); },
         {{5, 14, 3, Tile::HeroStart}, {5, 12, 3, 0}, {5, 13, 1, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LevelDocument doc = Parse(test::LevelSet().Text());
        const std::string before = doc.ToBytes();
        c.edit(doc);
        const std::string after = doc.ToBytes();
        ASSERT_TRUE(doc.Undo());
        EXPECT_EQ(doc.ToBytes(), before);
        EXPECT_FALSE(doc.CanUndo()) << "one edit is one step";
        ASSERT_TRUE(doc.Redo());
        EXPECT_EQ(doc.ToBytes(), after);
        EXPECT_FALSE(doc.CanRedo());
        for (const auto& [level, row, col, code] : c.cells)
            EXPECT_EQ(doc.Code(level, row, col), code) << level << "/" << row << "/" << col;
        ExpectGameSeesTheSameCells(doc);
    }
}

TEST(EditorDocument, EditsThatChangeNothingAreNoStep)
{
    LevelDocument doc = Parse(test::LevelSet().Text());
    const std::string before = doc.ToBytes();
    doc.Paint(0, 12, 3, Tile::HeroStart); // its own code
    doc.Paint(0, 5, 20, 0);               // 0 past a row's end
    doc.Paint(0, 13, 1001, 26);           // outside the map
    doc.Paint(0, 5, 1, Tile::Count);      // no tile code
    doc.Fill(CellRect{0, -5, -5, 3, 3}, 26);
    doc.Move(CellRect{0, 12, 3, 1, 1}, 0, 0);
    doc.DeleteColumns(0, 200, 5);         // past every row's end
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.ToBytes(), before);

    // A new edit drops what could have been redone.
    doc.Paint(0, 0, 1, 1);
    doc.Undo();
    doc.Paint(0, 0, 2, 2);
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_FALSE(doc.Redo());
    EXPECT_EQ(doc.Code(0, 0, 1), 0);

    // A stroke of the brush is one step, however many cells it paints; undo ends it.
    const std::string beforeStroke = doc.ToBytes();
    doc.BeginGroup();
    doc.Paint(1, 4, 10, 26);
    doc.Paint(1, 4, 11, 26);
    doc.Paint(1, 5, 11, 37);
    doc.EndGroup();
    doc.Paint(1, 6, 11, 26);
    ASSERT_TRUE(doc.Undo());
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.ToBytes(), beforeStroke);
    ASSERT_TRUE(doc.Redo());
    EXPECT_EQ(doc.Code(1, 5, 11), 37);
    EXPECT_EQ(doc.Code(1, 6, 11), 0);
    doc.BeginGroup();
    doc.Paint(1, 7, 1, 26);
    doc.Undo();
    doc.Paint(1, 7, 2, 26); // after the undo: a step of its own
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.Code(1, 5, 11), 37);

    // A long history undoes all the way back.
    for (int32_t i = 0; i < 3000; ++i)
        doc.Paint(i % 10, i % 15, 1 + i % 997, 1 + i % 90);
    const std::string edited = doc.ToBytes();
    while (doc.Undo()) {
    }
    EXPECT_EQ(doc.ToBytes(), before);
    while (doc.Redo()) {
    }
    EXPECT_EQ(doc.ToBytes(), edited);
}

TEST(EditorDocument, ModifiedFollowsTheSavedPointInTheHistory)
{
    test::TempDir dir;
    const std::string path = dir.path() + "set.txt";
    LevelDocument doc = Parse(test::LevelSet().Text());
    EXPECT_FALSE(doc.Modified());
    doc.Paint(0, 0, 1, 5);
    EXPECT_TRUE(doc.Modified());
    doc.Undo();
    EXPECT_FALSE(doc.Modified());
    doc.Redo();
    std::string error;
    ASSERT_TRUE(doc.Save(path, error)) << error;
    EXPECT_FALSE(doc.Modified());
    doc.Undo();
    EXPECT_TRUE(doc.Modified());
    doc.Redo();
    EXPECT_FALSE(doc.Modified());
    // Once the saved state is undone and overwritten, no undo leads back to it.
    doc.Undo();
    doc.Paint(0, 0, 1, 6);
    EXPECT_TRUE(doc.Modified());
    doc.Undo();
    EXPECT_TRUE(doc.Modified());
}

TEST(EditorDocument, ColumnsShiftObjectsAndWarpPipesWithTheirCells)
{
    test::LevelSet set;
    set.levels[1][3] = Row("..........0");
    set.levels[1][11] = Row("...........................................0");
    set.levels[1][8] = Row(".........................=....=");
    LevelDocument doc = Parse(set.Text());
    const std::string before = doc.ToBytes();
    std::string error;

    ASSERT_TRUE(doc.InsertColumns(1, 20, 5, error)) << error;
    EXPECT_EQ(doc.Code(1, 12, 3), Tile::HeroStart) << "cells before the column stay";
    EXPECT_EQ(doc.Code(1, 3, 11), Tile::FirstWarp) << "a row that ends before the column is not lengthened";
    EXPECT_EQ(doc.Code(1, 11, 49), Tile::FirstWarp);
    EXPECT_EQ(doc.Code(1, 8, 36), Tile::Elevator);
    EXPECT_EQ(doc.Code(1, 12, 45), Tile::LevelEnd);
    EXPECT_EQ(doc.Length(1), 65);
    EXPECT_EQ(doc.Length(0), 60) << "other levels keep their columns";
    // The game pairs the warp ends where they now are.
    auto map = std::make_unique<TileMap>();
    WarpTable warps{};
    ReadLevelSet(doc.ToBytes(), [&](const LevelRow& row) { StoreLevelRow(row, *map, warps); });
    EXPECT_EQ(warps[1][0].X1, 10 * 16);
    EXPECT_EQ(warps[1][0].X2, 48 * 16);
    EXPECT_EQ(warps[1][0].Y2, 11 * 16);
    EXPECT_TRUE(doc.Check().ok()) << doc.Check().Report("set");

    doc.DeleteColumns(1, 20, 5);
    EXPECT_EQ(doc.ToBytes(), before) << "deleting the inserted columns gives the file back";
    doc.Undo();
    EXPECT_EQ(doc.Code(1, 11, 49), Tile::FirstWarp);
    doc.Undo();
    EXPECT_EQ(doc.ToBytes(), before);
    doc.Redo();
    EXPECT_EQ(doc.Code(1, 12, 45), Tile::LevelEnd);

    // Deleting across a warp end leaves its pipe one end short, which the check names.
    doc.DeleteColumns(1, 40, 20);
    EXPECT_EQ(doc.Code(1, 13, 40), 26);
    EXPECT_EQ(doc.Length(1), 45);
    EXPECT_TRUE(HasProblemAt(doc.Check(), doc.LineOf(1, 3), 11, "has 1 end"));
}

TEST(EditorDocument, AnInsertNeverPushesACellOffTheMap)
{
    test::LevelSet set;
    set.levels[0][13] = Row(std::string(997, '#') + "..."); // columns 998-1000 empty
    set.levels[0][14] = Row(std::string(1000, '#')) + "tail";
    LevelDocument doc = Parse(set.Text());
    const std::string before = doc.ToBytes();
    std::string error;
    EXPECT_FALSE(doc.InsertColumns(0, 1, 3, error));
    EXPECT_NE(error.find("row 14, column 998"), std::string::npos) << error;
    EXPECT_EQ(doc.ToBytes(), before);
    EXPECT_FALSE(doc.CanUndo());

    doc.Paint(0, 14, 998, 0);
    doc.Paint(0, 14, 999, 0);
    doc.Paint(0, 14, 1000, 0);
    ASSERT_TRUE(doc.InsertColumns(0, 5, 3, error)) << error;
    EXPECT_EQ(doc.Code(0, 13, 1000), 26);
    EXPECT_EQ(doc.Code(0, 13, 6), 0);
    EXPECT_EQ(doc.Code(0, 14, 8), 26);
    EXPECT_EQ(doc.Length(0), 1000);
    EXPECT_EQ(LineText(doc, doc.LineOf(0, 14)).substr(997), std::string(3, Byte(26)) + "tail")
        << "bytes past the map stay where they are";
    doc.DeleteColumns(0, 1, 2);
    EXPECT_EQ(doc.Code(0, 14, 998), 26);
    EXPECT_EQ(doc.Code(0, 14, 999), 0);
    EXPECT_EQ(LineText(doc, doc.LineOf(0, 14)).substr(1000), "tail");

    EXPECT_FALSE(doc.InsertColumns(0, 1001, 1, error));
    EXPECT_FALSE(doc.InsertColumns(10, 1, 1, error));
}

TEST(EditorDocument, EditingAMissingRowAddsItWhereTheLevelNeedsIt)
{
    // Level 2 has twelve rows, and the file ends without a line end after level 3.
    std::string text = "*1\r\n";
    for (int row = 0; row < 15; ++row)
        text += "bb\r\n";
    text += "*2\r\n";
    for (int row = 0; row < 12; ++row)
        text += "cc\r\n";
    text += "*3\r\ndd";
    LevelDocument doc = Parse(text);
    EXPECT_EQ(doc.Code(1, 13, 1), 0);
    EXPECT_EQ(doc.LineOf(1, 13), 0);
    EXPECT_TRUE(HasProblemAt(doc.Check(), 17, 1, "has 12 map rows"));

    doc.Paint(1, 13, 2, 26);
    EXPECT_EQ(doc.LineOf(1, 13), 31);
    EXPECT_EQ(doc.LineOf(2, 0), 33) << "the rows go in before the next separator";
    EXPECT_EQ(doc.Code(1, 13, 2), 26);
    EXPECT_EQ(doc.Code(2, 0, 1), 3);
    EXPECT_NE(doc.ToBytes().find("cc\r\n\r\na" + std::string(1, Byte(26)) + "\r\n*3"), std::string::npos)
        << "with the file's own line end";
    EXPECT_TRUE(HasProblemAt(doc.Check(), 17, 1, "has 14 map rows"));
    doc.Undo();
    EXPECT_EQ(doc.ToBytes(), text);

    // A level the file lacks comes at its end, with the levels before it.
    doc.Paint(4, 0, 1, 26);
    EXPECT_EQ(doc.Check().levels, 5);
    EXPECT_EQ(doc.Code(4, 0, 1), 26);
    EXPECT_EQ(doc.Code(2, 0, 1), 3);
    EXPECT_TRUE(doc.ToBytes().starts_with(text + "\r\n*Level 4\r\n"));
    doc.Undo();
    EXPECT_EQ(doc.ToBytes(), text);

    // An emptied last row keeps its line.
    doc.DeleteColumns(2, 1, 2);
    EXPECT_EQ(doc.ToBytes(), text.substr(0, text.size() - 2) + "\r\n");
    EXPECT_EQ(doc.Check().levels, 3);
}

TEST(EditorDocument, SavingIsAtomic)
{
    test::TempDir dir;
    const std::string path = dir.path() + "set.txt";
    const std::string old = test::LevelSet().Text("\r\n");
    test::WriteFile(path, old);
    std::string error;
    std::optional<LevelDocument> doc = LevelDocument::Load(path, error);
    ASSERT_TRUE(doc) << error;
    doc->Paint(0, 0, 1, 26);

    // A save that fails leaves the old file and the changes unsaved.
    EXPECT_FALSE(doc->Save(dir.path() + "no/such/folder/set.txt", error));
    EXPECT_NE(error.find("no such file"), std::string::npos) << error;
    EXPECT_FALSE(doc->Save(dir.path(), error));
    EXPECT_NE(error.find("a folder"), std::string::npos) << error;
    EXPECT_EQ(test::FileBytes(path), old);
    EXPECT_TRUE(doc->Modified());

    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_TRUE(doc->Save(path, error)) << error;
    EXPECT_FALSE(doc->Modified());
    EXPECT_EQ(test::FileBytes(path), doc->ToBytes());
    EXPECT_EQ(test::FolderNames(dir.path()), std::vector<std::string>{"set.txt"}) << "no temporary file stays";
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    const std::optional<LevelDocument> back = LevelDocument::Load(path, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->Code(0, 0, 1), 26);
}

TEST(EditorDocument, AFileIsOpenInOneEditorAtATime)
{
    test::TempDir dir;
    const std::string path = dir.path() + "set.txt";
    const std::string other = dir.path() + "copy.txt";
    test::WriteFile(path, test::LevelSet().Text());
    // A second editor, in a process of its own: 0 when it may open the file, 2 when it is
    // refused as open elsewhere (and may not save over it either).
    const auto secondEditor = [](const std::string& file) {
        return test::InOtherProcess([&file] {
            std::string error;
            if (LevelDocument::Load(file, error))
                return 0;
            LevelDocument fresh;
            std::string saveError;
            const bool refused = error == file + " is already open in another Zorbo editor" && !fresh.Save(file, saveError) &&
                                 saveError == "cannot save " + file + ": it is open in another Zorbo editor";
            return refused ? 2 : 1;
        });
    };

    std::string error;
    std::optional<LevelDocument> doc = LevelDocument::Load(path, error);
    ASSERT_TRUE(doc) << error;
    EXPECT_EQ(secondEditor(path), 2);
    // The same editor opens the file again (to start over from disk).
    std::optional<LevelDocument> again = LevelDocument::Load(path, error);
    ASSERT_TRUE(again) << error;
    again.reset();
    EXPECT_EQ(secondEditor(path), 2) << "the first document still holds it";

    // Saved under another name, the document holds that one instead.
    ASSERT_TRUE(doc->Save(other, error)) << error;
    EXPECT_EQ(secondEditor(path), 0);
    EXPECT_EQ(secondEditor(other), 2);
    doc.reset();
    EXPECT_EQ(secondEditor(other), 0) << "a closed document lets go";
}

TEST(EditorDocument, TheCheckNamesTheLineAndColumnOfAnEditedCell)
{
    // A byte-order mark and an empty line before the first level: rows start a line lower
    // and the game counts them from the second.
    test::LevelSet set;
    const std::string text = "\xEF\xBB\xBF\n" + set.Text();
    LevelDocument doc = Parse(text);
    EXPECT_EQ(doc.Code(0, 13, 3), Tile::HeroStart) << "the first map line is row 1";
    EXPECT_EQ(doc.LineOf(0, 1), 3);
    EXPECT_EQ(doc.LineOf(0, 0), 17);

    doc.Paint(3, 6, 30, Tile::FirstWarp + 1);
    const LevelCheckResult check = doc.Check();
    const int line = doc.LineOf(3, 6);
    EXPECT_EQ(line, 56) << "an empty line, then three levels of sixteen lines, then the separator and five rows";
    ASSERT_TRUE(HasProblemAt(check, line, 30, "warp pipe 2 of level 4 has 1 end")) << check.Report("set");
    EXPECT_EQ(Where(doc.CellAt(line, 30)), "3/6/30");
    EXPECT_EQ(Where(doc.CellAt(1, 1)), "none") << "the empty line before the first level";
    EXPECT_EQ(Where(doc.CellAt(2, 1)), "none") << "a separator";
    EXPECT_EQ(Where(doc.CellAt(line, 1001)), "none");
    EXPECT_EQ(Where(doc.CellAt(100000, 1)), "none");
}

// A level's title is its separator's text; editing it rewrites that text and nothing else.
TEST(EditorDocument, ATitleEditRewritesOnlyItsSeparatorsText)
{
    test::TempDir dir;
    const std::string path = dir.path() + "set.txt";
    std::string old = "\xEF\xBB\xBF" + test::LevelSet().Text("\r\n");
    const std::string sep3 = "*Level 3\r\n";
    old.replace(old.find(sep3), sep3.size(), "*3  Glowworm Cave \r\n");
    old += "*an eleventh separator without an ending";
    test::WriteFile(path, old);
    std::string error;
    std::optional<LevelDocument> doc = LevelDocument::Load(path, error);
    ASSERT_TRUE(doc) << error;

    EXPECT_EQ(doc->Title(2), "Glowworm Cave");
    EXPECT_EQ(doc->Title(0), "Level 1");
    EXPECT_EQ(LevelName(2, doc->Title(2)), "3 \xC2\xB7 Glowworm Cave");
    EXPECT_EQ(LevelName(4, ""), "5");

    EXPECT_FALSE(doc->SetTitle(2, " Glowworm Cave")) << "the same title is no step";
    EXPECT_FALSE(doc->CanUndo());
    ASSERT_TRUE(doc->SetTitle(2, "Ember Keep"));
    EXPECT_EQ(doc->Title(2), "Ember Keep");
    ASSERT_TRUE(doc->Save(path, error)) << error;
    std::string expected = old;
    expected.replace(expected.find("*3  Glowworm Cave \r\n"), 20, "*3 Ember Keep\r\n");
    EXPECT_EQ(test::FileBytes(path), expected);

    // A separator without a number gets the level's; a line break cannot split the line.
    ASSERT_TRUE(doc->SetTitle(0, "Up\nand\r\naway"));
    EXPECT_EQ(doc->Title(0), "Up and  away");
    EXPECT_EQ(doc->ToBytes().substr(3, 17), "*1 Up and  away\r\n");
    EXPECT_EQ(doc->Code(0, 12, 3), Tile::HeroStart) << "the rows stay where they were";
    ASSERT_TRUE(doc->SetTitle(1, ""));
    EXPECT_EQ(doc->Title(1), "");

    doc->Undo();
    doc->Undo();
    EXPECT_FALSE(doc->Modified());
    EXPECT_EQ(doc->ToBytes(), expected);
    doc->Undo();
    EXPECT_EQ(doc->ToBytes(), old);
    EXPECT_FALSE(doc->SetTitle(10, "no such level"));
}

TEST(EditorDocument, TitlingAMissingLevelAddsIt)
{
    LevelDocument doc = Parse("*1 One\n" + std::string(15, '\n'));
    ASSERT_TRUE(doc.SetTitle(3, "Four"));
    EXPECT_EQ(doc.Title(3), "Four");
    EXPECT_EQ(doc.Title(1), "Level 2");
    EXPECT_EQ(doc.Check().levels, 4);
    EXPECT_TRUE(doc.Undo());
    EXPECT_EQ(doc.ToBytes(), "*1 One\n" + std::string(15, '\n'));
}

// The file's layout rule wants all fifteen rows of a level alike in length: an edit that
// lengthens a row of an even level lengthens the others with it, in the same step; a level
// whose rows already differ keeps its text as written.
TEST(EditorDocument, ALevelWithEvenRowsStaysEvenWhenAnEditLengthensIt)
{
    test::LevelSet set;
    set.levels[1].fill(Row(std::string(30, '.')));
    set.levels[1][14] = Row(std::string(30, '#'));
    LevelDocument doc = Parse(set.Text());
    const std::string before = doc.ToBytes();

    doc.Paint(1, 7, 45, 26);
    for (int32_t row = 0; row < 15; ++row)
        EXPECT_EQ(doc.RowLength(1, row), 45) << "row " << row;
    EXPECT_EQ(doc.Code(1, 7, 45), 26);
    EXPECT_EQ(doc.Code(1, 14, 40), 0) << "the grown cells are code 0";
    ASSERT_TRUE(doc.Undo());
    EXPECT_EQ(doc.ToBytes(), before) << "the padding is part of the one step";

    doc.Paint(1, 7, 12, 26);
    EXPECT_EQ(doc.RowLength(1, 0), 30) << "an edit inside the rows leaves their length";

    doc.Paint(2, 0, 80, 26);
    EXPECT_EQ(doc.RowLength(2, 0), 80);
    EXPECT_EQ(doc.RowLength(2, 13), 60) << "uneven rows stay as their maker wrote them";
    EXPECT_EQ(doc.RowLength(2, 5), 0);
    ExpectGameSeesTheSameCells(doc);
}
