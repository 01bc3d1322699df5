// The level editor's palette, map picture and check list, without a window: names and
// groups agree with the tile catalogue, objects are drawn with the game's pictures where
// the game puts them, elevators pair as the game pairs them, and findings land on cells.
#include "EditorDoc.h"
#include "LevelText.h"
#include "TestData.h"
#include "editor/CheckList.h"
#include "editor/LevelMap.h"
#include "editor/MapRenderer.h"
#include "editor/MapView.h"
#include "editor/Palette.h"
#include "level/LevelFile.h"

#include <FL/Fl.H>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

using namespace zorbo;
using namespace zorbo::editor;
using test::Byte;
using test::FrameColour;
using test::TileColour;

namespace {

using test::Parse;

// ---- palette

// The class column of assets/tiles/catalogue.txt, by code.
std::map<int, std::string> CatalogueClasses()
{
    std::ifstream in(std::string(ZORBO_ASSETS_SOURCE_DIR) + "/tiles/catalogue.txt");
    std::map<int, std::string> classes;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        int code = -1;
        std::string cls;
        if (fields >> code >> cls)
            classes[code] = cls;
    }
    return classes;
}

TEST(EditorPalette, ListsEveryCodeOnceUnderOneGroupWithItsOwnName)
{
    const std::vector<int32_t> listed = PaletteCodes();
    std::vector<int32_t> sorted = listed;
    std::sort(sorted.begin(), sorted.end());
    ASSERT_EQ(sorted.size(), static_cast<size_t>(Tile::Count));
    for (int32_t code = 0; code < Tile::Count; ++code) {
        EXPECT_EQ(sorted[static_cast<size_t>(code)], code);
        ASSERT_NE(FindCode(code), nullptr);
        EXPECT_EQ(FindCode(code)->code, code);
    }
    EXPECT_EQ(FindCode(-1), nullptr);
    EXPECT_EQ(FindCode(Tile::Count), nullptr);
    std::set<std::string_view> names;
    for (const CodeRow& e : kCodes)
        EXPECT_TRUE(names.insert(e.name).second) << "two codes are called " << e.name;
    // Group by group: once a group is left it does not come back.
    std::set<PaletteGroup> done;
    for (size_t i = 1; i < listed.size(); ++i) {
        const PaletteGroup before = FindCode(listed[i - 1])->group, now = FindCode(listed[i])->group;
        if (before != now) {
            done.insert(before);
            EXPECT_EQ(done.count(now), 0u) << "code " << listed[i];
        }
    }
}

TEST(EditorPalette, GroupsAgreeWithTheTileCatalogue)
{
    const std::map<int, std::string> classes = CatalogueClasses();
    ASSERT_EQ(classes.size(), kCodes.size());
    for (const CodeRow& e : kCodes) {
        const std::string& cls = classes.at(e.code);
        SCOPED_TRACE("code " + std::to_string(e.code) + " (" + cls + ")");
        // What the hero passes through is scenery, and only that; the checkpoint flags, which
        // mark the way, are listed with the other markers.
        const bool flag = IsCheckpointFlag(e.code);
        EXPECT_EQ(e.group == PaletteGroup::Scenery, (cls == "scenery" || cls == "background") && !flag);
        EXPECT_EQ(e.group == PaletteGroup::Scenery, !IsSolid(e.code) && !flag);
        if (flag) {
            EXPECT_EQ(e.group, PaletteGroup::Markers);
            EXPECT_EQ(cls, "scenery") << "a flag is passed through";
        }
        if (cls == "brick" || cls == "boxbase") {
            EXPECT_EQ(e.group, PaletteGroup::BoxesAndBricks);
        } else if (cls == "warp") {
            EXPECT_EQ(e.group, PaletteGroup::PipesAndWarps);
        } else if (cls == "goal") {
            EXPECT_EQ(e.group, PaletteGroup::Markers);
        } else if (cls == "solid") {
            EXPECT_TRUE(e.group == PaletteGroup::Solid || e.group == PaletteGroup::PipesAndWarps);
        } else if (cls == "object") {
            // Live objects are never offered as plain ground.
            EXPECT_TRUE(e.group != PaletteGroup::Solid && e.group != PaletteGroup::PipesAndWarps);
        }
    }
    EXPECT_EQ(FindCode(Tile::HeroStart)->group, PaletteGroup::Markers);
    EXPECT_EQ(FindCode(Tile::Elevator)->group, PaletteGroup::MovingPlatforms);
}

