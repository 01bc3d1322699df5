#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

// Sends the hero through the marked pipe when he stands on it and presses down. A pair
// works once per load of the level.
void GameWindow::UpdateWarp()
{
    Sprite& w = sprWarp;
    Sprite& h = sprPlayer;
    if (w.State != 1)
        return;
    ScrollStep(w, ViewX);

    if (HeroOnWarp() && bDownKey) {
        PlaySound(Sound::Pipe);
        const int32_t worldX = w.X + w.GlobalX;
        if (gLevel >= 0 && gLevel < static_cast<int32_t>(Warps.size())) {
            for (WarpRecord& r : Warps[static_cast<size_t>(gLevel)]) {
                // Only a pair with both ends read leads anywhere: a lone end, or an empty
                // record, would otherwise send the hero off the level's left edge.
                if (r.WarpState != WarpEnds::Both)
                    continue;
                int32_t targetX = 0;
                int32_t targetY = 0;
                if (worldX == r.X1) {
                    targetX = r.X2;
                    targetY = r.Y2;
                } else if (worldX == r.X2) {
                    targetX = r.X1;
                    targetY = r.Y1;
                } else {
                    continue;
                }
                h.X = targetX - 8;
                r.X1 = 0;
                r.X2 = 0;
                r.WarpState = WarpEnds::None;
                // Kept on purpose: no lower limit; the next leftward or airborne move turns a
                // negative view back into a screen position (recordings rely on it).
                ViewX = h.X - 160;
                h.X = 160;
                h.Y = targetY;
            }
        }
    }
    if (w.X < -160)
        w.State = 0;
}

// He straddles the marked cell and the one to its left, top within a pixel of it.
bool GameWindow::HeroOnWarp() const
{
    const Sprite& w = sprWarp;
    const Sprite& h = sprPlayer;
    return w.State == 1 && w.X - 12 <= h.X && h.X <= w.X - 4 && w.Y - 2 < h.Y && h.Y < w.Y + 2;
}

} // namespace zorbo
