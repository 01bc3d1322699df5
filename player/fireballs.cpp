#include "game/Kinds.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

namespace {
// How many fireballs may fly at once; the fastest game allows none.
int32_t FireLimit(int32_t difficulty)
{
    switch (difficulty) {
    case Difficulty::Easy:
        return 3;
    case Difficulty::Normal:
        return 2;
    case Difficulty::Difficult:
        return 1;
    default:
        return 0;
    }
}
} // namespace

void GameWindow::InitFireBall()
{
    Sprite& h = sprPlayer;
    const int32_t worldX = ViewX + h.X;
    const int32_t col = worldX / 16 + 1;
    const int32_t row = h.Y / 16;
    HeroXMod = worldX % 16;

    int32_t inFlight = 0;
    for (const Sprite& f : sprHeroFire)
        if (f.State == Ball::Left || f.State == Ball::Right)
            ++inFlight;
    if (inFlight >= FireLimit(gDifficulty))
        return;
    if (h.Y < 0)
        return;
    Sprite* slot = nullptr;
    for (Sprite& f : sprHeroFire)
        if (f.State == Ball::Free) {
            slot = &f;
            break;
        }
    if (slot == nullptr)
        return;

    int32_t state = 0;
    if (h.State == Hero::GroundLeft || h.State == Hero::AirLeft) {
        if (IsSolid(MapCode(row, col - 1)) && HeroXMod < 3)
            return;
        state = Ball::Left;
    } else if (h.State == Hero::GroundRight || h.State == Hero::AirRight) {
        if (IsSolid(MapCode(row, col + 1)))
            return;
        if (IsSolid(MapCode(row, col + 2)) && HeroXMod > 3)
            return;
        state = Ball::Right;
    } else {
        return;
    }
    slot->X = h.X + 8;
    slot->Y = h.Y + 4;
    slot->GlobalX = ViewX;
    slot->State = state;
    slot->SpeedX = state == Ball::Left ? -10 : 10;
    slot->SpeedY = 3;
    PlaySound(Sound::Fire);
}

void GameWindow::ZorboFireBall()
{
    for (Sprite& f : sprHeroFire) {
        if (f.State == Ball::Free)
            continue;
        if (f.X > 352 || f.Y > 232 || f.X < -32) {
            f.State = Ball::Free;
            continue;
        }
        MoveStep(f, ViewX);
        f.Y += f.SpeedY;
        f.SpeedY += 1;
        if (f.SpeedY > 7)
            f.SpeedY = 7;

        const int32_t worldX = ViewX + f.X;
        const int32_t col = worldX / 16 + 1;
        const int32_t row = f.Y / 16;
        const int32_t ym = f.Y % 16;
        const int32_t xm = worldX % 16;
        if (row > 13 || row < 0) {
            f.State = Ball::Free;
            continue;
        }

        // The ball hops along the floor and dies on walls.
        if (f.State == Ball::Right) {
            if (IsSolid(MapCode(row, col + 1)) && xm > 4) {
                f.State = Ball::Free;
            } else if (IsSolid(MapCode(row + 1, col + 1)) && ym > 5) {
                f.SpeedY = -4;
                f.Y = row * 16 + 8;
            }
        } else {
            if (IsSolid(MapCode(row, col))) {
                f.State = Ball::Free;
            } else if (IsSolid(MapCode(row + 1, col)) && ym > 5) {
                f.SpeedY = -4;
                f.Y = row * 16 + 8;
            }
        }
        if (f.State == Ball::Free)
            continue;

        if (KnockOut(KnockCause::Fireball, f.X, f.Y))
            f.State = Ball::Free;
        // Drawn once more even when it hit something; the slot is free from the next frame.
        f.Draw(ddsBack);
    }
}

} // namespace zorbo
