#pragma once
// The pieces that take several codes (pipes, hills, clouds, bushes, castle walls, the level
// end's column), laid as one by a drag on the map. One row per piece; every code it lays is
// a name of level/Codes.h.
#include "editor/LevelDocument.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zorbo::editor {

// A cell of a piece that the piece leaves as it is.
constexpr int32_t Keep = -1;

// The codes across one row of a piece: its left end, its middle (repeated as wide as the
// piece is) and its right end. A piece one cell wide lays the middle only.
struct StampRow {
    int32_t left;
    int32_t middle;
    int32_t right;
};

enum class StampHeight : uint8_t {
    Drag,    // as many rows as the drag spans, the top row first
    One,     // the row pressed on
    Tapered, // from the row pressed on upwards, a cell narrower at both ends per row, to a peak
    ToTop,   // from the row pressed on up to the row under the top row
};

struct Stamp {
    std::string_view name;
    StampRow top;  // the first row: a pipe's mouth, the battlements, a hill's peak
    StampRow body; // every other row
    int32_t width; // 0: as wide as the drag
    int32_t minWidth;
    StampHeight height;
    int32_t crown; // a code one row above the top row's left cell (a pipe's plant), or Keep
    std::string_view hint; // how a drag lays it, for the status line
};

// The top row frames the heads-up text and must stay dark, so the level end's column
// stops under it; from there to the floor no jump clears it.
constexpr int32_t GoalTopRow = 1;

inline constexpr std::array kStamps = [] {
    using H = StampHeight;
    namespace T = Tile;
    constexpr StampRow pipeMouth{T::PipeMouthLeft, Keep, T::PipeMouthRight};
    constexpr StampRow pipeBody{T::PipeBodyLeft, Keep, T::PipeBodyRight};
    constexpr StampRow stone{T::CastleStone, T::CastleStone, T::CastleStone};
    constexpr StampRow goal{Keep, T::LevelEnd, Keep};
    return std::array{
        Stamp{"Pipe", pipeMouth, pipeBody, 2, 2, H::Drag, Keep,
              "drag from the mouth down to the floor: the pipe is as high as the drag"},
        Stamp{"Pipe with a plant", pipeMouth, pipeBody, 2, 2, H::Drag, T::Plant,
              "drag from the mouth down to the floor; the plant waits above the mouth"},
        Stamp{"Hill", {T::HillLeft, T::HillTop, T::HillRight}, {T::HillLeft, T::HillInside, T::HillRight}, 0, 3,
              H::Tapered, Keep, "press on the row above the floor and drag sideways: the hill is as wide as the drag"},
        Stamp{"Cloud", {T::CloudLeft, T::CloudMiddle, T::CloudRight}, {T::CloudLeft, T::CloudMiddle, T::CloudRight},
              0, 2, H::One, Keep, "drag sideways: the cloud is as wide as the drag"},
        Stamp{"Bush", {T::BushLeft, T::BushMiddle, T::BushRight}, {T::BushLeft, T::BushMiddle, T::BushRight}, 0, 2,
              H::One, Keep, "drag sideways on the row above the floor: the bush is as wide as the drag"},
        Stamp{"Castle wall", {T::Battlement, T::Battlement, T::Battlement}, stone, 0, 1, H::Drag, Keep,
              "drag a rectangle: battlements along its top, stone below"},
        Stamp{"Castle floor", {T::CastleFloor, T::CastleFloor, T::CastleFloor}, stone, 0, 1, H::Drag, Keep,
              "drag a rectangle: castle floor along its top, stone below"},
        Stamp{"Level end column", goal, goal, 1, 1, H::ToTop, Keep,
              "click the cell above the floor: the column rises to the row under the top row"},
    };
}();
constexpr int StampCount = static_cast<int>(kStamps.size());

struct StampCell {
    int32_t row;
    int32_t col;
    int32_t code;
};

// The cells a piece lays for a drag from anchor to last (in anchor's level), each once,
// those off the map left out. A piece of fixed width starts at the anchor's column.
std::vector<StampCell> StampCells(const Stamp& stamp, const CellPos& anchor, const CellPos& last);
// The rectangle those cells cover; nullopt when none is on the map.
std::optional<CellRect> StampBounds(const Stamp& stamp, const CellPos& anchor, const CellPos& last);

} // namespace zorbo::editor
