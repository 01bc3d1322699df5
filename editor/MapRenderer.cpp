#include "editor/MapRenderer.h"

#include "game/Kinds.h"
#include "level/Rules.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace zorbo::editor {

namespace {

// How an object looks: a strip frame, or its own tile picture (for those the game hides or
// draws from several pieces; an own cell is drawn whole, as it already shows the base it
// leaves), and whether a small picture of its own tile marks what the box holds.
enum class Look : uint8_t { None, StripFrame, OwnTile, OwnCell, StripAndBadge };

struct ObjectLook {
    int32_t code;
    Look look;
    StripId strip;
    int32_t frame;
    int32_t dx, dy; // game pixels from the cell's top-left corner
};

// The looks of the objects world/activation.cpp places by its own routines (the plain
// enemies come from kSpawns): the frame and offset each comes to life with, plants fully
// out of their pipe, as they are most of the time.
constexpr ObjectLook kItemLooks[] = {
    {Tile::HeroStart, Look::StripFrame, StripId::Hero, 0, 0, 0},
    {Tile::CoinBox, Look::StripFrame, StripId::Box, 0, 0, 0},
    {Tile::Plant, Look::StripFrame, StripId::Plant, 18, 8, -8},
    {Tile::Coin, Look::StripFrame, StripId::Coin, 0, 0, 0},
    {Tile::CoinChest, Look::StripFrame, StripId::Box, 6, 0, 0},
    {Tile::Elevator, Look::OwnTile, StripId::Elevator, 0, 0, 0},
    {Tile::PowerUpBox, Look::StripAndBadge, StripId::Box, 0, 0, 0},
    {Tile::OneUpBox, Look::OwnTile, StripId::Box, 0, 0, 0},
    {Tile::FireChain, Look::OwnCell, StripId::Box, 0, 0, 0},
    {Tile::Flame, Look::StripFrame, StripId::Flame, 0, 0, -8},
    {Tile::CoinAlt, Look::StripFrame, StripId::Coin, 6, 0, 0},
    {Tile::CoinBoxAlt, Look::StripFrame, StripId::Box, 7, 0, 0},
    {Tile::FireChainAlt, Look::OwnCell, StripId::Box, 0, 0, 0},
    {Tile::PowerUpBoxAlt, Look::StripAndBadge, StripId::Box, 7, 0, 0},
};

// A plain enemy as its spawn row starts it, in the look its kind row gives the alternate.
constexpr ObjectLook SpawnLook(const SpawnRow& row)
{
    const KindRow& kind = KindOf(row.kind);
    return {row.code, Look::StripFrame, kind.strip->id, row.frame + (row.alternate ? kind.lookOffset : 0), 0, row.dy};
}

constexpr std::array<ObjectLook, Tile::Count> MakeLooks()
{
    std::array<ObjectLook, Tile::Count> looks{};
    for (size_t code = 0; code < looks.size(); ++code) {
        looks[code] = ObjectLook{static_cast<int32_t>(code), Look::None, StripId::Box, 0, 0, 0};
        // Warp ends show their own numbered tile.
        if (kCodes[code].cls == TileClass::Warp)
            looks[code].look = Look::OwnTile;
    }
    for (const ObjectLook& l : kItemLooks)
        looks[static_cast<size_t>(l.code)] = l;
    for (const SpawnRow& row : kSpawns)
        looks[static_cast<size_t>(row.code)] = SpawnLook(row);
    return looks;
}
constexpr std::array<ObjectLook, Tile::Count> kLooks = MakeLooks();

// Every cell that goes live has a look, and only those.
constexpr bool EveryObjectHasALook()
{
    for (const ObjectLook& l : kLooks)
        if ((l.look != Look::None) != GoesLive(l.code))
            return false;
    return true;
}
static_assert(EveryObjectHasALook(), "an object code without a look in the editor");

const ObjectLook* LookOf(int32_t code)
{
    return IsCode(code) && kLooks[static_cast<size_t>(code)].look != Look::None ? &kLooks[static_cast<size_t>(code)]
                                                                                : nullptr;
}

// The view's colours, as 0x00RRGGBB surface pixels.
constexpr uint32_t kOutside = 0x303338;
constexpr uint32_t kHeader = 0xE4E4E0;
constexpr uint32_t kHeaderText = 0x202020;
constexpr uint32_t kTick = 0x808080;
constexpr uint32_t kFirstScreen = 0x2090F0;
constexpr uint32_t kLaterScreen = 0x80C0F0;
constexpr uint32_t kElevatorLink = 0xFFD020;
constexpr uint32_t kBadge = 0x101010;
constexpr uint32_t kBadgeText = 0xFFFFFF;
constexpr uint32_t kCheckpoint = 0x30E050;
constexpr uint32_t kSelection = 0xFFFFFF;
constexpr uint32_t kSelectionEdge = 0x000000;
constexpr uint32_t kOutline = 0xFFE040;
constexpr uint32_t kHover = 0xFFFF80;
constexpr uint32_t kMarked = 0xFF3030;
constexpr uint32_t kRoute = 0xFF30D0;
constexpr uint32_t kRouteStale = 0x907090;
constexpr uint32_t kRouteWarp = 0x30F0FF;
constexpr uint32_t kBlocked = 0xFF8000;

// Copies src's rectangle s with its top-left corner at (x, y), cut to dst: the game's blits
// refuse rectangles that stick out, and the view's edges cut cells and objects in half.
void Put(Surface& dst, int32_t x, int32_t y, const Surface& src, Rect s, bool keyed)
{
    if (!src.valid())
        return;
    const int32_t cutLeft = std::max(0, -x), cutTop = std::max(0, -y);
    const int32_t cutRight = std::max(0, x + s.width() - dst.Width());
    const int32_t cutBottom = std::max(0, y + s.height() - dst.Height());
    s = Rect{s.left + cutLeft, s.top + cutTop, s.right - cutRight, s.bottom - cutBottom};
    if (s.width() <= 0 || s.height() <= 0)
        return;
    const Rect d{x + cutLeft, y + cutTop, x + cutLeft + s.width(), y + cutTop + s.height()};
    if (keyed)
        dst.BltTrans(d, src, s);
    else
        dst.Blt(d, src, s);
}

void FillRect(Surface& dst, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t pixel)
{
    const int32_t x0 = std::max(0, x), y0 = std::max(0, y);
    const int32_t x1 = std::min(dst.Width(), x + w), y1 = std::min(dst.Height(), y + h);
    if (x1 <= x0)
        return;
    for (int32_t py = y0; py < y1; ++py)
        std::fill(dst.pixels() + static_cast<size_t>(py) * dst.Width() + x0,
                  dst.pixels() + static_cast<size_t>(py) * dst.Width() + x1, pixel);
}

// Darkens pixels by a quarter (shift 2) or a half (shift 1); the grid and the columns past
// the level's end are drawn so, keeping the picture under them readable.
void Darken(Surface& dst, int32_t x, int32_t y, int32_t w, int32_t h, int shift)
{
    const int32_t x0 = std::max(0, x), y0 = std::max(0, y);
    const int32_t x1 = std::min(dst.Width(), x + w), y1 = std::min(dst.Height(), y + h);
    const uint32_t mask = shift == 1 ? 0x7F7F7Fu : 0x3F3F3Fu;
    for (int32_t py = y0; py < y1; ++py) {
        uint32_t* p = dst.pixels() + static_cast<size_t>(py) * dst.Width();
        for (int32_t px = x0; px < x1; ++px)
            p[px] -= (p[px] >> shift) & mask;
    }
}

void Frame(Surface& dst, int32_t x, int32_t y, int32_t w, int32_t h, int32_t thick, uint32_t pixel)
{
    FillRect(dst, x, y, w, thick, pixel);
    FillRect(dst, x, y + h - thick, w, thick, pixel);
    FillRect(dst, x, y, thick, h, pixel);
    FillRect(dst, x + w - thick, y, thick, h, pixel);
}

// A number on a dark label, for warp pipes.
void Badge(Surface& dst, const Font& font, int32_t x, int32_t y, const std::string& text)
{
    const auto [w, h] = font.Measure(text);
    if (w <= 0)
        return;
    FillRect(dst, x, y, w + 4, h + 1, kBadge);
    font.Draw(dst, x + 2, y, text, kBadgeText);
}

// A vertical line of dashes, so that the map under it still shows.
void DashedLine(Surface& dst, int32_t x, int32_t top, int32_t bottom, int32_t thick, int32_t dash, uint32_t pixel)
{
    for (int32_t y = top; y < bottom; y += 2 * dash)
        FillRect(dst, x, y, thick, std::min(dash, bottom - y), pixel);
}

// A line of thick-pixel squares from one point to the next, step by step along the longer
// side; the route's points are a frame apart, so the steps are short.
void Line(Surface& dst, int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t thick, uint32_t pixel)
{
    const int32_t steps = std::max({std::abs(x1 - x0), std::abs(y1 - y0), 1});
    for (int32_t i = 0; i <= steps; ++i)
        FillRect(dst, x0 + (x1 - x0) * i / steps - thick / 2, y0 + (y1 - y0) * i / steps - thick / 2, thick, thick,
                 pixel);
}

int32_t Thickness(int32_t zoom)
{
    return zoom >= 2 ? 2 : 1;
}

} // namespace

