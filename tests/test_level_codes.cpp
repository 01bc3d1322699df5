// The table of map codes and the shared level rules: every row agrees with the art's tile
// catalogue, the derived sets are the ones the game has always used, and each rule gives
// the game's answer wherever the game, the check and the editor ask it.
#include "level/Codes.h"
#include "level/Rules.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

using namespace zorbo;

namespace {

struct CatalogueLine {
    std::string cls;
    std::string picture; // the recipe between the theme and the meaning
    int count = 0;       // lines given for the code
};

std::map<int, CatalogueLine> ReadCatalogue()
{
    std::ifstream in(std::string(ZORBO_ASSETS_SOURCE_DIR) + "/tiles/catalogue.txt");
    EXPECT_TRUE(in) << "assets/tiles/catalogue.txt";
    std::map<int, CatalogueLine> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line.substr(0, line.find('|')));
        int code = -1;
        std::string cls, theme, word, picture;
        if (!(fields >> code >> cls >> theme))
            continue;
        while (fields >> word)
            picture += (picture.empty() ? "" : " ") + word;
        CatalogueLine& entry = lines[code];
        entry.cls = cls;
        entry.picture = picture;
        ++entry.count;
    }
    return lines;
}

// A small map for the rules: rows of codes, 0 outside.
struct Grid {
    std::map<std::pair<int32_t, int32_t>, int32_t> cells;
    int32_t operator()(int32_t row, int32_t col) const
    {
        const auto it = cells.find({row, col});
        return it == cells.end() ? 0 : it->second;
    }
};

} // namespace

TEST(LevelCodes, EveryRowMatchesTheTileCatalogue)
{
    const std::map<int, CatalogueLine> catalogue = ReadCatalogue();
    ASSERT_EQ(catalogue.size(), kCodes.size()) << "one catalogue line per code, no more";
    for (const CodeRow& row : kCodes) {
        SCOPED_TRACE("code " + std::to_string(row.code));
        ASSERT_EQ(catalogue.count(row.code), 1u);
        const CatalogueLine& line = catalogue.at(row.code);
        EXPECT_EQ(line.count, 1);
        EXPECT_EQ(ClassName(row.cls), line.cls);
        EXPECT_FALSE(line.picture.empty()) << "no picture";
    }
}

namespace {

// The class the game's collisions and activation have always given each code.
TileClass ClassOfOldCode(int32_t code)
{
    static const std::set<int32_t> objects = {44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 59, 60,
                                              61, 62, 63, 64, 65, 66, 67, 68, 81, 82, 83, 84, 85, 86, 87};
    if (code == 0 || code == 9)
        return TileClass::Background;
    if (code <= 25)
        return TileClass::Scenery;
    if (code == 28 || code == 37 || code == 39 || code == 80)
        return TileClass::Brick;
    if (code == 33 || code == 75)
        return TileClass::BoxBase;
    if (code == 58)
        return TileClass::Goal;
    if (code >= 76 && code <= 79)
        return TileClass::Warp;
    return objects.count(code) ? TileClass::Object : TileClass::Solid;
}

} // namespace

