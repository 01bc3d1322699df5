#pragma once
#include <array>
#include <cstdint>
#include <memory>

namespace zorbo {

// The tile codes of all ten levels: level 0..9, row 0..14, column 0..1000.
// Every read and write goes through At/Set, which treat any cell outside the map as
// code 0 (not solid) and ignore writes there, whatever a level file or a probe asks for.
// Copies share their rows until one of them writes to a row: a search that snapshots the
// game every few frames then copies the rows that play changed, not the whole map.
class TileMap {
public:
    static constexpr int32_t Levels = 10;
    static constexpr int32_t Rows = 15;
    static constexpr int32_t Columns = 1001;

    TileMap() { rows_.fill(EmptyRow()); }

    static bool Inside(int32_t level, int32_t row, int32_t col)
    {
        return level >= 0 && level < Levels && row >= 0 && row < Rows && col >= 0 && col < Columns;
    }
    int32_t At(int32_t level, int32_t row, int32_t col) const
    {
        return Inside(level, row, col) ? (*rows_[RowIndex(level, row)])[static_cast<size_t>(col)] : 0;
    }
    void Set(int32_t level, int32_t row, int32_t col, int32_t code)
    {
        if (!Inside(level, row, col))
            return;
        std::shared_ptr<Row>& cells = rows_[RowIndex(level, row)];
        if (cells.use_count() > 1)
            cells = std::make_shared<Row>(*cells);
        (*cells)[static_cast<size_t>(col)] = static_cast<Cell>(code);
    }

private:
    // A code is a level file's byte less the format's first byte, or a code play writes:
    // 16 bits hold them all and halve the map's memory (and a search's row copies).
    using Cell = int16_t;
    using Row = std::array<Cell, Columns>;
    static size_t RowIndex(int32_t level, int32_t row)
    {
        return static_cast<size_t>(level) * Rows + static_cast<size_t>(row);
    }
    // One row of zeros shared by every fresh map; its own reference keeps it from being
    // written in place.
    static const std::shared_ptr<Row>& EmptyRow()
    {
        static const std::shared_ptr<Row> empty = std::make_shared<Row>();
        return empty;
    }
    std::array<std::shared_ptr<Row>, static_cast<size_t>(Levels) * Rows> rows_;
};

// A warp record's WarpState: how many of its ends the level file gave (a used pipe is
// emptied again).
namespace WarpEnds {
constexpr int32_t None = 0;
constexpr int32_t Both = 1;
constexpr int32_t First = 2;
} // namespace WarpEnds

// The two ends of one warp pipe, as read from the level file.
struct WarpRecord {
    int32_t X1 = 0;
    int32_t Y1 = 0;
    int32_t X2 = 0;
    int32_t Y2 = 0;
    int32_t WarpState = WarpEnds::None;
};

constexpr int32_t WarpPipes = 4; // per level
using WarpTable = std::array<std::array<WarpRecord, WarpPipes>, TileMap::Levels>;

} // namespace zorbo