int32_t CellLeft(const ViewState& view, int32_t col)
{
    return (col - 1) * Cell * view.zoom - view.scrollX;
}

int32_t CellTop(const ViewState& view, int32_t row)
{
    return HeaderHeight + row * Cell * view.zoom - view.scrollY;
}

std::optional<CellPos> CellAtPoint(const ViewState& view, int32_t x, int32_t y)
{
    if (y < HeaderHeight || x < 0)
        return std::nullopt;
    const int32_t size = Cell * view.zoom;
    const int32_t col = (x + view.scrollX) / size + 1;
    const int32_t row = (y - HeaderHeight + view.scrollY) / size;
    if (col < 1 || col > Columns || row < 0 || row >= Rows)
        return std::nullopt;
    return CellPos{view.level, row, col};
}

ElevatorPairs PairElevators(const LevelDocument& doc, int32_t level)
{
    return PairElevatorEnds(ElevatorEndsInOrder(doc.CodesOf(level), doc.Length(level)));
}

int32_t FirstScreenColumn(const LevelDocument& doc, int32_t level)
{
    const std::optional<MapCell> start = FirstViewStart(doc.CodesOf(level));
    return start ? zorbo::FirstScreenColumn(start->col) : 1;
}

std::vector<Checkpoint> Checkpoints(const LevelDocument& doc, int32_t level)
{
    std::vector<Checkpoint> found = LevelCheckpoints(doc.CodesOf(level), doc.Length(level));
    // Without a start in the first view, the first hero start is the level's own start put
    // too far right (the check says so), not a checkpoint.
    if (!found.empty() && !FirstViewStart(doc.CodesOf(level)))
        found.erase(found.begin());
    return found;
}

