#include "editor/Stamps.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace zorbo::editor {

namespace {

// The code at place i of a row n cells wide.
int32_t CodeAcross(const StampRow& r, int32_t i, int32_t n)
{
    if (n == 1)
        return r.middle;
    if (i == 0)
        return r.left;
    return i == n - 1 ? r.right : r.middle;
}

class Layer {
public:
    std::vector<StampCell> cells;

    // One row of the piece, n cells from col.
    void Row(const StampRow& r, int32_t row, int32_t col, int32_t n)
    {
        for (int32_t i = 0; i < n; ++i)
            Cell(row, col + i, CodeAcross(r, i, n));
    }
    void Cell(int32_t row, int32_t col, int32_t code)
    {
        if (code != Keep && row >= 0 && row < Rows && col >= 1 && col <= Columns)
            cells.push_back(StampCell{row, col, code});
    }
};

} // namespace

std::vector<StampCell> StampCells(const Stamp& stamp, const CellPos& anchor, const CellPos& last)
{
    int32_t left = anchor.col, width = stamp.width;
    if (width == 0) {
        left = std::min(anchor.col, last.col);
        width = std::max(stamp.minWidth, std::abs(anchor.col - last.col) + 1);
    }
    Layer layer;
    switch (stamp.height) {
    case StampHeight::Drag: {
        const int32_t top = std::min(anchor.row, last.row), bottom = std::max(anchor.row, last.row);
        layer.Cell(top - 1, left, stamp.crown);
        for (int32_t row = top; row <= bottom; ++row)
            layer.Row(row == top ? stamp.top : stamp.body, row, left, width);
        break;
    }
    case StampHeight::One: layer.Row(stamp.top, anchor.row, left, width); break;
    case StampHeight::Tapered:
        // Each row up is a cell in at both ends; the row after which none three wide is left
        // is the peak.
        for (int32_t k = 0;; ++k) {
            const int32_t n = width - 2 * k;
            const bool peak = n - 2 < 3;
            layer.Row(peak ? stamp.top : stamp.body, anchor.row - k, left + k, n);
            if (peak)
                break;
        }
        break;
    case StampHeight::ToTop:
        for (int32_t row = GoalTopRow; row <= anchor.row; ++row)
            layer.Row(row == GoalTopRow ? stamp.top : stamp.body, row, left, width);
        break;
    }
    return std::move(layer.cells);
}

std::optional<CellRect> StampBounds(const Stamp& stamp, const CellPos& anchor, const CellPos& last)
{
    const std::vector<StampCell> cells = StampCells(stamp, anchor, last);
    if (cells.empty())
        return std::nullopt;
    int32_t top = INT32_MAX, bottom = INT32_MIN, left = INT32_MAX, right = INT32_MIN;
    for (const StampCell& c : cells) {
        top = std::min(top, c.row);
        bottom = std::max(bottom, c.row);
        left = std::min(left, c.col);
        right = std::max(right, c.col);
    }
    return CellRect{anchor.level, top, left, bottom - top + 1, right - left + 1};
}

} // namespace zorbo::editor
