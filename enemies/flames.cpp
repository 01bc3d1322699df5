#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

// Flames burn in place, showing their next picture every third update. All of them are
// drawn before any is tested against the hero.
void GameWindow::UpdateFlame()
{
    for (size_t i = 0; i < sprFlames.size(); ++i) {
        Sprite& f = sprFlames[i];
        if (!f.Active)
            continue;
        ScrollStep(f, ViewX);
        int16_t& tick = Timers.FlameTick[i];
        tick = tick <= 0 ? 1 : static_cast<int16_t>(tick + 1);
        if (tick == 3) {
            tick = 0;
            FlameFrame[i] = FlameFrame[i] + 1 == 4 ? 0 : FlameFrame[i] + 1;
        }
        f.CurrentFrame = FlameFrame[i];
        f.Draw(ddsBack);
        // Kept on purpose: gone for good, even if the view comes back (levels rely on it).
        if (f.X < -180 || f.X > 600)
            f.Active = false;
    }
    const int32_t px = sprPlayer.X, py = sprPlayer.Y;
    for (const Sprite& f : sprFlames)
        if (f.Active && px < f.X + 12 && px + 12 > f.X && py + 14 > f.Y + 6 && py < f.Y + 22)
            HitHero();
}

} // namespace zorbo
