#include "game/Kinds.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

#include <algorithm>

namespace zorbo {

namespace {

// A winged turtle's row is that of its 16-pixel body, counted once the body is more than
// half way into the next row.
int32_t FTurtleRow(int32_t y) { return y / 16 + (y % 16 > 8 ? 1 : 0); }

} // namespace

// Winged turtles hop along in constant hops; stomped, they drop to the ground as PTurtles.
void GameWindow::UpdateFTurtles()
{
    for (size_t i = 0; i < sprFTurtles.size(); ++i) {
        Sprite& e = sprFTurtles[i];
        if (e.State != Enemy::Left && e.State != Enemy::Right) {
            if (e.State != Enemy::Squashed)
                e.CurrentFrame = 0;
            continue;
        }
        FTurtleStep(e);
        if (e.State == Enemy::Free)
            continue;
        DrawWithLook(e, FTurtleAlt[i], KindOf(EnemyKind::FTurtles).lookOffset);
        if (e.State != Enemy::Left && e.State != Enemy::Right)
            continue;
        if (Stomps(sprPlayer, e.X, e.Y + 8))
            FTurtleStomped(i);
        else if (TouchesEnemy(sprPlayer, e.X, e.Y + 8))
            HitHero();
    }
}

void GameWindow::FTurtleStep(Sprite& e)
{
    const bool right = e.State == Enemy::Right;
    e.SpeedX = right ? 2 : -2;
    MoveStep(e, ViewX);
    if (e.X < -320) {
        e.State = Enemy::Free;
        return;
    }
    e.SpeedY = std::min(e.SpeedY + 1, 10);
    e.Y += e.SpeedY;
    const int32_t col = CellColumn(e, ViewX);
    const int32_t row = FTurtleRow(e.Y);
    if (col < 1 || row > 13) {
        e.State = Enemy::Free;
        return;
    }
    // Every test is the mirror image heading right: the leading column is col + 1.
    const int32_t front = right ? col + 1 : col;
    const int32_t back = right ? col : col + 1;
    auto solid = [this](int32_t r, int32_t c) { return IsSolid(MapCode(r, c)); };
    auto turn = [&](bool rising) {
        // Turned in mid-rise it steps back at once; a turn on the way down leaves the step
        // to the next update, whose own speed replaces the -2 set here (kept on purpose:
        // recordings rely on its path).
        if (rising) {
            e.SpeedX = -e.SpeedX;
            e.X += e.SpeedX;
        } else {
            e.SpeedX = -2;
        }
        e.State = right ? Enemy::Left : Enemy::Right;
        e.CurrentFrame = right ? 1 : 3;
    };
    // The corner rule against the cell in the leading column.
    const int32_t cx = e.X + ViewX + 8, cy = e.Y + 12;
    const int32_t tx = right ? 16 * col + 8 : 16 * col - 8, ty = 16 * row + 24;
    const bool nearerTopOrBottom = !CornerMeetsSide(right ? tx - cx : cx - tx, ty - cy);

    // Kept on purpose: rising, the head bump is tested behind the heading and the turn below
    // the leading column (recordings rely on its path).
    if (e.SpeedY < 0) {
        auto bump = [&]() {
            e.SpeedY = -e.SpeedY;
            e.Y = row * 16 + 16;
        };
        if (solid(row, back))
            bump();
        else if (solid(row + 1, front))
            turn(true);
        else if (solid(row, front))
            nearerTopOrBottom ? bump() : turn(true);
    } else {
        auto hop = [&]() {
            e.SpeedY = -10;
            e.Y = row * 16 - 8;
        };
        if (solid(row + 1, back))
            hop();
        else if (solid(row, front))
            turn(false);
        else if (solid(row + 1, front))
            nearerTopOrBottom ? hop() : turn(false);
    }
    // The wings beat by the rule of the heading the update began with.
    if (e.CurrentFrame == (right ? 2 : 0))
        e.NextFrame();
    else
        e.PrevFrame();
}

// A stomp knocks the wings off: the turtle drops where it was as a PTurtle that ignores
// the hero for two updates, or simply vanishes when every PTurtle slot is taken.
void GameWindow::FTurtleStomped(size_t f)
{
    Sprite& t = sprFTurtles[f];
    PlaySound(Sound::ShellStomp);
    const int32_t k = PTurtleFromFTurtle(f);
    if (k >= 0) {
        const auto slot = static_cast<size_t>(k);
        Sprite& p = sprPTurtles[slot];
        const bool right = t.State == Enemy::Right;
        p.State = right ? Enemy::FallRight : Enemy::FallLeft;
        p.CurrentFrame = right ? 2 : 0;
        p.AnimRate = 3;
        KickDelay[slot] = 3;
    }
    FTurtleAlt[f] = false;
    t.State = Enemy::Free;
    t.CurrentFrame = 1;
    BounceHero(sprPlayer);
}

} // namespace zorbo
