#include "game/GameWindow.h"
#include "game/Turning.h"
#include "world/Objects.h"

namespace zorbo {

// Fire chains: six balls in a row turning about a pivot at one end. All chains turn and
// are drawn before any ball is tested against the hero.
void GameWindow::UpdateFire()
{
    for (size_t c = 0; c < sprFires.size(); ++c) {
        FireChain& chain = sprFires[c];
        if (!chain.ChainActive)
            continue;
        ++FireTick[c];
        // The pivot is kept in single precision, the arithmetic is done in double.
        chain.Angle = NextChainAngle(chain.Angle);
        if (FireTick[c] == 2) {
            FireTick[c] = 1;
            chain.CenterX = static_cast<float>(static_cast<double>(chain.CenterX) - (ViewX - chain.LastViewX));
            chain.LastViewX = ViewX;
            for (size_t m = 0; m < chain.Balls.size(); ++m) {
                chain.Balls[m].X = RoundHalfEven(ChainBallDX(chain.Angle, m) + chain.CenterX);
                chain.Balls[m].Y = RoundHalfEven(ChainBallDY(chain.Angle, m) + chain.CenterY);
            }
        }
        for (Sprite& ball : chain.Balls) {
            ball.NextFrame();
            ball.Draw(ddsBack);
            // Kept on purpose: a chain with a ball this far off leaves play for good, even if
            // the view comes back (levels rely on it).
            if (ball.X < -180 || ball.X > 600)
                chain.ChainActive = false;
        }
    }
    const int32_t px = sprPlayer.X, py = sprPlayer.Y;
    for (const FireChain& chain : sprFires) {
        if (!chain.ChainActive)
            continue;
        for (const Sprite& ball : chain.Balls)
            if (px < ball.X + 6 && px + 14 > ball.X && py + 14 > ball.Y && py < ball.Y + 6)
                HitHero();
    }
}

} // namespace zorbo
