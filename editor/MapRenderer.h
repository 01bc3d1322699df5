#pragma once
// The map view's picture: one level's cells and objects as the game draws them, with the
// editor's marks (grid, column numbers, the first screen, checkpoints, elevator links, warp
// numbers, selection) on top. Draws into a Surface and needs no window.
#include "editor/LevelDocument.h"
#include "editor/Pictures.h"
#include "editor/Prover.h"

#include <optional>
#include <vector>

namespace zorbo::editor {

// The band of column numbers above the map, in view pixels.
constexpr int32_t HeaderHeight = 16;

// A proof drawn over its level: the hero's route, or where the search got furthest.
struct ProofMarks {
    const ProofRoute* route = nullptr; // owned by the prover
    int32_t level = -1;                // 0..9
    int32_t blockedColumn = 0;         // with no route: the furthest column reached
    bool stale = false;                // the level changed since: drawn dimmed
};

struct ViewState {
    int32_t level = 0;
    int32_t zoom = 2;
    int32_t scrollX = 0; // map pixels (at the zoom) left of the view; column 1 starts at 0
    int32_t scrollY = 0; // map pixels above the view's first map row
    bool grid = true;
    std::optional<CellRect> selection; // the selected rectangle
    std::optional<CellRect> outline;   // a rectangle being drawn or moved
    std::optional<CellPos> hover;      // the cell under the mouse
    std::optional<CellPos> marked;     // the cell a check-list line points at
    std::optional<ProofMarks> proof;   // shown when the View menu asks for it
};

// Where a view point lies on the map: the cell, or nothing over the header or off the map.
std::optional<CellPos> CellAtPoint(const ViewState& view, int32_t x, int32_t y);
// The view pixel of a cell's top-left corner.
int32_t CellLeft(const ViewState& view, int32_t col);
int32_t CellTop(const ViewState& view, int32_t row);

// Elevator ends paired as the game pairs them (PairElevatorEnds in level/Rules.h).
ElevatorPairs PairElevators(const LevelDocument& doc, int32_t level);

// The first column of the game's first screen: the hero start the first view finds, placed
// as the game places it (level/Rules.h); column 1 without one.
int32_t FirstScreenColumn(const LevelDocument& doc, int32_t level);

// A level's checkpoints, left to right, to its last column (LevelCheckpoints in level/Rules.h);
// in a level whose first view holds no hero start, the first one is its start, not one of them.
std::vector<Checkpoint> Checkpoints(const LevelDocument& doc, int32_t level);

// The picture as three bytes per pixel (red, green, blue), the layout FLTK draws.
void PackRgb(const Surface& picture, std::vector<uint8_t>& rgb);

class MapRenderer {
public:
    explicit MapRenderer(const Pictures& pictures) : pictures_(pictures) {}

    // Draws the part of the view's level that a picture of out's size shows.
    void Render(const LevelDocument& doc, const ViewState& view, Surface& out) const;

private:
    void DrawCells(const LevelDocument& doc, const ViewState& view, Surface& out) const;
    void DrawObjects(const LevelDocument& doc, const ViewState& view, Surface& out) const;
    void DrawElevators(const LevelDocument& doc, const ViewState& view, Surface& out) const;
    void DrawGrid(const ViewState& view, Surface& out) const;
    void DrawScreens(const LevelDocument& doc, const ViewState& view, Surface& out) const;
    void DrawCheckpoints(const LevelDocument& doc, const ViewState& view, Surface& out) const;
    void DrawMarks(const ViewState& view, Surface& out) const;
    void DrawProof(const ViewState& view, Surface& out) const;
    void DrawHeader(const LevelDocument& doc, const ViewState& view, Surface& out) const;

    const Pictures& pictures_;
};

} // namespace zorbo::editor