TEST(EditorPalette, SearchFindsCodesNamesAndGroups)
{
    EXPECT_EQ(PaletteCodes("76"), std::vector<int32_t>{76});
    EXPECT_EQ(PaletteCodes("warp 1"), std::vector<int32_t>{76});
    EXPECT_EQ(PaletteCodes("CASTLE"), (std::vector<int32_t>{9, 17, 35, 40, 72, 39}));
    EXPECT_EQ(PaletteCodes("checkpoint flag"), (std::vector<int32_t>{18, 23}));
    EXPECT_EQ(PaletteCodes("  hazards  "), (std::vector<int32_t>{62, 67, 83}));
    EXPECT_EQ(PaletteCodes("turtle right"), (std::vector<int32_t>{47, 49}));
    EXPECT_TRUE(PaletteCodes("nothing like it").empty());
    EXPECT_EQ(PaletteCodes("").size(), static_cast<size_t>(Tile::Count));
}

// ---- the map picture

struct Scene {
    test::GameData data;
    Pictures pictures;
    Surface out;
    ViewState view;

    Scene()
    {
        std::vector<std::string> missing;
        EXPECT_TRUE(pictures.Load(data.path(), missing));
        EXPECT_TRUE(missing.empty());
        out.Create(1280, HeaderHeight + 15 * 16); // 80 columns at 1x
        view.zoom = 1;
        view.grid = false;
    }
    void Draw(const LevelDocument& doc) { MapRenderer(pictures).Render(doc, view, out); }
    uint32_t At(int32_t row, int32_t col, int dx, int dy) const
    {
        const int x = CellLeft(view, col) + dx, y = CellTop(view, row) + dy;
        EXPECT_TRUE(x >= 0 && y >= 0 && x < out.Width() && y < out.Height()) << "row " << row << ", column " << col;
        return x >= 0 && y >= 0 && x < out.Width() && y < out.Height() ? out.Pixel(x, y) : 0;
    }
};

test::Level WithCells(test::Level level, std::initializer_list<std::tuple<int, int, int>> cells)
{
    for (const auto& [row, col, code] : cells) {
        std::string& text = level[static_cast<size_t>(row)];
        if (text.size() < static_cast<size_t>(col))
            text.resize(static_cast<size_t>(col), Byte(0));
        text[static_cast<size_t>(col - 1)] = Byte(code);
    }
    return level;
}

TEST(EditorMapPicture, ObjectsShowTheGamesPictureWhereTheGamePlacesThem)
{
    Scene s;
    test::LevelSet set;
    set.levels[0] = WithCells(test::PlainLevel(), {{12, 6, 50}, {12, 8, 46}, {9, 10, 45}, {5, 12, 9}, {5, 13, 50},
                                                   {5, 30, 52}, {9, 14, 84}, {8, 34, 26}});
    const LevelDocument doc = Parse(set.Text());
    s.Draw(doc);

    EXPECT_EQ(s.At(12, 3, 8, 8), FrameColour(1, 0)) << "hero start";
    EXPECT_EQ(s.At(12, 6, 8, 8), FrameColour(2, 0)) << "Wumpel";
    // A turtle stands 8 pixels higher: its picture reaches into the cell above.
    EXPECT_EQ(s.At(12, 8, 8, -4), FrameColour(6, 0)) << "turtle";
    EXPECT_EQ(s.At(12, 8, 8, 12), FrameColour(6, 0));
    // A box leaves an emptied box behind, which shows through the picture's clear edge.
    EXPECT_EQ(s.At(9, 10, 8, 8), FrameColour(8, 0)) << "coin box";
    EXPECT_EQ(s.At(9, 10, 0, 0), TileColour(Tile::BoxBase));
    EXPECT_EQ(s.At(9, 14, 8, 8), FrameColour(8, 7)) << "crystal power-up box";
    EXPECT_EQ(s.At(9, 14, 0, 0), TileColour(Tile::BoxBaseAlt));
    // An object beside night leaves night, else sky, as the game empties its cell.
    EXPECT_EQ(s.At(5, 13, 0, 0), TileColour(Tile::Background2));
    EXPECT_EQ(s.At(12, 6, 0, 0), TileColour(Tile::Background));
    // A plant stands half a cell right and higher, above its pipe.
    EXPECT_EQ(s.At(5, 30, 12, 4), FrameColour(5, 18)) << "plant";
    EXPECT_EQ(s.At(5, 30, 4, 8), TileColour(Tile::Background));
    EXPECT_EQ(s.At(8, 34, 8, 8), TileColour(26)) << "a plain tile";
}

