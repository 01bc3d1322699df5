#include "enemies/Walker.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

// Turtles pace their floor, turning at its ends; a stomp leaves an inert shell that shows
// which way the turtle was heading.
void GameWindow::UpdateTurtles()
{
    const LeftRight shell = KindOf(EnemyKind::Turtles).squashed;
    for (Sprite& e : sprTurtles) {
        const int32_t stomped = UpdateWalker(e, TurtleKind, false);
        if (stomped >= 0)
            e.CurrentFrame = stomped == Enemy::Left || stomped == Enemy::FallLeft ? shell.left : shell.right;
    }
}

} // namespace zorbo