TEST(LevelCodes, DerivedSetsAreTheGamesOwn)
{
    for (int32_t code = -2; code < Tile::Count + 2; ++code) {
        SCOPED_TRACE("code " + std::to_string(code));
        // The sets the shells, the bricks and the collisions have always used.
        // The codes the Standard levels and their recordings know; a code added later has
        // only its own row to follow.
        const bool recorded = code < 96 || !IsCode(code);
        if (recorded) {
            EXPECT_EQ(IsSolid(code), code > 25) << "the collisions' rule: every code after the scenery block";
        }
        const bool shellPasses = (code >= 46 && code <= 52) || (code >= 59 && code <= 66) || (code >= 85 && code <= 87);
        EXPECT_EQ(PassedOnTheGround(code), shellPasses);
        const int32_t brick = code == 39 ? 0 : code == 37 ? 1 : code == 28 ? 2 : code == 80 ? 3 : -1;
        EXPECT_EQ(BrickKind(code), brick);
        if (!IsCode(code))
            continue;
        const CodeRow& row = kCodes[static_cast<size_t>(code)];
        if (recorded) {
            EXPECT_EQ(ClassName(row.cls), ClassName(ClassOfOldCode(code)));
        }
        EXPECT_EQ(IsSolid(code), row.cls != TileClass::Background && row.cls != TileClass::Scenery);
        EXPECT_EQ(row.cls == TileClass::Brick, brick >= 0);
        // A shell passes only a cell whose object is not yet live.
        if (row.shellPasses) {
            EXPECT_TRUE(GoesLive(code));
        }
        // Only what comes to life (or breaks) leaves something else behind.
        EXPECT_EQ(row.becomes != Becomes::Stays, GoesLive(code) || row.cls == TileClass::Brick);
    }
    // What the game's activation has always left in a box's or fire chain's cell.
    for (int32_t code : {45, 54, 56, 62})
        EXPECT_EQ(kCodes[static_cast<size_t>(code)].becomes, Becomes::BoxBase) << code;
    for (int32_t code : {82, 83, 84})
        EXPECT_EQ(kCodes[static_cast<size_t>(code)].becomes, Becomes::BoxBaseAlt) << code;
    EXPECT_EQ(kCodes[static_cast<size_t>(Tile::OneUpBox)].becomes, Becomes::Emptied) << "a hidden box leaves no base until struck";
}

TEST(LevelCodes, GroupsAndClassesHaveNames)
{
    std::set<std::string_view> groups;
    for (int g = 0; g < PaletteGroupCount; ++g)
        EXPECT_TRUE(groups.insert(GroupName(static_cast<PaletteGroup>(g))).second);
    EXPECT_EQ(GroupName(PaletteGroup::BoxesAndBricks), "Boxes and bricks");
    EXPECT_EQ(ClassName(TileClass::BoxBase), "boxbase");
}

TEST(LevelRules, AnEmptiedCellTakesNightWhereItBordersOnIt)
{
    Grid g;
    EXPECT_EQ(EmptiedCode(g, 5, 5), Tile::Background);
    for (const auto& [row, col] : std::initializer_list<std::pair<int, int>>{{5, 4}, {5, 6}, {4, 5}}) {
        Grid n;
        n.cells[{row, col}] = Tile::Background2;
        EXPECT_EQ(EmptiedCode(n, 5, 5), Tile::Background2) << row << "," << col;
        EXPECT_EQ(EmptiedCode(n, 5, 5, EmptiedBy::HeroHead), Tile::Background) << "the head looks only below";
    }
    Grid below;
    below.cells[{6, 5}] = Tile::Background2;
    EXPECT_EQ(EmptiedCode(below, 5, 5), Tile::Background) << "an object's cell does not look below";
    EXPECT_EQ(EmptiedCode(below, 5, 5, EmptiedBy::HeroHead), Tile::Background2);
    Grid diagonal;
    diagonal.cells[{4, 4}] = Tile::Background2;
    EXPECT_EQ(EmptiedCode(diagonal, 5, 5), Tile::Background);

    // A rectangle looks along its whole left, right and top edges.
    Grid edge;
    edge.cells[{7, 13}] = Tile::Background2;
    EXPECT_EQ(EmptiedCode(edge, 5, 10, EmptiedBy::Object, 3, 3), Tile::Background2);
    EXPECT_EQ(EmptiedCode(edge, 5, 10, EmptiedBy::Object, 2, 3), Tile::Background);
    Grid top;
    top.cells[{4, 12}] = Tile::Background2;
    EXPECT_EQ(EmptiedCode(top, 5, 10, EmptiedBy::Object, 3, 3), Tile::Background2);

    // What each kind of cell becomes, by its row.
    EXPECT_EQ(BecomesCode(Tile::CoinBox, g, 5, 5), Tile::BoxBase);
    EXPECT_EQ(BecomesCode(Tile::FireChainAlt, g, 5, 5), Tile::BoxBaseAlt);
    EXPECT_EQ(BecomesCode(46, top, 5, 12), Tile::Background2);
    EXPECT_EQ(BecomesCode(26, top, 5, 12), 26);
}