TEST(EditorMapPicture, CellsAndObjectsCutAtTheViewsEdgesStillShowTheirPart)
{
    Scene s;
    test::LevelSet set;
    set.levels[0] = WithCells(test::PlainLevel(), {{12, 1, 50}, {2, 43, 29}});
    const LevelDocument doc = Parse(set.Text());
    s.view.scrollX = 8; // column 1 half out of the view
    s.view.scrollY = 0;
    s.Draw(doc);
    EXPECT_EQ(s.out.Pixel(3, CellTop(s.view, 12) + 8), FrameColour(2, 0));
    EXPECT_EQ(s.out.Pixel(3, CellTop(s.view, 13) + 8), TileColour(26));
    // At 3x the picture is the tile's at three times the size.
    s.view.zoom = 3;
    s.view.scrollX = (43 - 1) * 48 - 20;
    s.Draw(doc);
    EXPECT_EQ(s.At(2, 43, 0, 0), TileColour(29));
    EXPECT_EQ(s.At(2, 43, 47, 47), TileColour(29));
    EXPECT_EQ(s.At(2, 43, 48, 47), TileColour(0));
}

TEST(EditorMapPicture, ColumnsPastTheLevelsEndAreDarkened)
{
    Scene s;
    const LevelDocument doc = Parse(test::LevelSet().Text()); // rows of 60 columns
    s.Draw(doc);
    const uint32_t sky = TileColour(0);
    EXPECT_EQ(s.At(2, 60, 8, 8), sky);
    EXPECT_EQ(s.At(2, 61, 8, 8), sky - ((sky >> 1) & 0x7F7F7Fu));
}

// The documentation's pictures of whole levels end one column past the last one in use.
TEST(EditorMapPicture, ALevelsPictureEndsJustPastItsLastUsedColumn)
{
    Scene s;
    test::LevelSet set;
    set.levels[0] = WithCells(test::PlainLevel(), {{4, 90, 29}});
    set.levels[1].fill(std::string(5, Byte(0)));
    const LevelDocument doc = Parse(set.Text());
    EXPECT_EQ(LastUsedColumn(doc, 0), 90);
    const Surface picture = RenderLevelMap(doc, s.pictures, 0);
    EXPECT_EQ(picture.Width(), 91 * 16);
    EXPECT_EQ(picture.Height(), HeaderHeight + 15 * 16);
    EXPECT_EQ(picture.Pixel(89 * 16 + 8, HeaderHeight + 4 * 16 + 8), TileColour(29));
    // An empty level still shows its first screen.
    EXPECT_EQ(LastUsedColumn(doc, 1), ScreenColumns);
    EXPECT_EQ(RenderLevelMap(doc, s.pictures, 1).Width(), (ScreenColumns + 1) * 16);
}

TEST(EditorMapPicture, ViewPointsAndCellsMatchAtEveryZoomAndScroll)
{
    ViewState v;
    for (int32_t zoom = MinZoom; zoom <= MaxZoom; ++zoom) {
        v.zoom = zoom;
        v.scrollX = 37 * zoom + 5;
        v.scrollY = 3 * zoom;
        for (const auto& [row, col] : {std::pair{1, 5}, std::pair{14, 40}, std::pair{7, 12}}) {
            const std::optional<CellPos> c = CellAtPoint(v, CellLeft(v, col) + 1, CellTop(v, row) + 1);
            ASSERT_TRUE(c);
            EXPECT_EQ(c->row, row);
            EXPECT_EQ(c->col, col);
        }
        EXPECT_FALSE(CellAtPoint(v, 10, HeaderHeight - 1)) << "the column numbers are no cell";
        EXPECT_FALSE(CellAtPoint(v, 10, CellTop(v, 15) + 1)) << "below the last row";
    }
}

// ---- elevators and the first screen

std::vector<std::pair<int, int>> Places(const std::vector<MapCell>& cells)
{
    std::vector<std::pair<int, int>> out;
    for (const MapCell& c : cells)
        out.emplace_back(c.row, c.col);
    return out;
}

