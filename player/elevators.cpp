#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

namespace {
constexpr int32_t ElevatorSpeed = 3;

void ShiftPath(ElevatorPath& path, int32_t viewX)
{
    const int32_t d = viewX - path.RefViewX;
    path.FromX -= d;
    path.ToX -= d;
    path.RefViewX = viewX;
}
} // namespace

void GameWindow::UpdateElevator()
{
    for (size_t i = 0; i < sprElevators.size(); ++i) {
        Sprite& e = sprElevators[i];
        ElevatorPath& path = ElevatorPaths[i];
        switch (e.State) {
        case Elevator::Waiting:
            ShiftPath(path, ViewX);
            break;
        case Elevator::Sideways: {
            ShiftPath(path, ViewX);
            const int32_t s = ViewX - e.GlobalX;
            // Kept on purpose: the turn is decided on the position from before the scroll
            // correction, so a carried hero can slip at a turn (recordings rely on it).
            if (path.Dir == 1) {
                if (e.X < path.ToX) {
                    e.X = e.X - s + ElevatorSpeed;
                } else {
                    path.Dir = -1;
                    e.X = e.X - s - ElevatorSpeed;
                }
            } else if (path.Dir == -1) {
                if (path.FromX >= e.X) {
                    path.Dir = 1;
                    e.X = e.X - s + ElevatorSpeed;
                } else {
                    e.X = e.X - s - ElevatorSpeed;
                }
            }
            e.GlobalX = ViewX;
            e.Draw(ddsBack);
            if (e.X < -240)
                e.State = Elevator::Free;
            break;
        }
        case Elevator::UpDown:
            ScrollStep(e, ViewX);
            if (path.Dir == 1) {
                if (e.Y < path.ToY) {
                    e.Y += ElevatorSpeed;
                } else {
                    path.Dir = -1;
                    e.Y -= ElevatorSpeed;
                }
            } else if (path.Dir == -1) {
                if (path.FromY < e.Y) {
                    e.Y -= ElevatorSpeed;
                } else {
                    path.Dir = 1;
                    e.Y += ElevatorSpeed;
                }
            }
            e.Draw(ddsBack);
            if (e.X < -240)
                e.State = Elevator::Free;
            break;
        default:
            break;
        }
    }
}

// Puts a hero who stands on a platform where its top will be after this frame's move,
// and carries him along a sideways one.
void GameWindow::ElevatorCollision()
{
    Sprite& h = sprPlayer;
    for (size_t i = 0; i < sprElevators.size(); ++i) {
        const Sprite& e = sprElevators[i];
        const ElevatorPath& path = ElevatorPaths[i];
        const bool horizontal = e.State == Elevator::Sideways;
        if (!horizontal && e.State != Elevator::UpDown)
            continue;

        int32_t m = 0;
        if (horizontal) {
            const int32_t shift = ViewX - path.RefViewX;
            const int32_t lo = path.FromX - shift;
            const int32_t hi = path.ToX - shift;
            if (path.Dir == 1)
                m = e.X < hi ? 1 : -1;
            else if (path.Dir == -1)
                m = lo < e.X ? -1 : 1;
        } else {
            if (path.Dir == 1)
                m = e.Y < path.ToY ? 1 : -1;
            else if (path.Dir == -1)
                m = path.FromY < e.Y ? -1 : 1;
        }

        const int32_t window = horizontal ? 8 : 11;
        const bool standing = e.X < h.X + 16 && h.X < e.X + 48 && h.Y + 16 >= e.Y &&
                              h.Y + 16 < e.Y + window;
        if (!standing)
            continue;

        if (horizontal)
            h.Y = e.Y - 16;
        else if (m == 1)
            h.Y = e.Y - 13;
        else if (m == -1)
            h.Y = e.Y - 19;
        h.SpeedY = 0;
        if (h.State == Hero::AirRight)
            h.State = Hero::GroundRight;
        else if (h.State == Hero::AirLeft)
            h.State = Hero::GroundLeft;

        if (!horizontal)
            continue;
        // The carry does not look at walls.
        if (m == 1) {
            if (ViewX != 0) {
                ViewX += ElevatorSpeed;
            } else {
                h.X += ElevatorSpeed;
                if (h.X > 160) {
                    ViewX = h.X - 160;
                    h.X = 160;
                }
            }
        } else if (m == -1) {
            if (ViewX != 0) {
                ViewX -= ElevatorSpeed;
                if (ViewX < 0) {
                    h.X = ViewX + 160;
                    ViewX = 0;
                }
            } else {
                h.X -= ElevatorSpeed;
                if (h.X < 16)
                    h.X = 16;
            }
        }
    }
}

} // namespace zorbo
