// The level-set file format: reading rows into the map and warp table, and the check.
#include "LevelText.h"
#include "TestData.h"
#include "level/LevelFile.h"
#include "level/Rules.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zorbo;
using test::Byte;
using test::Row;

namespace {

struct Tables {
    std::unique_ptr<TileMap> map = std::make_unique<TileMap>();
    WarpTable warps{};
    LevelFileSummary Load(const std::string& bytes)
    {
        return ReadLevelSet(bytes, [this](const LevelRow& row) { StoreLevelRow(row, *map, warps); });
    }
};

std::string Lines(std::initializer_list<std::string> lines, const std::string& eol = "\n")
{
    std::string out;
    for (const std::string& l : lines)
        out += l + eol;
    return out;
}

std::string Repeat(const std::string& line, int n, const std::string& eol = "\n")
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += line + eol;
    return out;
}

bool HasProblem(const LevelCheckResult& r, bool error, int line, int column, const std::string& words)
{
    for (const LevelProblem& p : r.problems)
        if (p.error == error && p.line == line && p.column == column && p.message.find(words) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(LevelFile, LevelsRowsAndColumnsLandWhereTheFileSays)
{
    Tables t;
    const std::string bytes = "*first level\n" + Repeat("aaaa", 15) + "*\n" + Repeat("bbb", 15);
    const LevelFileSummary s = t.Load(bytes);
    ASSERT_TRUE(s.valid());
    for (int row = 0; row < 15; ++row) {
        EXPECT_EQ(t.map->At(0, row, 0), 0) << "column 0 is never written";
        EXPECT_EQ(t.map->At(0, row, 4), 0);
        EXPECT_EQ(t.map->At(1, row, 3), 1);
        EXPECT_EQ(t.map->At(1, row, 4), 0);
    }
    EXPECT_EQ(s.separators, 2);
    EXPECT_EQ(s.sectionRows[0], 15);

    // A 1,200-byte row fills columns 1 to 1000 and drops the rest.
    Tables wide;
    wide.Load("*\n" + std::string(999, 'c') + "d" + std::string(200, 'e') + "\n");
    EXPECT_EQ(wide.map->At(0, 0, 999), 2);
    EXPECT_EQ(wide.map->At(0, 0, 1000), 3);
    EXPECT_EQ(wide.map->At(0, 1, 1), 0) << "the cut part is not a row of its own";
}

TEST(LevelFile, TheRowCounterRunsOverTheWholeFile)
{
    // An empty row leaves its cells alone but still counts; so does one before the first
    // separator, which moves every level down a row.
    Tables t;
    const LevelFileSummary s = t.Load(Lines({"", "*", "b", "", "c"}));
    EXPECT_EQ(s.leadingEmptyRows, 1);
    EXPECT_EQ(t.map->At(0, 0, 1), 0);
    EXPECT_EQ(t.map->At(0, 1, 1), 1);
    EXPECT_EQ(t.map->At(0, 2, 1), 0);
    EXPECT_EQ(t.map->At(0, 3, 1), 2);

    // A section of 16 rows wraps: its last row overwrites row 0, and the next level
    // starts at row 1.
    Tables over;
    over.Load("*\n" + Repeat("b", 15) + "c\n*\nd\n");
    EXPECT_EQ(over.map->At(0, 0, 1), 2);
    EXPECT_EQ(over.map->At(1, 1, 1), 3);
    EXPECT_EQ(over.map->At(1, 0, 1), 0);

    // Rows after the eleventh separator are ignored and do not move the counter.
    Tables many;
    std::string text;
    for (int n = 0; n < 10; ++n)
        text += "*\n" + Repeat("b", 15);
    text += "*extra\n" + Repeat("z", 20);
    const LevelFileSummary m = many.Load(text);
    EXPECT_EQ(m.ignoredLines, 20);
    EXPECT_EQ(many.map->At(9, 14, 1), 1);
}

TEST(LevelFile, WarpEndsArePairedInReadingOrder)
{
    Tables t;
    std::string level = "*\n";
    for (int row = 0; row < 15; ++row) {
        std::string line(45, 'a');
        if (row == 3)
            line[9] = Byte(76);
        if (row == 12) {
            line[39] = Byte(76);
            line[41] = Byte(76); // a third end of the same pipe
            line[42] = Byte(77);
        }
        level += line + "\n";
    }
    t.Load(level);
    const WarpRecord& w = t.warps[0][0];
    EXPECT_EQ((std::array<int, 5>{w.X1, w.Y1, w.X2, w.Y2, w.WarpState}), (std::array<int, 5>{144, 48, 624, 192, 1}));
    EXPECT_EQ(t.map->At(0, 3, 10), 79);
    EXPECT_EQ(t.map->At(0, 12, 40), 79);
    EXPECT_EQ(t.map->At(0, 12, 42), 79) << "the third end changes no record but is still a marker";
    EXPECT_EQ(t.warps[0][1].WarpState, WarpEnds::First);
    EXPECT_EQ(t.warps[0][1].X1, 42 * 16);

    // A used pair (cleared by the hero) is filled again by a reload; an unused one is kept.
    t.warps[0][0] = WarpRecord{};
    t.Load(level);
    EXPECT_EQ(t.warps[0][0].X2, 624);
    EXPECT_EQ(t.warps[0][0].WarpState, WarpEnds::Both);
    EXPECT_EQ(t.warps[0][1].WarpState, WarpEnds::Both) << "the lone end of pipe 1 met again completes the pair";
}

TEST(LevelFile, LineEndsAndByteOrderMarkDoNotChangeTheLevels)
{
    test::LevelSet set;
    set.levels[4][2] = Row("..o.?..M");
    Tables lf, crlf, cr, bom;
    lf.Load(set.Text("\n"));
    crlf.Load(set.Text("\r\n"));
    cr.Load(set.Text("\r"));
    const LevelFileSummary b = bom.Load("\xEF\xBB\xBF" + set.Text("\r\n"));
    EXPECT_TRUE(b.valid());
    for (int level = 0; level < 10; ++level)
        for (int row = 0; row < 15; ++row)
            for (int col = 0; col <= 60; ++col) {
                const int want = lf.map->At(level, row, col);
                ASSERT_EQ(crlf.map->At(level, row, col), want);
                ASSERT_EQ(cr.map->At(level, row, col), want);
                ASSERT_EQ(bom.map->At(level, row, col), want);
            }
    EXPECT_EQ(lf.map->At(4, 2, 3), 53);
    // "\n\r" is two line ends: the second one ends an empty row.
    Tables mixed;
    mixed.Load("*\nb\n\rc\n");
    EXPECT_EQ(mixed.map->At(0, 2, 1), 2);
}

TEST(LevelFile, BadBytesAndStrayRowsAreRefusedWithTheirPlace)
{
    test::LevelSet set;
    set.levels[1][5] = "aa aa\t";           // a space at column 3, a tab at 6
    std::string text = "stray\r\n" + set.Text("\r\n");
    const LevelFileSummary s = ReadLevelSet(text);
    EXPECT_FALSE(s.valid());
    ASSERT_EQ(s.problems.size(), 2u);
    EXPECT_EQ(s.problems[0].line, 1);
    EXPECT_NE(s.problems[0].message.find("before the first level separator"), std::string::npos);
    EXPECT_EQ(s.problems[1].line, 1 + 16 + 1 + 6);
    EXPECT_EQ(s.problems[1].column, 3);
    EXPECT_NE(s.problems[1].message.find("byte 32"), std::string::npos);
    EXPECT_NE(s.problems[1].message.find("the bytes 97 'a' to " + std::to_string(LevelFormat::LastByte)), std::string::npos)
        << s.problems[1].message;
    EXPECT_NE(s.problems[1].message.find("1 more"), std::string::npos);

    // Bytes past the last code (192 for code 95) are refused too; text after a separator's
    // '*' is not a row.
    EXPECT_GE(LevelFormat::LastByte, 192);
    EXPECT_FALSE(ReadLevelSet("*\n" + std::string(1, static_cast<char>(LevelFormat::LastByte + 1)) + "\n").valid());
    EXPECT_TRUE(ReadLevelSet("*  any text \x01\xff\n" + std::string(1, static_cast<char>(LevelFormat::LastByte)) + "\n").valid());

    // A binary file gets a bounded report.
    std::string junk = "*\n";
    for (int i = 0; i < 5000; ++i)
        junk += "\x02\n";
    const LevelFileSummary j = ReadLevelSet(junk);
    EXPECT_FALSE(j.valid());
    EXPECT_LE(j.problems.size(), 100u);
    EXPECT_TRUE(j.tooManyProblems);
}

TEST(LevelCheck, APlayableSetPassesAndReportsInCompilerStyle)
{
    test::TempDir data;
    test::LevelSet set;
    set.levels[9] = test::MakeLevel({"", "", "", "", "", "", "", "", "", "", "", "",
                                     "..H........................................E", std::string(60, '#'),
                                     std::string(60, '#')});
    const std::string path = data.path() + "good.txt";
    test::WriteFile(path, set.Text("\r\n") + "\r\n\r\n"); // trailing empty lines do no harm
    const LevelCheckResult r = CheckLevelSet(path);
    EXPECT_TRUE(r.readable);
    EXPECT_TRUE(r.ok()) << r.Report("good.txt");
    EXPECT_TRUE(r.problems.empty()) << r.Report("good.txt");
    EXPECT_EQ(r.FirstError("good.txt"), "");

    const LevelCheckResult missing = CheckLevelSet(data.path() + "nope.txt");
    EXPECT_FALSE(missing.readable);
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.FirstError("nope.txt").find("nope.txt"), std::string::npos);
    EXPECT_NE(missing.Report("nope.txt").find("nope.txt: error: the file cannot be opened"), std::string::npos);
    EXPECT_FALSE(CheckLevelSet(data.path()).readable) << "a folder is not a level set";
}

TEST(LevelCheck, StructuralErrorsCarryLineAndColumn)
{
    test::LevelSet set;
    set.levels[2][3] = Row(std::string(30, '.') + "H"); // level 3: start in column 31 only
    set.levels[2][12] = Row("...........E");
    std::string text = set.Text();
    // Level 5 loses a row: every later level starts a row higher.
    const size_t level5 = text.find("*Level 5\n");
    text.erase(level5 + 9, text.find('\n', level5 + 9) - level5 - 9 + 1);
    const LevelCheckResult r = CheckLevelSetBytes(text);
    EXPECT_FALSE(r.ok());
    EXPECT_TRUE(HasProblem(r, true, 2 * 16 + 1 + 4, 31, "hero start is in column 31")) << r.Report("f");
    EXPECT_TRUE(HasProblem(r, true, 4 * 16 + 1, 1, "level 5 has 14 map rows")) << r.Report("f");
    const std::string first = r.FirstError("f.txt");
    EXPECT_EQ(first.rfind("The level set f.txt, line 37, column 31: ", 0), 0u) << first;

    // Fewer than ten levels, and a level with no start at all.
    test::LevelSet few;
    few.levels[1][12] = Row(std::string(40, '.'));
    std::string seven;
    for (int n = 0; n < 7; ++n) {
        seven += "*\n";
        for (const std::string& row : few.levels[static_cast<size_t>(n)])
            seven += row + "\n";
    }
    const LevelCheckResult f = CheckLevelSetBytes(seven);
    EXPECT_TRUE(HasProblem(f, true, 0, 0, "holds 7 levels")) << f.Report("f");
    EXPECT_TRUE(HasProblem(f, true, 17, 1, "level 2 has no hero start")) << f.Report("f");
    EXPECT_TRUE(HasProblem(f, false, 17, 1, "no level-end tile")) << f.Report("f");
}

// The border strip hides a hero standing in the first column: the level plays, but its
// maker is told.
TEST(LevelCheck, AHeroStartUnderTheLeftBorderIsWarnedAbout)
{
    test::LevelSet set;
    set.levels[3][12] = Row("H......................................E");
    const LevelCheckResult r = CheckLevelSetBytes(set.Text());
    EXPECT_TRUE(r.ok());
    EXPECT_TRUE(HasProblem(r, false, 3 * 16 + 1 + 13, 1, "level 4: the hero start in column 1 stands under the screen's left border"))
        << r.Report("f");
    EXPECT_EQ(r.problems.size(), 1u) << "column 3 of the other levels is clear of it: " << r.Report("f");
}

TEST(LevelCheck, LevelEndWarpsAndElevators)
{
    test::LevelSet set;
    // Level 1: the level end only at column 985, beyond the drawing limit: a warning.
    set.levels[0][12] = Row("..H");
    set.levels[0][12] += std::string(981, Byte(0)) + Byte(58);
    // Level 2: pipe 0 has one end; pipes 1 ends are 10 columns apart.
    set.levels[1][5] = Row("......0......................1.........1");
    // Level 3: elevator ends: a vertical pair in column 8, then a pair that shares nothing.
    set.levels[2][2] = Row(".......=");
    set.levels[2][6] = Row(".......=");
    set.levels[2][4] = Row(std::string(30, '.') + "=");
    set.levels[2][9] = Row(std::string(35, '.') + "=");
    const LevelCheckResult r = CheckLevelSetBytes(set.Text());
    const std::string report = r.Report("s.txt");
    EXPECT_TRUE(HasProblem(r, false, 1, 1, "level 1 has no level-end tile")) << report;
    EXPECT_TRUE(HasProblem(r, true, 16 + 1 + 6, 7, "warp pipe 1 of level 2 has 1 end")) << report;
    EXPECT_TRUE(HasProblem(r, true, 16 + 1 + 6, 40, "within one screen width")) << report;
    EXPECT_TRUE(HasProblem(r, true, 32 + 1 + 10, 36, "shares neither a row nor a column")) << report;
    EXPECT_TRUE(HasProblem(r, false, 32 + 1 + 5, 31, "no partner")) << report;
    EXPECT_EQ(report.find("s.txt:23:40: error: this warp end"), report.find("s.txt:23:40:")) << report;
    EXPECT_FALSE(r.ok());

    // Warnings alone leave the file playable.
    test::LevelSet warnOnly;
    warnOnly.levels[6][12] = Row("..H");
    const LevelCheckResult w = CheckLevelSetBytes(warnOnly.Text());
    EXPECT_TRUE(w.ok()) << w.Report("w");
    EXPECT_EQ(w.problems.size(), 1u) << w.Report("w");
}

// Players see a checkpoint by its flag, and a death never sends them back more than
// MaxRestartStretch columns: both are warnings, the set still plays.
TEST(LevelCheck, CheckpointsWantTheirFlagAndComeOftenEnough)
{
    test::LevelSet set;
    // `what` starting `n` columns after the last cell written.
    const auto on = [](int n, const std::string& what) { return std::string(static_cast<size_t>(n - 1), '.') + what; };
    // Level 1: a checkpoint at column 60 with its flag (code 23) beside it; the end 140
    // columns on: nothing to say.
    set.levels[0][12] = Row("..H" + on(56, "xH") + on(140, "E"));
    // Level 2: the checkpoint at 60 has no flag; the one at 120 has the night flag (code
    // 18); a flag at row 11, column 90 stands beside nothing.
    set.levels[1][11] = Row(on(90, "x"));
    set.levels[1][12] = Row("..H" + on(57, "H") + on(59, "sH") + on(80, "E"));
    // Level 3: from the start at 3 straight to the end at 160; level 4: from its
    // checkpoint at 30 to the end at 182.
    set.levels[2][12] = Row("..H" + on(157, "E"));
    set.levels[3][12] = Row("..H" + on(26, "xH") + on(152, "E"));
    const LevelCheckResult r = CheckLevelSetBytes(set.Text());
    const std::string report = r.Report("s.txt");
    EXPECT_TRUE(r.ok()) << report;
    const int line2 = 17 + 1 + 12, line3 = 33, line4 = 49; // row 12 of level 2, the separators of 3 and 4
    EXPECT_TRUE(HasProblem(r, false, line2, 60, "this checkpoint has no flag")) << report;
    EXPECT_TRUE(HasProblem(r, false, line2 - 1, 90, "flag stands beside no checkpoint")) << report;
    EXPECT_TRUE(HasProblem(r, false, line3, 1, "level 3 runs 157 columns from its restart point in column 3 to its end in column 160"))
        << report;
    EXPECT_TRUE(HasProblem(r, false, line4, 1, "level 4 runs 152 columns from its restart point in column 30 to its end"))
        << report;
    EXPECT_EQ(r.problems.size(), 4u) << report;
}

TEST(LevelCheck, RowsLongerThanTheMapAreWarnedAboutAndStillPlay)
{
    test::LevelSet set;
    set.levels[0][3] = std::string(1200, Byte(0));            // line 5
    for (size_t row = 0; row < 12; ++row)
        set.levels[1][row] += std::string(1001, Byte(0));     // lines 18..29
    const std::string text = set.Text();
    const LevelCheckResult r = CheckLevelSetBytes(text);
    EXPECT_TRUE(r.ok()) << r.Report("l");
    EXPECT_TRUE(HasProblem(r, false, 5, 1001, "row is 1200 bytes long; the map ends at column 1000"))
        << r.Report("l");
    EXPECT_TRUE(HasProblem(r, false, 18, 1001, "row is 1001 bytes long")) << r.Report("l");
    EXPECT_TRUE(HasProblem(r, false, 26, 1001, "row is 1001 bytes long")) << r.Report("l");
    EXPECT_FALSE(HasProblem(r, false, 27, 1001, "bytes long")) << "ten are named, the rest counted";
    EXPECT_TRUE(HasProblem(r, false, 0, 0, "3 more map row(s) are longer than 1000 bytes")) << r.Report("l");
    EXPECT_TRUE(ReadLevelSet(text).valid()) << "the loader still takes the file";

    // Separator lines are not map rows, however long.
    std::string longSeparator = test::LevelSet().Text();
    longSeparator.insert(1, std::string(2000, '-'));
    EXPECT_TRUE(CheckLevelSetBytes(longSeparator).problems.empty()) << CheckLevelSetBytes(longSeparator).Report("l");
}

TEST(LevelCheck, TheSummaryLineCountsLevelsErrorsAndWarnings)
{
    test::LevelSet set;
    EXPECT_EQ(CheckLevelSetBytes(set.Text()).Summary("s.txt"), "s.txt: 10 levels, no problems");
    set.levels[6][12] = Row("..H"); // no level end: one warning
    EXPECT_EQ(CheckLevelSetBytes(set.Text()).Summary("s.txt"), "s.txt: 10 levels, 1 warning; the game plays it");
    set.levels[2][12] = Row("...E"); // no hero start: an error
    set.levels[3][12] = Row("..H.");
    EXPECT_EQ(CheckLevelSetBytes(set.Text()).Summary("s.txt"),
              "s.txt: 10 levels, 1 error, 2 warnings; the game refuses it");
    EXPECT_EQ(CheckLevelSetBytes("*\n").Summary("s.txt").rfind("s.txt: 1 level, ", 0), 0u);
    EXPECT_EQ(CheckLevelSet("/nonexistent/zorbo/s.txt").Summary("s.txt"), "")
        << "the report's line says why an unreadable file was not checked";
}

// The separator's free text names the level; its leading number is the level's own and
// is not part of the title.
TEST(LevelFile, ASeparatorsTitleIsItsTextWithoutTheNumber)
{
    EXPECT_EQ(SeparatorTitle("*3 Glowworm Cave"), "Glowworm Cave");
    EXPECT_EQ(SeparatorTitle("*  12\tTwo  Words \t"), "Two  Words");
    EXPECT_EQ(SeparatorTitle("*Untitled cave"), "Untitled cave");
    EXPECT_EQ(SeparatorTitle("*7"), "");
    EXPECT_EQ(SeparatorTitle("*"), "");
    EXPECT_EQ(SeparatorTitle("*3 4th Tower"), "4th Tower");
    EXPECT_EQ(SeparatorTitle("abc"), "") << "a map row is no separator";
    EXPECT_EQ(SeparatorTitle(""), "");
}

// The reader keeps each level's title for the game's caption and the editor; separators
// past the tenth level name nothing.
TEST(LevelFile, TheReaderKeepsEachLevelsTitle)
{
    std::string text = "\xEF\xBB\xBF*1 Meadow\r\n";
    for (int n = 2; n <= 12; ++n) {
        text += std::string(15, '\n');
        const std::string number = n == 5 ? "" : std::to_string(n);
        text += "*" + number + (n == 3 ? " Glowworm Cave \n" : "\n");
    }
    const LevelFileSummary s = ReadLevelSet(text);
    ASSERT_TRUE(s.valid());
    EXPECT_EQ(s.titles[0], "Meadow") << "neither the byte-order mark nor the CR belongs to it";
    EXPECT_EQ(s.titles[2], "Glowworm Cave");
    EXPECT_EQ(s.titles[1], "") << "a number alone is no title";
    EXPECT_EQ(s.titles[4], "");
    EXPECT_EQ(s.titles[9], "");

    const LevelFileSummary renamed = ReadLevelSet(text + "*13 Not a level\n");
    EXPECT_EQ(renamed.titles, s.titles);
    EXPECT_EQ(ReadLevelSet("*2 Alone\n").titles[1], "") << "a level the file does not open has none";
}

// A title goes to the window's caption and the editor's lists as UTF-8 whatever bytes the
// file holds: well-formed UTF-8 stays, any other byte is read as Latin-1.
TEST(LevelFile, ATitleBecomesUtf8TextWhateverItsBytes)
{
    EXPECT_EQ(TitleText("Glowworm Cave"), "Glowworm Cave");
    EXPECT_EQ(TitleText("Caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x8C\x8B"), "Caf\xC3\xA9 \xE2\x80\x94 \xF0\x9F\x8C\x8B");
    EXPECT_EQ(TitleText("Caf\xE9"), "Caf\xC3\xA9") << "a Latin-1 e acute";
    EXPECT_EQ(TitleText("\xC0\xAF"), "\xC3\x80\xC2\xAF") << "an overlong slash is two Latin-1 bytes";
    EXPECT_EQ(TitleText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80") << "a surrogate is no character";
    EXPECT_EQ(TitleText("ab\xE2\x80"), "ab\xC3\xA2\xC2\x80") << "a cut sequence at the end";
    EXPECT_EQ(TitleText(""), "");
}
