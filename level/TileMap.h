#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace zorbo {

// The tile codes of all ten levels: level 0..9, row 0..14, column 0..1000.
// Every read and write goes through At/Set, which treat any cell outside the map as
// code 0 (not solid) and ignore writes there, whatever a level file or a probe asks for.
class TileMap {
public:
    static constexpr int32_t Levels = 10;
    static constexpr int32_t Rows = 15;
    static constexpr int32_t Columns = 1001;

    TileMap() : cells_(static_cast<size_t>(Levels) * Rows * Columns, 0) {}

    static bool Inside(int32_t level, int32_t row, int32_t col)
    {
        return level >= 0 && level < Levels && row >= 0 && row < Rows && col >= 0 && col < Columns;
    }
    int32_t At(int32_t level, int32_t row, int32_t col) const
    {
        return Inside(level, row, col) ? cells_[Index(level, row, col)] : 0;
    }
    void Set(int32_t level, int32_t row, int32_t col, int32_t code)
    {
        if (Inside(level, row, col))
            cells_[Index(level, row, col)] = code;
    }

private:
    static size_t Index(int32_t level, int32_t row, int32_t col)
    {
        return (static_cast<size_t>(level) * Rows + static_cast<size_t>(row)) * Columns + static_cast<size_t>(col);
    }
    std::vector<int32_t> cells_;
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
