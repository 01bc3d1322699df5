#include "game/GameWindow.h"
#include "level/LevelFile.h"
#include "level/Rules.h"

namespace zorbo {

static_assert(TileView::Rows == MapRows && TileView::Columns == ScreenColumns + 1,
              "a tile view holds the cells the draw pass visits");

void GameWindow::DrawTiles()
{
    TileView view;
    // A view left of the level start (after a warp) is drawn as the start.
    if (ViewX >= 1) {
        view.first = ViewX / 16;
        view.shift = ViewX % 16;
    }
    // The map ends at column 1000; a level must finish before its view gets there.
    if (view.first >= DrawLimitColumn)
        return;
    for (int32_t r = 0; r < MapRows; ++r) {
        const int32_t top = r * 16;
        for (int32_t i = 0; i <= ScreenColumns; ++i) {
            // Column `first` lies wholly left of the screen: it is visited so that its
            // objects exist before they scroll in, but it is never seen.
            const int32_t k = view.first + i;
            const int32_t left = (i - 1) * 16 - view.shift;
            if (GoesLive(MapCode(r, k)))
                ActivateCell(r, k, left, top);
            const int32_t code = MapCode(r, k);
            view.codes[static_cast<size_t>(r)][static_cast<size_t>(i)] =
                code >= 0 && code < Tile::Count ? static_cast<int16_t>(code) : int16_t{-1};
        }
    }
    ddsBack.DrawTiles(view, TileSurfaces.data(), Tile::Count);
}

} // namespace zorbo
