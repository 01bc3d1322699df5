#include "game/Kinds.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

namespace {
constexpr int32_t SquashedFrame = KindOf(EnemyKind::Blacks).squashed.left;
} // namespace

// Blacks hop in place, a small hop normally and a high one while the hero is rising, so
// that they meet a jumping hero in the air. They all move before any of them meets the
// hero or is drawn.
void GameWindow::UpdateBlack()
{
    const bool heroRising = sprPlayer.SpeedY < 0;
    for (Sprite& b : sprBlacks) {
        int32_t row = 0, col = 0;
        if (!HopperStep(b, SquashedFrame, row, col))
            continue;
        const bool left = b.State == Enemy::Left;
        auto takeOff = [&](int32_t speed) {
            b.SpeedY = speed;
            b.Y = row * 16;
            b.CurrentFrame = left ? 0 : 3;
        };
        auto bump = [&]() {
            b.SpeedY = -b.SpeedY;
            b.Y = row * 16 + 16;
        };
        const bool floor = IsSolid(MapCode(row + 1, col));
        const bool ceiling = IsSolid(MapCode(row, col));
        if (!heroRising) {
            b.CurrentFrame = left ? 1 : 2;
            if (b.SpeedY > 0 && floor)
                takeOff(-5);
            else if (b.SpeedY < 0 && ceiling)
                bump();
        } else if (b.SpeedY > 0 && floor) {
            takeOff(-11);
        } else if (b.SpeedY <= 0 && ceiling) {
            bump();
        }
    }
    // Contacts and pictures only once every Black has moved.
    for (Sprite& b : sprBlacks) {
        if (b.State == Enemy::Free)
            continue;
        if ((b.State == Enemy::Left || b.State == Enemy::Right) && WalkerContact(b, 0))
            b.CurrentFrame = SquashedFrame;
        b.Draw(ddsBack);
    }
}

} // namespace zorbo
