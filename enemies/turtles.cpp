#include "enemies/Walker.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

// Turtles pace their floor, turning at its ends; a stomp leaves an inert shell that shows
// which way the turtle was heading.
void GameWindow::UpdateTurtles()
{
    for (Sprite& e : sprTurtles) {
        if (e.State >= Enemy::Left && e.State <= Enemy::FallRight) {
            WalkerStep(e, TurtleKind);
            if (e.State == Enemy::Free)
                continue;
            e.Draw(ddsBack);
            const bool left = e.State == Enemy::Left || e.State == Enemy::FallLeft;
            // The contact box is the 16-pixel body under the head.
            if (e.State <= Enemy::FallRight && WalkerContact(e, 8))
                e.CurrentFrame = left ? 4 : 5;
        } else if (e.State == Enemy::Shell) {
            SquashedStep(e, TurtleKind);
            if (e.State == Enemy::Free)
                continue;
            e.Draw(ddsBack);
            if (e.X < -160)
                e.State = Enemy::Free;
        }
    }
}

} // namespace zorbo