TEST(LevelRules, TheFirstViewPlacesTheHeroAtMost160PixelsIn)
{
    EXPECT_EQ(ViewOfStart(160).viewX, 0);
    EXPECT_EQ(ViewOfStart(160).heroX, 160);
    EXPECT_EQ(ViewOfStart(176).viewX, 16);
    EXPECT_EQ(ViewOfStart(176).heroX, 160);
    EXPECT_EQ(FirstScreenColumn(1), 1);
    EXPECT_EQ(FirstScreenColumn(11), 1);
    EXPECT_EQ(FirstScreenColumn(12), 2);
    EXPECT_EQ(FirstScreenColumn(20), 10);

    Grid g;
    g.cells[{3, 21}] = Tile::HeroStart;
    EXPECT_FALSE(FirstViewStart(g)) << "column 21 is past the first view";
    g.cells[{9, 4}] = Tile::HeroStart;
    g.cells[{2, 18}] = Tile::HeroStart;
    ASSERT_TRUE(FirstViewStart(g));
    EXPECT_EQ(*FirstViewStart(g), (MapCell{2, 18})) << "top row first";
    EXPECT_EQ(DrawLimitColumn, 980);
}

TEST(LevelRules, ElevatorEndsComeInTheOrderTheGameMeetsThem)
{
    Grid g;
    for (const auto& [row, col] : std::initializer_list<std::pair<int, int>>{{8, 2}, {3, 20}, {9, 21}, {1, 21}, {5, 30}})
        g.cells[{row, col}] = Tile::Elevator;
    const std::vector<MapCell> ends = ElevatorEndsInOrder(g, 29);
    EXPECT_EQ(ends, (std::vector<MapCell>{{3, 20}, {8, 2}, {1, 21}, {9, 21}}))
        << "the first view row by row, then column by column, up to the last column";

    EXPECT_EQ(LinkElevatorEnds(32, 48, 32, 128), ElevatorLink::UpDown);
    EXPECT_EQ(LinkElevatorEnds(32, 48, 96, 48), ElevatorLink::Sideways);
    EXPECT_EQ(LinkElevatorEnds(32, 48, 96, 128), ElevatorLink::Dropped);
}

TEST(LevelRules, LinesSplitAsTheGameReadsThem)
{
    LineSplitter lines("\xEF\xBB\xBF" "a\r\nb\rc\n\r\nd");
    EXPECT_TRUE(lines.HadByteOrderMark());
    std::string seen;
    FileLine line;
    while (lines.Next(line))
        seen.append(line.text).append("|").append(std::to_string(static_cast<int>(line.end))).append(" ");
    EXPECT_EQ(seen, "a|2 b|3 c|1 |2 d|0 ");
    LineSplitter plain("x\n");
    EXPECT_FALSE(plain.HadByteOrderMark());
    ASSERT_TRUE(plain.Next(line));
    EXPECT_FALSE(plain.Next(line)) << "no empty line after the last ending";
    for (LineEnd end : {LineEnd::None, LineEnd::LF, LineEnd::CRLF, LineEnd::CR}) {
        std::string text = "q";
        text.append(LineEndBytes(end));
        LineSplitter back(text);
        ASSERT_TRUE(back.Next(line));
        EXPECT_EQ(line.end, end);
    }

    RowCounter rows(16);
    EXPECT_EQ(rows.Next(), 1) << "lines before count too";
    for (int i = 2; i < MapRows; ++i)
        rows.Next();
    EXPECT_EQ(rows.Next(), 0) << "wraps after row 14";
}
