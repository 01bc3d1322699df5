#include "game/GameWindow.h"
#include "world/Objects.h"

#include <algorithm>

namespace zorbo {

// Blacks and Browns hop in place: they keep up with the scroll and fall under gravity
// (at most 6 pixels an update); a squashed one (shown in squashedFrame, if not -1) drops
// until it lies on something solid. All are given up 180 pixels off the left. Returns true
// for a hopping one still in play and on the screen's rows, whose landing rules its kind
// applies next with the cell it is in.
bool GameWindow::HopperStep(Sprite& e, int32_t squashedFrame, int32_t& row, int32_t& col)
{
    if (e.State == Enemy::Free)
        return false;
    if (e.X < -180) {
        e.State = Enemy::Free;
        return false;
    }
    if (e.State == Enemy::Squashed) {
        if (squashedFrame >= 0)
            e.CurrentFrame = squashedFrame;
        SquashedHopperStep(e);
        return false;
    }
    if (e.State != Enemy::Left && e.State != Enemy::Right)
        return false;
    ScrollStep(e, ViewX);
    e.SpeedY = std::min(e.SpeedY + 1, 6);
    e.Y += e.SpeedY;
    col = CellColumn(e, ViewX);
    row = e.Y / 16;
    if (row > 13) {
        e.State = Enemy::Free;
        return false;
    }
    // Kept on purpose: above the screen (row < 0) it only falls; a Brown there neither
    // animates, throws nor turns (recordings rely on it).
    return row >= 0;
}

// A squashed Black or Brown drops 6 pixels an update until it lies on something solid,
// and is given up well past the left edge (checked again after the scroll).
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