void PackRgb(const Surface& picture, std::vector<uint8_t>& rgb)
{
    const size_t n = static_cast<size_t>(picture.Width()) * static_cast<size_t>(picture.Height());
    rgb.resize(n * 3);
    const uint32_t* p = picture.pixels();
    uint8_t* out = rgb.data();
    for (size_t i = 0; i < n; ++i, out += 3) {
        out[0] = static_cast<uint8_t>(p[i] >> 16);
        out[1] = static_cast<uint8_t>(p[i] >> 8);
        out[2] = static_cast<uint8_t>(p[i]);
    }
}

void MapRenderer::Render(const LevelDocument& doc, const ViewState& view, Surface& out) const
{
    if (!out.valid())
        return;
    out.BltColorFill(kOutside);
    DrawCells(doc, view, out);
    if (view.grid)
        DrawGrid(view, out);
    DrawObjects(doc, view, out);
    DrawElevators(doc, view, out);
    DrawScreens(doc, view, out);
    DrawCheckpoints(doc, view, out);
    DrawProof(view, out);
    DrawMarks(view, out);
    DrawHeader(doc, view, out);
}

void MapRenderer::DrawCells(const LevelDocument& doc, const ViewState& view, Surface& out) const
{
    const int32_t size = Cell * view.zoom;
    const int32_t firstCol = std::max(1, view.scrollX / size + 1);
    const int32_t lastCol = std::min(Columns, (view.scrollX + out.Width() - 1) / size + 1);
    const int32_t firstRow = std::max(0, view.scrollY / size);
    const int32_t lastRow = std::min(Rows - 1, (view.scrollY + out.Height() - HeaderHeight - 1) / size);
    const int32_t level = view.level;
    const CodeAt codes = doc.CodesOf(level);

    for (int32_t row = firstRow; row <= lastRow; ++row) {
        const int32_t y = CellTop(view, row);
        for (int32_t col = firstCol; col <= lastCol; ++col) {
            int32_t c = doc.Code(level, row, col);
            // An object's cell shows what it becomes once the object is live.
            if (GoesLive(c))
                c = BecomesCode(c, codes, row, col);
            const Surface& tile = pictures_.Tile(c, view.zoom);
            Put(out, CellLeft(view, col), y, tile, tile.SurfaceRect(), false);
        }
    }
    // Columns past the level's longest row are not in the file: the game shows sky there.
    const int32_t endX = CellLeft(view, doc.Length(level) + 1);
    const int32_t bottom = CellTop(view, Rows);
    if (endX < out.Width())
        Darken(out, endX, HeaderHeight, out.Width() - endX, bottom - HeaderHeight, 1);
}

