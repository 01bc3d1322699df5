#include "game/GameWindow.h"
#include "level/LevelFile.h"
#include "level/Rules.h"

namespace zorbo {

void GameWindow::DrawTiles()
{
    int32_t first = 0;
    int32_t shift = 0;
    // A view left of the level start (after a warp) is drawn as the start.
    if (ViewX >= 1) {
        first = ViewX / 16;
        shift = ViewX % 16;
    }
    // The map ends at column 1000; a level must finish before its view gets there.
    if (first >= DrawLimitColumn)
        return;
    for (int32_t r = 0; r < MapRows; ++r) {
        const int32_t top = r * 16;
        for (int32_t k = first; k <= first + ScreenColumns; ++k) {
            // Column `first` lies wholly left of the screen: it is visited so that its
            // objects exist before they scroll in, but its blit is refused.
            const int32_t left = (k - first - 1) * 16 - shift;
            if (GoesLive(MapCode(r, k)))
                ActivateCell(r, k, left, top);
            const int32_t code = MapCode(r, k);
            if (code < 0 || code >= Tile::Count)
                continue;
            const Surface& tile = TileSurfaces[static_cast<size_t>(code)];
            ddsBack.Blt(Rect{left, top, left + 16, top + 16}, tile, tile.SurfaceRect());
        }
    }
}

} // namespace zorbo
