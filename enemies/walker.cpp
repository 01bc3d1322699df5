#include "enemies/Walker.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

namespace {

void Turn(Sprite& e, int32_t state, bool toRight, const WalkerKind& kind)
{
    // Every kind turns at 2 pixels; the next update's own speed replaces it before it moves
    // (kept on purpose: a Greenie's turn never moves it, and recordings rely on it).
    e.SpeedX = toRight ? 2 : -2;
    e.State = state;
    e.CurrentFrame = toRight ? kind.rightFrame : kind.leftFrame;
}

// The walking pictures step by the rule of the state the update began in, even after a turn
// (kept on purpose: recordings rely on the pictures).
void Animate(Sprite& e, const WalkerKind& kind, int32_t began)
{
    const bool left = began == Enemy::Left || began == Enemy::FallLeft;
    const int32_t f = e.CurrentFrame;
    switch (kind.look) {
    case WalkerLook::Wumpel:
        if (left)
            f == 0 ? e.NextFrame() : e.PrevFrame();
        else if (began == Enemy::Right)
            f == 2 ? e.NextFrame() : e.PrevFrame();
        else if (f == 2)
            e.NextFrame();
        else if (f == 3)
            e.PrevFrame();
        else
            e.CurrentFrame = 2;
        break;
    case WalkerLook::Turtle:
        if (left && f > 1)
            e.CurrentFrame = 1;
        else if (!left && f < 2)
            e.CurrentFrame = 2;
        else
            f == (left ? 0 : 2) ? e.NextFrame() : e.PrevFrame();
        break;
    case WalkerLook::Greenie:
        // The step back to the first picture of the cycle does not wait for AnimRate.
        if (f == (left ? 10 : 4))
            e.CurrentFrame = left ? 6 : 0;
        else
            e.NextFrame();
        break;
    }
}

} // namespace

// One update of a walker's slot: its state step, its picture, then its contact with the
// hero. Returns the state it was stomped in, or -1.
int32_t GameWindow::UpdateWalker(Sprite& e, const WalkerKind& kind, bool alternate)
{
    if (Enemy::IsWalking(e.State)) {
        WalkerStep(e, kind);
        if (e.State == Enemy::Free)
            return -1;
        DrawWithLook(e, alternate, KindOf(kind.enemy).lookOffset);
        const int32_t state = e.State;
        if (Enemy::IsWalking(state) && WalkerContact(e, kind.contactTop))
            return state;
    } else if (e.State == Enemy::Squashed) {
        SquashedStep(e, kind);
        if (e.State == Enemy::Free)
            return -1;
        DrawWithLook(e, alternate, KindOf(kind.enemy).lookOffset);
        // A squashed one stays where it lies until it is well past the left edge.
        if (e.X < -160)
            e.State = Enemy::Free;
    }
    return -1;
}