void MapRenderer::DrawGrid(const ViewState& view, Surface& out) const
{
    const int32_t size = Cell * view.zoom;
    const int32_t top = std::max(HeaderHeight, CellTop(view, 0));
    const int32_t bottom = std::min(out.Height(), CellTop(view, Rows));
    for (int32_t x = (size - view.scrollX % size) % size; x < out.Width(); x += size)
        Darken(out, x, top, 1, bottom - top, 2);
    for (int32_t row = 0; row <= Rows; ++row) {
        const int32_t y = CellTop(view, row);
        if (y >= top && y < bottom)
            Darken(out, 0, y, out.Width(), 1, 2);
    }
}

void MapRenderer::DrawObjects(const LevelDocument& doc, const ViewState& view, Surface& out) const
{
    const int32_t z = view.zoom;
    const int32_t size = Cell * z;
    // Objects reach up to two cells right (an elevator's platform, a plant) and half a
    // cell up, so cells just outside the view are visited too.
    const int32_t firstCol = std::max(1, view.scrollX / size - 2);
    const int32_t lastCol = std::min(Columns, (view.scrollX + out.Width() - 1) / size + 1);
    const int32_t firstRow = std::max(0, view.scrollY / size);
    const int32_t lastRow = std::min(Rows - 1, (view.scrollY + out.Height() - HeaderHeight - 1) / size + 1);
    const Font& font = pictures_.NumberFont();

    for (int32_t row = firstRow; row <= lastRow; ++row) {
        for (int32_t col = firstCol; col <= lastCol; ++col) {
            const int32_t code = doc.Code(view.level, row, col);
            const ObjectLook* look = LookOf(code);
            if (look == nullptr)
                continue;
            const int32_t x = CellLeft(view, col), y = CellTop(view, row);
            const Surface& own = pictures_.Tile(code, z);
            if (look->look == Look::OwnTile || look->look == Look::OwnCell) {
                Put(out, x, y, own, own.SurfaceRect(), look->look == Look::OwnTile);
            } else {
                const Surface& strip = pictures_.StripPicture(look->strip, z);
                Put(out, x + look->dx * z, y + look->dy * z, strip, pictures_.Frame(look->strip, look->frame, z), true);
            }
            if (look->look == Look::StripAndBadge) {
                // What the box holds, at half size in its top-right corner.
                const Rect badge{x + size / 2, y, x + size, y + size / 2};
                if (badge.left >= 0 && badge.top >= 0 && badge.right <= out.Width() && badge.bottom <= out.Height())
                    out.BltTrans(badge, own, own.SurfaceRect());
            }
            if (code >= Tile::FirstWarp && code <= Tile::WarpMarker)
                Badge(out, font, x + 1, y + 1, std::to_string(code - Tile::FirstWarp + 1));
        }
    }
}