TEST(EditorMapPicture, ElevatorEndsPairInTheOrderTheGameMeetsThem)
{
    test::LevelSet set;
    // First screen: met row by row, so (6, 4) comes between the two ends of column 15 and is
    // dropped. Further on: a sideways pair, an up-and-down pair, then an end that matches
    // nothing and one left waiting.
    set.levels[0] = WithCells(test::PlainLevel(), {{2, 15, 55}, {6, 4, 55}, {6, 15, 55}, {10, 25, 55}, {10, 31, 55},
                                                   {3, 40, 55}, {9, 40, 55}, {2, 50, 55}, {4, 52, 55}});
    const LevelDocument doc = Parse(set.Text());
    const ElevatorPairs e = PairElevators(doc, 0);
    ASSERT_EQ(e.pairs.size(), 3u);
    EXPECT_EQ(Places({e.pairs[0].first, e.pairs[0].second}), (std::vector<std::pair<int, int>>{{2, 15}, {6, 15}}));
    EXPECT_EQ(Places({e.pairs[1].first, e.pairs[1].second}), (std::vector<std::pair<int, int>>{{10, 25}, {10, 31}}));
    EXPECT_EQ(Places({e.pairs[2].first, e.pairs[2].second}), (std::vector<std::pair<int, int>>{{3, 40}, {9, 40}}));
    std::vector<MapCell> unpaired;
    for (const ElevatorPairs::Drop& d : e.dropped)
        unpaired.push_back(d.end);
    ASSERT_TRUE(e.waiting);
    unpaired.push_back(*e.waiting);
    EXPECT_EQ(Places(unpaired), (std::vector<std::pair<int, int>>{{6, 4}, {4, 52}, {2, 50}}));
    EXPECT_EQ(Places({e.dropped[0].waiting, e.dropped[1].waiting}), (std::vector<std::pair<int, int>>{{2, 15}, {2, 50}}))
        << "each dropped end names the end that was waiting";

    // The game's own check finds the same ends dropped.
    std::set<std::pair<int, int>> checked;
    for (const CheckRow& row : CheckRows(doc).rows)
        if (row.cell && row.message.find("elevator") != std::string::npos)
            checked.insert({row.cell->row, row.cell->col});
    EXPECT_EQ(checked, (std::set<std::pair<int, int>>{{6, 4}, {4, 52}, {2, 50}}));

    // Drawn: the platform at the first end, a line to the second.
    Scene s;
    s.Draw(doc);
    EXPECT_EQ(s.At(10, 26, 8, 8), FrameColour(16, 0));
    EXPECT_EQ(s.At(10, 29, 8, 8), 0xFFD020u);
    EXPECT_EQ(s.At(10, 29, 8, 2), TileColour(0));
    EXPECT_EQ(s.At(6, 40, 8, 8), 0xFFD020u);
    EXPECT_EQ(s.At(6, 41, 8, 8), TileColour(0));
}

TEST(EditorMapPicture, FirstScreenIsMarkedFromTheHeroStart)
{
    auto firstColumn = [](int start) {
        test::LevelSet set;
        set.levels[0] = WithCells(test::PlainLevel(), {{12, 3, 0}, {12, start, 44}});
        return FirstScreenColumn(Parse(set.Text()), 0);
    };
    EXPECT_EQ(firstColumn(3), 1);
    EXPECT_EQ(firstColumn(11), 1);
    EXPECT_EQ(firstColumn(15), 5);   // the hero stands ten columns into the screen
    EXPECT_EQ(firstColumn(20), 10);
    EXPECT_EQ(firstColumn(30), 1);   // the first screen never finds it

    Scene s;
    test::LevelSet set;
    set.levels[0] = WithCells(test::PlainLevel(), {{12, 3, 0}, {12, 15, 44}});
    s.Draw(Parse(set.Text()));
    EXPECT_EQ(s.At(4, 5, 0, 8), 0x2090F0u);
    EXPECT_EQ(s.At(4, 25, 0, 8), 0x2090F0u);
    EXPECT_EQ(s.At(4, 24, 0, 8), TileColour(0));
}

