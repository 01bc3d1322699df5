#include "game/GameWindow.h"
#include "world/Objects.h"

#include <algorithm>

namespace zorbo {

// The Browns' fireballs fly in an arc through walls and enemies alike, and keep flying
// after they hit the hero, until they drop out of the bottom of the screen.
void GameWindow::UpdateFireball()
{
    const int32_t px = sprPlayer.X, py = sprPlayer.Y;
    for (Sprite& f : sprFireballs) {
        if (f.State != Ball::Left && f.State != Ball::Right)
            continue;
        MoveStep(f, ViewX);
        f.SpeedY = std::min(f.SpeedY + 1, 8);
        f.Y += f.SpeedY;
        if (f.Y > 232) {
            f.State = Enemy::Free;
            continue;
        }
        if (px < f.X + 7 && px + 15 > f.X && py + 15 > f.Y && py < f.Y + 7)
            HitHero();
        f.Draw(ddsBack);
    }
}

} // namespace zorbo