void GameWindow::WalkerStep(Sprite& e, const WalkerKind& kind)
{
    const int32_t began = e.State;
    const bool left = began == Enemy::Left || began == Enemy::FallLeft;
    const bool falling = began == Enemy::FallLeft || began == Enemy::FallRight;
    e.SpeedX = left ? -kind.speed : kind.speed;
    MoveStep(e, ViewX);
    // Walking right, an enemy is never given up here, however far the view leaves it (kept
    // on purpose: recordings rely on the slots it holds).
    if (began != Enemy::Right && e.X < -320) {
        e.State = Enemy::Free;
        return;
    }
    if (falling)
        e.Y += 6;
    const int32_t col = CellColumn(e, ViewX);
    const int32_t row = kind.Row(e.Y);
    if (began != Enemy::Right && (col < 1 || (falling && row > kind.lastRow))) {
        e.State = Enemy::Free;
        return;
    }
    auto solid = [this](int32_t r, int32_t c) { return IsSolid(MapCode(r, c)); };
    auto land = [&](int32_t state) {
        e.State = state;
        e.Y = row * 16 + kind.landOffset;
    };
    const int32_t cx = e.X + ViewX + 8, cy = e.Y + kind.centreY, ty = 16 * row + 24;

    switch (began) {
    case Enemy::Left:
        if (solid(row, col) || (kind.ledgeTurn && !solid(row + 1, col)))
            Turn(e, Enemy::Right, true, kind);
        // Tested after a turn too: a walker that turns over a gap falls heading left.
        if (!solid(row + 1, col) && !solid(row + 1, col + 1)) {
            e.SpeedY = 6;
            e.State = Enemy::FallLeft;
        }
        break;
    case Enemy::Right: {
        if (solid(row, col + 1) || (kind.ledgeTurn && !solid(row + 1, col + 1)))
            Turn(e, Enemy::Left, false, kind);
        // Some kinds test only the cell under their left column: they drop into a gap one
        // cell wide that they cross heading left (kept on purpose: levels rely on it).
        const bool open = !solid(row + 1, col) && (!kind.bothTilesRight || !solid(row + 1, col + 1));
        if (open) {
            e.SpeedY = 6;
            e.State = Enemy::FallRight;
        }
        break;
    }
    case Enemy::FallLeft:
        if (solid(row, col))
            Turn(e, Enemy::FallRight, true, kind);
        else if (solid(row + 1, col + 1))
            land(Enemy::Left);
        else if (solid(row + 1, col)) {
            if (LandsOnCorner(cx, cy, 16 * col - 8, ty, false))
                land(Enemy::Left);
            else
                Turn(e, Enemy::FallRight, true, kind);
        }
        break;
    case Enemy::FallRight:
        if (solid(row, col + 1))
            Turn(e, Enemy::FallLeft, false, kind);
        else if (solid(row + 1, col))
            land(Enemy::Right);
        else if (solid(row + 1, col + 1)) {
            if (LandsOnCorner(cx, cy, 16 * col + 8, ty, true))
                land(Enemy::Right);
            else
                Turn(e, Enemy::FallLeft, false, kind);
        }
        break;
    default:
        return;
    }
    Animate(e, kind, began);
}

// A squashed walker (or a turtle's shell) lies still. Cells of code 10 and up hold it,
// although only solid ones hold up a walking enemy (kept on purpose: levels rely on it).
void GameWindow::SquashedStep(Sprite& e, const WalkerKind& kind)
{
    e.SpeedX = 0;
    if (kind.squashedFrame >= 0)
        e.CurrentFrame = kind.squashedFrame;
    MoveStep(e, ViewX);
    const int32_t col = CellColumn(e, ViewX);
    int32_t row = kind.Row(e.Y);
    if (col < 1 || row > kind.lastRow) {
        e.State = Enemy::Free;
        return;
    }
    if (MapCode(row + 1, col) < 10 && MapCode(row + 1, col + 1) < 10) {
        e.Y += 6;
        row = kind.Row(e.Y);
        if (row > kind.lastRow) {
            e.State = Enemy::Free;
            return;
        }
        if (IsSolid(MapCode(row + 1, col)) || IsSolid(MapCode(row + 1, col + 1))) {
            e.SpeedY = 0;
            e.Y = row * 16 + kind.landOffset;
        }
    }
}

bool GameWindow::WalkerContact(Sprite& e, int32_t top, int32_t stompSound)
{
    Sprite& hero = sprPlayer;
    const int32_t wy = e.Y + top;
    if (Stomps(hero, e.X, wy)) {
        PlaySound(stompSound);
        e.State = Enemy::Squashed;
        BounceHero(hero);
        return true;
    }
    if (TouchesEnemy(hero, e.X, wy))
        HitHero();
    return false;
}

void GameWindow::DrawWithLook(Sprite& e, bool alternate, int32_t lookOffset)
{
    // The alternate look is the same strip lookOffset pictures further on.
    if (alternate) {
        e.CurrentFrame = e.CurrentFrame + lookOffset;
        e.Draw(ddsBack);
        e.CurrentFrame = e.CurrentFrame - lookOffset;
    } else {
        e.Draw(ddsBack);
    }
}

} // namespace zorbo
