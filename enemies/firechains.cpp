#include "game/GameWindow.h"
#include "world/Objects.h"

#include <cmath>

namespace zorbo {

namespace {
// The chain turns by this much every update, starting again from 0 at 6.1: the last step
// of a turn is about twice as long (kept on purpose; the chains' timing depends on it).
constexpr double TurnStep = 3.14 / 24;
constexpr double TurnEnd = 6.1;

// Halves go to the even neighbour, so that positions never depend on the rounding mode
// the program happens to run under.
int32_t RoundHalfEven(double v)
{
    const double down = std::floor(v);
    const double rest = v - down;
    double r = down;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(down, 2.0) != 0.0))
        r = down + 1.0;
    return static_cast<int32_t>(r);
}
} // namespace

// Fire chains: six balls in a row turning about a pivot at one end. All chains turn and
// are drawn before any ball is tested against the hero.
void GameWindow::UpdateFire()
{
    for (size_t c = 0; c < sprFires.size(); ++c) {
        FireChain& chain = sprFires[c];
        if (!chain.ChainActive)
            continue;
        ++FireTick[c];
        // The angle and the pivot are kept in single precision, the arithmetic is done in
        // double: the positions come out the same on every machine.
        chain.Angle = static_cast<float>(static_cast<double>(chain.Angle) + TurnStep);
        if (static_cast<double>(chain.Angle) >= TurnEnd)
            chain.Angle = 0.0F;
        if (FireTick[c] == 2) {
            FireTick[c] = 1;
            chain.CenterX = static_cast<float>(static_cast<double>(chain.CenterX) - (ViewX - chain.LastViewX));
            chain.LastViewX = ViewX;
            const double angle = chain.Angle;
            for (size_t m = 0; m < chain.Balls.size(); ++m) {
                const double reach = static_cast<double>(m) * 8;
                chain.Balls[m].X = RoundHalfEven(reach * std::cos(angle) + chain.CenterX);
                chain.Balls[m].Y = RoundHalfEven(reach * std::sin(angle) + chain.CenterY);
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