void MapRenderer::DrawElevators(const LevelDocument& doc, const ViewState& view, Surface& out) const
{
    const int32_t z = view.zoom;
    const int32_t half = Cell * z / 2;
    const int32_t thick = Thickness(z);
    const Surface& platform = pictures_.StripPicture(StripId::Elevator, z);
    for (const ElevatorPairs::Pair& p : PairElevators(doc, view.level).pairs) {
        const int32_t ax = CellLeft(view, p.first.col), ay = CellTop(view, p.first.row);
        const int32_t bx = CellLeft(view, p.second.col), by = CellTop(view, p.second.row);
        if (std::max(ax, bx) + 3 * Cell * z < 0 || std::min(ax, bx) > out.Width())
            continue;
        // The ends share a row or a column, so the link is straight.
        if (ay == by)
            FillRect(out, std::min(ax, bx) + half, ay + half - thick / 2, std::abs(bx - ax), thick, kElevatorLink);
        else
            FillRect(out, ax + half - thick / 2, std::min(ay, by) + half, thick, std::abs(by - ay), kElevatorLink);
        Put(out, ax, ay, platform, pictures_.Frame(StripId::Elevator, 0, z), true);
    }
}

void MapRenderer::DrawScreens(const LevelDocument& doc, const ViewState& view, Surface& out) const
{
    const int32_t first = FirstScreenColumn(doc, view.level);
    const int32_t top = HeaderHeight, bottom = std::min(out.Height(), CellTop(view, Rows));
    const int32_t thick = Thickness(view.zoom);
    // The first screen's two edges strongly, every later screen width faintly.
    for (int32_t col = first; col <= Columns + 1; col += ScreenColumns) {
        const int32_t x = CellLeft(view, col);
        if (x >= out.Width())
            break;
        if (x + thick <= 0)
            continue;
        const bool firstScreen = col <= first + ScreenColumns;
        FillRect(out, x - thick / 2, top, firstScreen ? thick : 1, bottom - top, firstScreen ? kFirstScreen : kLaterScreen);
    }
}

void MapRenderer::DrawCheckpoints(const LevelDocument& doc, const ViewState& view, Surface& out) const
{
    const int32_t size = Cell * view.zoom;
    const int32_t thick = Thickness(view.zoom);
    const int32_t top = HeaderHeight, bottom = std::min(out.Height(), CellTop(view, Rows));
    const Font& font = pictures_.NumberFont();
    int number = 0;
    for (const Checkpoint& c : Checkpoints(doc, view.level)) {
        std::string name = "C";
        name += std::to_string(++number);
        Frame(out, CellLeft(view, c.cell.col), CellTop(view, c.cell.row), size, size, thick, kCheckpoint);
        Badge(out, font, CellLeft(view, c.cell.col) + 1, CellTop(view, c.cell.row) + 1, name);
        if (c.takenFrom == 0)
            continue;
        // Where the hero is when the checkpoint takes over the restart point.
        const int32_t x = CellLeft(view, c.takenFrom);
        if (x + thick <= 0 || x >= out.Width())
            continue;
        DashedLine(out, x, top, bottom, thick, size / 2, kCheckpoint);
        Badge(out, font, x + thick + 1, top + 1, name + " from here");
    }
}

