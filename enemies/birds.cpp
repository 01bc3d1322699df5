#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

namespace {
using Bird::DiveLeft;
using Bird::DiveRight;
using Bird::PerchedLeft;
using Bird::PerchedRight;

// The dive's sideways speed toward the hero, by how far away he is (dx: the bird's x
// minus the hero's, seen from the side it heads to); 0 once he is behind it.
int32_t SteerSpeed(int32_t dx)
{
    if (dx > 40)
        return 5;
    if (dx > 20)
        return 3;
    if (dx > 0)
        return 2;
    return 0;
}
} // namespace

// Birds sit on their perches until the hero comes near, then dive at him, steering
// harder the farther off he is, and fly out of the bottom of the screen.
void GameWindow::UpdateBird()
{
    const Sprite& hero = sprPlayer;
    const int32_t px = hero.X, py = hero.Y;
    for (Sprite& b : sprBirds) {
        switch (b.State) {
        case PerchedLeft:
        case PerchedRight: {
            const bool left = b.State == PerchedLeft;
            ScrollStep(b, ViewX);
            b.CurrentFrame = left ? 0 : 5;
            // It sees to its left less far than anywhere to its right; facing right it
            // wakes only for a hero well to its right.
            if (left ? b.X < px + 60 : b.X < px - 50)
                b.State = left ? DiveLeft : DiveRight;
            break;
        }
        case DiveLeft:
        case DiveRight: {
            const bool left = b.State == DiveLeft;
            const int32_t speed = SteerSpeed(left ? b.X - px : px - b.X);
            if (speed > 0)
                b.SpeedX = left ? -speed : speed;
            else if (left ? b.X < px : b.X > px)
                // Kept on purpose: the turn steers only from the next update, keeping this
                // update's speed (recordings rely on the dive).
                b.State = left ? DiveRight : DiveLeft;
            MoveStep(b, ViewX);
            b.Y += 6;
            if (b.Y > 224) {
                b.State = Enemy::Free;
                continue;
            }
            const int32_t first = left ? 1 : 3;
            b.CurrentFrame = b.CurrentFrame <= first ? first + 1 : first;
            // Only a hero whose top is below the bird's is hit: it dives onto him (kept on
            // purpose, as a perched one is harmless).
            if (px < b.X + 15 && px + 15 > b.X && py > b.Y && py < b.Y + 15)
                HitHero();
            break;
        }
        default:
            continue;
        }
        b.Draw(ddsBack);
    }
}

} // namespace zorbo
