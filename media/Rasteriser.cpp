#include "media/Rasteriser.h"

#include "media/Surface.h"

namespace zorbo {

namespace {

// The view's first column lies wholly left of the picture and each column is refused
// unless it lies wholly inside, as the blit of each tile always was.
void PaintTiles(const TileView& view, const Draw::Tiles& tiles, Surface& picture)
{
    constexpr int32_t s = TileView::Size;
    for (int32_t r = 0; r < TileView::Rows; ++r) {
        const int32_t top = r * s;
        for (int32_t i = 0; i < TileView::Columns; ++i) {
            const int32_t code = view.codes[static_cast<size_t>(r)][static_cast<size_t>(i)];
            if (code < 0 || code >= tiles.count)
                continue;
            const int32_t left = (i - 1) * s - view.shift;
            const Surface& tile = tiles.pictures[code];
            picture.Blt(Rect{left, top, left + s, top + s}, tile, tile.SurfaceRect());
        }
    }
}

} // namespace

void Paint(const DrawCommand& command, const DrawList& frame, Surface& picture)
{
    struct Painter {
        const DrawList& frame;
        Surface& picture;
        void operator()(const Draw::Fill& f) const { picture.BltColorFill(f.pixel); }
        void operator()(const Draw::Blit& b) const
        {
            if (b.keyed)
                picture.BltTrans(b.dst, *b.source, b.src);
            else
                picture.Blt(b.dst, *b.source, b.src);
        }
        void operator()(const Draw::Sprite& s) const
        {
            picture.BltTrans(Rect{s.x, s.y, s.x + s.src.width(), s.y + s.src.height()}, *s.image, s.src);
        }
        void operator()(const Draw::Text& t) const
        {
            if (picture.valid())
                t.font.Draw(picture, t.x, t.y, t.text, t.pixel);
        }
        void operator()(const Draw::Tiles& t) const
        {
            if (t.view < frame.tileViews.size() && t.pictures != nullptr)
                PaintTiles(frame.tileViews[t.view], t, picture);
        }
        void operator()(const Draw::KeepPicture&) const {}
    };
    std::visit(Painter{frame, picture}, command);
}

void Paint(const DrawList& frame, Surface& picture)
{
    for (const DrawCommand& c : frame.commands)
        Paint(c, frame, picture);
}

} // namespace zorbo