void MapRenderer::DrawMarks(const ViewState& view, Surface& out) const
{
    const int32_t size = Cell * view.zoom;
    const int32_t thick = Thickness(view.zoom);
    auto rect = [&](const CellRect& r, uint32_t pixel, int32_t t) {
        if (r.level == view.level)
            Frame(out, CellLeft(view, r.col), CellTop(view, r.row), r.cols * size, r.rows * size, t, pixel);
    };
    if (view.hover)
        rect(CellRect{view.hover->level, view.hover->row, view.hover->col, 1, 1}, kHover, 1);
    // Black outside white, so that the selection shows on light sky and on dark tiles alike.
    if (view.selection) {
        rect(*view.selection, kSelectionEdge, thick);
        const CellRect& r = *view.selection;
        if (r.level == view.level)
            Frame(out, CellLeft(view, r.col) + thick, CellTop(view, r.row) + thick, r.cols * size - 2 * thick,
                  r.rows * size - 2 * thick, thick, kSelection);
    }
    if (view.outline)
        rect(*view.outline, kOutline, thick);
    if (view.marked)
        rect(CellRect{view.marked->level, view.marked->row, view.marked->col, 1, 1}, kMarked, thick + 1);
}

void MapRenderer::DrawHeader(const LevelDocument& doc, const ViewState& view, Surface& out) const
{
    FillRect(out, 0, 0, out.Width(), HeaderHeight, kHeader);
    const int32_t size = Cell * view.zoom;
    const int32_t firstCol = std::max(1, view.scrollX / size + 1);
    const int32_t lastCol = std::min(Columns, (view.scrollX + out.Width() - 1) / size + 1);
    // The first screen as a band under the numbers.
    const int32_t first = FirstScreenColumn(doc, view.level);
    FillRect(out, CellLeft(view, first), HeaderHeight - 3, ScreenColumns * size, 3, kFirstScreen);
    // Numbers as often as they fit: every column from 3x on, else every 5th or 10th.
    const int32_t every = view.zoom >= 3 ? 1 : view.zoom == 2 ? 5 : 10;
    const Font& font = pictures_.NumberFont();
    for (int32_t col = firstCol; col <= lastCol; ++col) {
        const int32_t x = CellLeft(view, col);
        const bool labelled = col % every == 0 || col == 1;
        FillRect(out, x, labelled ? 0 : HeaderHeight - 5, 1, labelled ? HeaderHeight : 5, kTick);
        if (labelled)
            font.Draw(out, x + 2, 1, std::to_string(col), kHeaderText);
    }
}

} // namespace zorbo::editor

namespace zorbo::editor {

void MapRenderer::DrawProof(const ViewState& view, Surface& out) const
{
    if (!view.proof || view.proof->level != view.level)
        return;
    const ProofMarks& proof = *view.proof;
    const int32_t zoom = view.zoom;
    const int32_t thick = Thickness(zoom) + (proof.stale ? 0 : 1);
    const uint32_t colour = proof.stale ? kRouteStale : kRoute;
    // The hero's middle (his route is of his top left; the small hero is one cell).
    auto viewX = [&](int32_t x) { return (x + Cell / 2) * zoom - view.scrollX; };
    auto viewY = [&](int32_t y) { return HeaderHeight + (y + Cell / 2) * zoom - view.scrollY; };
    const bool routed = proof.route != nullptr && proof.route->level == view.level + 1 && !proof.route->parts.empty();
    if (!routed) {
        if (proof.blockedColumn > 0)
            DashedLine(out, CellLeft(view, proof.blockedColumn) + Cell * zoom / 2, HeaderHeight,
                       std::min(out.Height(), CellTop(view, Rows)), thick + 1, 3 * zoom,
                       proof.stale ? kRouteStale : kBlocked);
        return;
    }
    for (const std::vector<RouteSpot>& part : proof.route->parts)
        for (size_t i = 1; i < part.size(); ++i)
            Line(out, viewX(part[i - 1].x), viewY(part[i - 1].y), viewX(part[i].x), viewY(part[i].y), thick, colour);
    const int32_t mark = Cell * zoom / 2;
    for (const RouteWarp& w : proof.route->warps)
        for (const RouteSpot& p : {w.from, w.to})
            Frame(out, viewX(p.x) - mark / 2, viewY(p.y) - mark / 2, mark, mark, thick,
                  proof.stale ? kRouteStale : kRouteWarp);
}

} // namespace zorbo::editor
