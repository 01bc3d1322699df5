#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

namespace {
using Plant::Hidden;
using Plant::Out;
constexpr int32_t FullyOut = 18; // the picture at which it turns to sink back
} // namespace

// Plants wait hidden in their pipes, rise out and sink back every PlantDelay updates; they
// hurt while they are out, and never rise under a hero who stands right over the pipe.
void GameWindow::UpdatePPlants()
{
    Sprite& hero = sprPlayer;
    const int32_t px = hero.X, py = hero.Y;
    for (size_t i = 0; i < sprPPlants.size(); ++i) {
        Sprite& p = sprPPlants[i];
        if (p.State == Hidden) {
            ScrollStep(p, ViewX);
            ++PlantTimer[i];
            if (PlantTimer[i] == PlantDelay) {
                PlantTimer[i] = 0;
                const int32_t qx = p.X, qy = p.Y;
                // Standing on the pipe holds the plant down for a whole further period (kept
                // on purpose: recordings rely on its timing).
                if (px < qx + 12 && px + 12 > qx && qy + 6 < py && py < qy + 10)
                    continue;
                p.CurrentFrame = 0;
                p.AnimDir = 1;
                p.AnimRate = 1;
                p.State = Out;
                p.Draw(ddsBack);
            }
            // Only a hidden plant is given up, so none vanishes half way out of its pipe;
            // one given up as it rises is still drawn once (kept on purpose).
            if (p.X < -160)
                p.State = Enemy::Free;
        } else if (p.State == Out) {
            ScrollStep(p, ViewX);
            if (p.AnimDir == 1) {
                p.NextFrame();
                if (p.CurrentFrame == FullyOut)
                    p.AnimDir = -1;
            } else {
                p.PrevFrame();
                if (p.CurrentFrame == 0)
                    p.State = Hidden;
            }
            p.Draw(ddsBack);
            // The head reaches out of the pipe from the fifth picture on, and the box grows
            // once it is well clear.
            const int32_t qx = p.X, qy = p.Y, frame = p.CurrentFrame;
            const int32_t reach = frame >= 9 ? 12 : 16;
            if (frame >= 4 && px < qx + 12 && px + 12 > qx && py + 16 > qy + reach && py < qy + 10)
                HitHero();
        }
    }
}

} // namespace zorbo