// Later hero starts are checkpoints: each is framed, and a dashed line marks the column the
// hero is in when it comes into view and moves the restart point (ten columns into the
// screen, nine before it; the game's own test of this is Lives.*Checkpoint*).
TEST(EditorMapPicture, CheckpointsAreMarkedWithTheColumnTheyTakeOverFrom)
{
    test::LevelSet set;
    set.levels[0] = WithCells(test::PlainLevel(), {{12, 60, 44}, {5, 15, 44}, {12, 45, 44}});
    set.levels[1] = WithCells(test::PlainLevel(), {{12, 3, 0}, {12, 20, 44}, {12, 29, 44}, {12, 30, 44}});
    const LevelDocument doc = Parse(set.Text());

    auto columns = [&doc](int32_t level) {
        std::vector<std::tuple<int32_t, int32_t, int32_t>> found;
        for (const Checkpoint& c : Checkpoints(doc, level))
            found.emplace_back(c.cell.row, c.cell.col, c.takenFrom);
        return found;
    };
    using Found = std::vector<std::tuple<int32_t, int32_t, int32_t>>;
    // The first start the first view finds (top row first) places the hero and is no
    // checkpoint; another one the first view shows moves the restart point at once.
    EXPECT_EQ(columns(0), (Found{{12, 3, 0}, {12, 45, 36}, {12, 60, 51}}));
    // A start further in scrolls the first view: column 29 is still in it, 30 is not.
    EXPECT_EQ(columns(1), (Found{{12, 29, 0}, {12, 30, 21}}));
    EXPECT_TRUE(columns(2).empty());

    Scene s;
    s.Draw(doc);
    constexpr uint32_t mark = 0x30E050;
    EXPECT_EQ(s.At(0, 51, 0, 2), mark) << "a dash of the line";
    EXPECT_EQ(s.At(0, 51, 0, 10), TileColour(0)) << "the gap after it";
    EXPECT_EQ(s.At(9, 51, 0, 2), mark) << "the dashes run down the map";
    EXPECT_EQ(s.At(9, 50, 8, 2), TileColour(0)) << "only at its column";
    EXPECT_EQ(s.At(9, 36, 0, 2), mark);
    EXPECT_EQ(s.At(12, 60, 0, 15), mark) << "the checkpoint's frame";
    EXPECT_EQ(s.At(12, 3, 15, 15), mark) << "framed in the first view too";
    EXPECT_NE(s.At(5, 15, 15, 15), mark) << "the first start is no checkpoint";
}

// The selection is outlined black outside white: one of the two shows on any tile.
// A level whose only hero start lies past the first view has no start the game finds: that
// start is the level's own, put too far right (the check says so), and no checkpoint.
TEST(EditorMapPicture, ALoneStartPastTheFirstViewIsNoCheckpoint)
{
    test::LevelSet set;
    set.levels[0] = WithCells(test::PlainLevel(), {{12, 3, 0}, {12, 50, 44}});
    set.levels[1] = WithCells(test::PlainLevel(), {{12, 3, 0}, {12, 50, 44}, {12, 90, 44}});
    const LevelDocument doc = Parse(set.Text());
    EXPECT_TRUE(Checkpoints(doc, 0).empty());
    ASSERT_EQ(Checkpoints(doc, 1).size(), 1u);
    EXPECT_EQ(Checkpoints(doc, 1).front().cell.col, 90) << "the one after it is";
}

TEST(EditorMapPicture, TheSelectionShowsOnLightAndDarkTilesAlike)
{
    Scene s;
    test::LevelSet set;
    const LevelDocument doc = Parse(set.Text());
    s.view.selection = CellRect{0, 5, 10, 2, 3};
    s.Draw(doc);
    EXPECT_EQ(s.At(5, 10, 0, 0), 0x000000u);
    EXPECT_EQ(s.At(5, 10, 1, 1), 0xFFFFFFu);
    EXPECT_EQ(s.At(5, 10, 2, 2), TileColour(0)) << "the cells inside still show";
    EXPECT_EQ(s.At(6, 12, 15, 15), 0x000000u);
    EXPECT_EQ(s.At(6, 12, 14, 14), 0xFFFFFFu);
    EXPECT_EQ(s.At(5, 9, 15, 0), TileColour(0)) << "nothing outside it";
    s.view.level = 1;
    s.Draw(doc);
    EXPECT_EQ(s.At(5, 10, 0, 0), TileColour(0)) << "only on its own level";
}

// The wheel scrolls the map under a still mouse: the hover box and the status line (told
// through onHover) go to the cell now under it at once.
TEST(EditorMapView, AfterAWheelScrollTheHoverIsTheCellNowUnderTheMouse)
{
    Scene s;
    test::LevelSet set;
    LevelDocument doc = Parse(set.Text());
    EditTools tools(doc);
    Fl_Group::current(nullptr); // no window: the view is driven by its events alone
    MapView view(0, 0, 640 + MapView::kBar, HeaderHeight + Rows * Cell * 2 + MapView::kBar, s.pictures, tools);
    view.SetDocument(doc);
    int told = 0;
    view.onHover = [&told] { ++told; };
    Fl_Widget* canvas = view.child(0);
    const int size = Cell * view.View().zoom;

    Fl::e_state = 0;
    Fl::e_x = 3 * size + 5;
    Fl::e_y = HeaderHeight + 5 * size + 5;
    canvas->handle(FL_MOVE);
    ASSERT_TRUE(view.Hover());
    EXPECT_EQ(std::tie(view.Hover()->row, view.Hover()->col), std::make_tuple(5, 4));
    EXPECT_EQ(told, 1);

    Fl::e_dx = 0;
    Fl::e_dy = 1;
    canvas->handle(FL_MOUSEWHEEL);
    ASSERT_GT(view.View().scrollX, 0);
    ASSERT_TRUE(view.Hover());
    EXPECT_EQ(view.Hover()->col, 4 + view.View().scrollX / size);
    EXPECT_EQ(view.Hover()->row, 5);
    EXPECT_EQ(told, 2);
    Fl::e_dy = 0;
}

