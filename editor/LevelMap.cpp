#include "editor/LevelMap.h"

#include "editor/MapRenderer.h"
#include "level/LevelFile.h"

#include <algorithm>

namespace zorbo::editor {

int32_t LastUsedColumn(const LevelDocument& doc, int32_t level)
{
    int32_t last = ScreenColumns;
    for (int32_t col = Columns; col > last; --col)
        for (int32_t row = 0; row < Rows; ++row) {
            const int32_t code = doc.Code(level, row, col);
            if (code != Tile::Background && code != Tile::Background2)
                return col;
        }
    return last;
}

Surface RenderLevelMap(const LevelDocument& doc, const Pictures& pictures, int32_t level)
{
    ViewState view;
    view.level = level;
    view.zoom = 1;
    view.grid = false;
    const int32_t columns = std::min(LastUsedColumn(doc, level) + 1, Columns);
    Surface out;
    out.Create(columns * Cell, HeaderHeight + Rows * Cell);
    MapRenderer(pictures).Render(doc, view, out);
    return out;
}

} // namespace zorbo::editor
