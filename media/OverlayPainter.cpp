#include "media/OverlayPainter.h"

#include "media/Font.h"
#include "media/Surface.h"

#include <algorithm>
#include <variant>

namespace zorbo {

namespace {

const TileView* FirstTileView(const DrawList& frame)
{
    const int at = FirstTiles(frame);
    return at < 0 ? nullptr : &frame.tileViews[std::get<Draw::Tiles>(frame.commands[static_cast<size_t>(at)]).view];
}

// Each cell where the tile map drew it: column `first` + i lies at (i - 1) * 16 - shift.
void PaintCells(const DrawList& frame, Surface& picture)
{
    const TileView* view = FirstTileView(frame);
    if (view == nullptr)
        return;
    constexpr int32_t s = TileView::Size;
    for (const Overlay::Cell& cell : frame.overlay.cells) {
        if (cell.picture == nullptr || !cell.picture->valid())
            continue;
        const int32_t left = (cell.col - view->first - 1) * s - view->shift;
        const int32_t top = cell.row * s;
        if (left + s <= 0 || left >= picture.Width() || top < 0 || top + s > picture.Height())
            continue;
        // Blits are refused unless wholly inside; a cell half out of view is cut to fit.
        const int32_t cutLeft = std::max(0, -left), cutRight = std::max(0, left + s - picture.Width());
        const Rect src{cell.src.left + cutLeft, cell.src.top, cell.src.right - cutRight, cell.src.bottom};
        picture.Blt(Rect{left + cutLeft, top, left + s - cutRight, top + s}, *cell.picture, src);
    }
}

uint32_t Mix(uint32_t under, uint32_t over, uint32_t opacity)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        out |= ((a * (255 - opacity) + b * opacity) / 255) << shift;
    }
    // Pure black is the picture's see-through colour; the card never makes it.
    return out == 0 ? 0x010101u : out;
}

void PaintCard(const Overlay& overlay, Surface& picture)
{
    static const Font font(HudFontFamily, CardFontPoints, true, false, false);
    const int32_t w = picture.Width();
    const auto [textW, textH] = font.Measure(overlay.card);
    const int32_t bandH = std::max(textH, 8) + 10;
    const int32_t top = std::min(CardTop, std::max(0, picture.Height() - bandH));
    const int32_t bottom = std::min(picture.Height(), top + bandH);
    // The band and its text are made whole, then laid over the picture as strongly as the
    // card shows, so it fades as one.
    Surface card;
    card.Create(w, bottom - top);
    card.BltColorFill(CardBandPixel);
    for (int32_t x = 0; x < w; ++x) {
        card.pixels()[x] = CardEdgePixel;
        card.pixels()[static_cast<size_t>(bottom - top - 1) * static_cast<size_t>(w) + x] = CardEdgePixel;
    }
    font.Draw(card, (w - textW) / 2, (bottom - top - textH) / 2, overlay.card, CardTextPixel);
    const uint32_t opacity = overlay.cardOpacity;
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint32_t& p = picture.pixels()[static_cast<size_t>(y) * static_cast<size_t>(w) + x];
            p = Mix(p, card.pixels()[static_cast<size_t>(y - top) * static_cast<size_t>(w) + x], opacity);
        }
}

} // namespace

void PaintOverlay(const DrawList& frame, Surface& picture)
{
    if (!picture.valid())
        return;
    PaintCells(frame, picture);
    if (!frame.overlay.card.empty() && frame.overlay.cardOpacity > 0)
        PaintCard(frame.overlay, picture);
}

} // namespace zorbo
