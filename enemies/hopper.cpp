#include "game/GameWindow.h"
#include "world/Objects.h"

#include <algorithm>

namespace zorbo {

// Blacks and Browns hop in place: they keep up with the scroll and fall under gravity
// (at most 6 pixels an update). Returns false when the enemy left play (fell out of the
// level) or is above the screen, where nothing more is done with it this update.
bool GameWindow::HopStep(Sprite& e, int32_t& row, int32_t& col)
{
    ScrollStep(e, ViewX);
    e.SpeedY = std::min(e.SpeedY + 1, 6);
    e.Y += e.SpeedY;
    col = CellColumn(e, ViewX);
    row = e.Y / 16;
    if (row > 13) {
        e.State = Enemy::Free;
        return false;
    }
    return row >= 0;
}

// A squashed Black or Brown drops 6 pixels an update until it lies on something solid,
// and is given up well past the left edge.
void GameWindow::SquashedHopperStep(Sprite& e)
{
    ScrollStep(e, ViewX);
    if (e.X < -180) {
        e.State = Enemy::Free;
        return;
    }
    const int32_t col = CellColumn(e, ViewX);
    int32_t row = e.Y / 16;
    if (row > 13) {
        e.State = Enemy::Free;
        return;
    }
    if (row < 0 || IsSolid(MapCode(row + 1, col)))
        return;
    e.Y += 6;
    row = e.Y / 16;
    if (row > 13) {
        e.State = Enemy::Free;
    } else if (IsSolid(MapCode(row + 1, col))) {
        e.Y = row * 16;
        e.SpeedY = 0;
    }
}

} // namespace zorbo
