#include "enemies/Walker.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

// Greenies are the Wumpel machine at twice the speed, with a five-picture walk each way.
void GameWindow::UpdateGreenies()
{
    for (Sprite& e : sprGreenies) {
        if (e.State >= Enemy::Left && e.State <= Enemy::FallRight) {
            WalkerStep(e, GreenieKind);
            if (e.State == Enemy::Free)
                continue;
            e.Draw(ddsBack);
            if (e.State <= Enemy::FallRight)
                WalkerContact(e, 0);
        } else if (e.State == Enemy::Squashed) {
            SquashedStep(e, GreenieKind);
            if (e.State == Enemy::Free)
                continue;
            e.Draw(ddsBack);
            if (e.X < -160)
                e.State = Enemy::Free;
        }
    }
}

} // namespace zorbo
