#include "game/Kinds.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

namespace {
// Facing left the throwing pictures are 0-4, facing right 6-10; 5 and 11 are the squashed
// pictures, which the animation reaches only to turn back.
constexpr LeftRight Squashed = KindOf(EnemyKind::Browns).squashed;
} // namespace

// Browns hop in place, turn to face the hero and throw a fireball at him each time their
// throwing pictures complete. They all move before any of them meets the hero or is drawn.
void GameWindow::UpdateBrown()
{
    const int32_t px = sprPlayer.X;
    for (Sprite& b : sprBrowns) {
        int32_t row = 0, col = 0;
        if (!HopperStep(b, -1, row, col))
            continue;
        if (b.SpeedY > 0 && IsSolid(MapCode(row + 1, col))) {
            b.Y = row * 16;
            b.SpeedY = -6;
        } else if (b.SpeedY <= 0 && IsSolid(MapCode(row, col))) {
            b.Y = row * 16 + 16;
            b.SpeedY = -b.SpeedY;
        }
        BrownAnimate(b);
        if (b.State == Enemy::Left && px > b.X) {
            b.State = Enemy::Right;
            b.CurrentFrame = 10;
            b.AnimDir = -1;
        } else if (b.State == Enemy::Right && px < b.X) {
            b.State = Enemy::Left;
            b.CurrentFrame = 0;
            b.AnimDir = 1;
        }
    }
    for (Sprite& b : sprBrowns) {
        if (b.State == Enemy::Free)
            continue;
        const int32_t state = b.State;
        if ((state == Enemy::Left || state == Enemy::Right) && WalkerContact(b, 0))
            b.CurrentFrame = state == Enemy::Left ? Squashed.left : Squashed.right;
        b.Draw(ddsBack);
    }
}

// The throwing pictures run forth and back. Facing left the throw comes as the arm reaches
// its last picture; facing right, as it comes back to the first. An update that throws or
// turns the pictures back steps no further.
void GameWindow::BrownAnimate(Sprite& b)
{
    if (b.State == Enemy::Left) {
        if (b.AnimDir == 1) {
            b.NextFrame();
            if (b.CurrentFrame == 5) {
                ThrowFireball(b);
                b.CurrentFrame = 4;
                b.AnimDir = -1;
            }
        } else if (b.AnimDir == -1) {
            b.PrevFrame();
            if (b.CurrentFrame == 11) { // wrapped round from 0
                b.CurrentFrame = 0;
                b.AnimDir = 1;
            }
        }
    } else if (b.AnimDir == 1) {
        b.NextFrame();
        if (b.CurrentFrame == 11) {
            b.CurrentFrame = 10;
            b.AnimDir = -1;
        }
    } else if (b.AnimDir == -1) {
        b.PrevFrame();
        if (b.CurrentFrame == 5) {
            ThrowFireball(b);
            b.CurrentFrame = 6;
            b.AnimDir = 1;
        }
    }
}

// A fireball from the lowest free slot of six, thrown up and toward the side the Brown
// faces at 2 to 5 pixels an update; with all six in the air nothing is thrown, heard or
// drawn at random (kept on purpose: the random numbers of a recording depend on it).
void GameWindow::ThrowFireball(const Sprite& brown)
{
    const int32_t s = FreeSlot(sprFireballs, Enemy::Free);
    if (s < 0)
        return;
    Sprite& f = sprFireballs[static_cast<size_t>(s)];
    const bool left = brown.State == Enemy::Left;
    f.State = left ? Ball::Left : Ball::Right;
    f.GlobalX = ViewX;
    f.X = brown.X + 8;
    f.Y = brown.Y + 4;
    const auto spread = static_cast<int32_t>(rng.Rnd() * 4);
    f.SpeedX = left ? -2 - spread : spread + 2;
    f.SpeedY = -9;
    // Only a Brown on the screen is heard.
    if (brown.X > 0)
        PlaySound(Sound::Fire);
}

} // namespace zorbo
