#include "enemies/Walker.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

namespace {
bool Walking(int32_t state) { return state >= Enemy::Left && state <= Enemy::FallRight; }
} // namespace

// Wumpels walk, turn at walls and fall; a stomp squashes them flat, and a squashed one
// stays where it lies until it has scrolled 160 pixels past the left edge.
void GameWindow::UpdateWumpels()
{
    for (size_t i = 0; i < sprWumpels.size(); ++i) {
        Sprite& e = sprWumpels[i];
        if (Walking(e.State)) {
            WalkerStep(e, WumpelKind);
            if (e.State == Enemy::Free)
                continue;
            DrawWithLook(e, WumpelAlt[i]);
            if (Walking(e.State))
                WalkerContact(e, 0);
        } else if (e.State == Enemy::Squashed) {
            SquashedStep(e, WumpelKind);
            if (e.State == Enemy::Free)
                continue;
            DrawWithLook(e, WumpelAlt[i]);
            if (e.X < -160)
                e.State = Enemy::Free;
        } else if (e.State == Enemy::Free) {
            e.CurrentFrame = 0;
        }
    }
}

} // namespace zorbo
