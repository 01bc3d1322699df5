#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

namespace {
constexpr int32_t FireFree = Enemy::Free;
constexpr int32_t FireLeft = 0;
constexpr int32_t FireRight = 1;

// How many fireballs may fly at once; the fastest game allows none.
int32_t FireLimit(int32_t difficulty)
{
    switch (difficulty) {
    case 18:
        return 3;
    case 26:
        return 2;
    case 32:
        return 1;
    default:
        return 0;
    }
}

bool Overlaps(const Sprite& f, const Sprite& e, int32_t top, int32_t bottom)
{
    return e.X - 7 < f.X && f.X < e.X + 13 && e.Y + top <= f.Y && f.Y <= e.Y + bottom;
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
        if (f.State == FireLeft || f.State == FireRight)
            ++inFlight;
    if (inFlight >= FireLimit(gDifficulty))
        return;
    if (h.Y < 0)
        return;
    Sprite* slot = nullptr;
    for (Sprite& f : sprHeroFire)
        if (f.State == FireFree) {
            slot = &f;
            break;
        }
    if (slot == nullptr)
        return;

    int32_t state = 0;
    if (h.State == Hero::GroundLeft || h.State == Hero::AirLeft) {
        if (IsSolid(MapCode(row, col - 1)) && HeroXMod < 3)
            return;
        state = FireLeft;
    } else if (h.State == Hero::GroundRight || h.State == Hero::AirRight) {
        if (IsSolid(MapCode(row, col + 1)))
            return;
        if (IsSolid(MapCode(row, col + 2)) && HeroXMod > 3)
            return;
        state = FireRight;
    } else {
        return;
    }
    slot->X = h.X + 8;
    slot->Y = h.Y + 4;
    slot->GlobalX = ViewX;
    slot->State = state;
    slot->SpeedX = state == FireLeft ? -10 : 10;
    slot->SpeedY = 3;
    PlaySound(Sound::Fire);
}

void GameWindow::ZorboFireBall()
{
    for (Sprite& f : sprHeroFire) {
        if (f.State == FireFree)
            continue;
        if (f.X > 352 || f.Y > 232 || f.X < -32) {
            f.State = FireFree;
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
            f.State = FireFree;
            continue;
        }

        // The ball hops along the floor and dies on walls.
        if (f.State == FireRight) {
            if (IsSolid(MapCode(row, col + 1)) && xm > 4) {
                f.State = FireFree;
            } else if (IsSolid(MapCode(row + 1, col + 1)) && ym > 5) {
                f.SpeedY = -4;
                f.Y = row * 16 + 8;
            }
        } else {
            if (IsSolid(MapCode(row, col))) {
                f.State = FireFree;
            } else if (IsSolid(MapCode(row + 1, col)) && ym > 5) {
                f.SpeedY = -4;
                f.Y = row * 16 + 8;
            }
        }
        if (f.State == FireFree)
            continue;

        // A ball that knocks something out goes on testing every remaining enemy.
        for (Sprite& e : sprTurtles) {
            if (e.State == Enemy::Free || e.State == Enemy::Squashed || !Overlaps(f, e, 0, 23))
                continue;
            e.State = Enemy::Squashed;
            e.CurrentFrame = e.SpeedX < 1 ? 4 : 5;
            e.SpeedX = 0;
            PlaySound(Sound::Stomp);
            f.State = FireFree;
        }
        for (size_t i = 0; i < sprFTurtles.size(); ++i) {
            Sprite& e = sprFTurtles[i];
            if (e.State == Enemy::Free || e.State == Enemy::Squashed || !Overlaps(f, e, 0, 20))
                continue;
            PlaySound(Sound::Kick);
            KnockOutFTurtle(i);
            f.State = FireFree;
        }
        for (Sprite& e : sprPTurtles) {
            if (e.State == Enemy::Free || e.State == Enemy::KnockedOut || !Overlaps(f, e, 0, 20))
                continue;
            e.SpeedX = 0;
            e.State = Enemy::KnockedOut;
            e.SpeedY = -5;
            PlaySound(Sound::Kick);
            f.State = FireFree;
        }
        auto knockOut = [&](std::span<Sprite> kind, int32_t frame) {
            for (Sprite& e : kind) {
                if (e.State == Enemy::Free || e.State == Enemy::Squashed || !Overlaps(f, e, -7, 12))
                    continue;
                e.State = Enemy::Squashed;
                e.CurrentFrame = frame;
                e.SpeedX = 0;
                PlaySound(Sound::Stomp);
                f.State = FireFree;
            }
        };
        knockOut(sprWumpels, 2);
        knockOut(sprGreenies, 5);
        knockOut(sprBlacks, 5);
        for (Sprite& e : sprBrowns) {
            if (e.State == Enemy::Free || e.State == Enemy::Squashed || !Overlaps(f, e, -7, 12))
                continue;
            if (e.State == 0)
                e.CurrentFrame = 5;
            else if (e.State == 1)
                e.CurrentFrame = 11;
            e.State = Enemy::Squashed;
            e.SpeedX = 0;
            PlaySound(Sound::Stomp);
            f.State = FireFree;
        }
        for (Sprite& e : sprPPlants) {
            if (e.State != 2 || !Overlaps(f, e, 0, 16))
                continue;
            e.State = Enemy::Free;
            e.CurrentFrame = 0;
            PlaySound(Sound::Stomp);
            f.State = FireFree;
        }
        // Drawn once more even when it hit something; the slot is free from the next frame.
        f.Draw(ddsBack);
    }
}

} // namespace zorbo