// ---- the check list

TEST(EditorCheckList, FindingsLandOnTheirCellOrLevel)
{
    test::LevelSet set;
    for (test::Level& level : set.levels)
        for (std::string& row : level)
            row.resize(60, Byte(0)); // rows of one length draw no warning of their own
    LevelDocument doc = Parse(set.Text());
    EXPECT_TRUE(CheckRows(doc).rows.empty());
    EXPECT_EQ(Summary(CheckRows(doc)), "Check: no problems");

    doc.Paint(1, 5, 30, 76); // a warp pipe with one end
    doc.Paint(2, 12, 3, 0);  // level 3 loses its hero start
    const CheckList list = CheckRows(doc);
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_EQ(list.errors, 2);

    const CheckRow& warp = list.rows[0];
    EXPECT_TRUE(warp.error);
    EXPECT_EQ(warp.level, 2);
    ASSERT_TRUE(warp.cell);
    EXPECT_EQ(std::tie(warp.cell->level, warp.cell->row, warp.cell->col), std::make_tuple(1, 5, 30));
    EXPECT_EQ(RowText(warp).substr(0, 34), "error\tlevel 2\trow 5\tcolumn 30\twarp");

    const CheckRow& start = list.rows[1];
    EXPECT_EQ(start.level, 3);
    EXPECT_FALSE(start.cell) << "a level without a hero start has no cell to point at";
    EXPECT_NE(Summary(list).find("2 errors"), std::string::npos);

    doc.Undo();
    doc.Undo();
    EXPECT_TRUE(CheckRows(doc).rows.empty());
}

} // namespace

// A proof's route is a line through the hero's middle, broken where a pipe moved him, dimmed
// once stale; without a route, a dashed line stands at the furthest column reached.
TEST(EditorMapPicture, TheProofRouteBreaksAtWarpsAndDimsWhenStale)
{
    Scene s;
    const LevelDocument doc = Parse(test::LevelSet().Text());
    constexpr uint32_t route = 0xFF30D0, stale = 0x907090, warp = 0x30F0FF, blocked = 0xFF8000;
    ProofRoute found;
    found.level = 1;
    found.parts.resize(2);
    for (int32_t x = 0; x <= 64; x += 2)
        found.parts[0].push_back({x, 160}); // row 10, columns 1 to 5
    for (int32_t x = 480; x <= 544; x += 2)
        found.parts[1].push_back({x, 32});  // row 2, columns 31 to 35
    found.warps.push_back({found.parts[0].back(), found.parts[1].front(), 1});
    s.view.proof = ProofMarks{&found, 0, 0, false};
    s.Draw(doc);
    EXPECT_EQ(s.At(10, 3, 8, 8), route) << "through the hero's middle";
    EXPECT_EQ(s.At(2, 33, 8, 8), route);
    EXPECT_NE(s.At(5, 18, 8, 8), route) << "no line across the map where the pipe moved him";
    EXPECT_EQ(s.At(10, 5, 4, 4), warp) << "the pipe's way in is marked";
    EXPECT_EQ(s.At(2, 31, 4, 4), warp) << "and its way out";

    s.view.proof->stale = true;
    s.Draw(doc);
    EXPECT_EQ(s.At(10, 3, 8, 8), stale);
    s.view.level = 1;
    s.Draw(doc);
    EXPECT_NE(s.At(10, 3, 8, 8), stale) << "only over its own level";

    s.view.level = 0;
    s.view.proof = ProofMarks{nullptr, 0, 20, false};
    s.Draw(doc);
    EXPECT_EQ(s.At(0, 20, 8, 1), blocked);
    EXPECT_EQ(s.At(9, 21, 8, 1), TileColour(0)) << "only at its column";
}
