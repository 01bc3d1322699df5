#pragma once
// The game's only turning motions, the fire chains and the winning spiral: angles kept in
// single precision, stepped in double, and turned into screen positions through the C
// library's cos and sin. Libraries and processors may differ in the last bit of those;
// every position the game can reach lies far enough from a rounding boundary that the
// rounded pixel is the same everywhere (tests/test_turning.cpp walks them all).
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace zorbo {

// The chain turns by this much every update, starting again from 0 at ChainTurnEnd: the
// last step of a turn is about twice as long (kept on purpose; the chains' timing depends on it).
inline constexpr double ChainTurnStep = 3.14 / 24;
inline constexpr double ChainTurnEnd = 6.1;
inline constexpr float ChainStartAngle = 4.71F;
inline constexpr size_t ChainBalls = 6;
inline constexpr double ChainBallGap = 8;

// The winning spiral: out from the centre, then back in, by these steps a frame.
inline constexpr double SpiralRadiusStep = 0.2;
inline constexpr double SpiralAngleStep = 3.14 / 24;
inline constexpr float SpiralStartRadius = 1.0F;

inline float NextChainAngle(float angle)
{
    const auto next = static_cast<float>(static_cast<double>(angle) + ChainTurnStep);
    return static_cast<double>(next) >= ChainTurnEnd ? 0.0F : next;
}

// Offset of ball m from the pivot, before rounding.
inline double ChainBallDX(float angle, size_t m)
{
    return static_cast<double>(m) * ChainBallGap * std::cos(static_cast<double>(angle));
}
inline double ChainBallDY(float angle, size_t m)
{
    return static_cast<double>(m) * ChainBallGap * std::sin(static_cast<double>(angle));
}

// Offset of the spiralling hero from the centre, before rounding.
inline double SpiralDX(float radius, float angle) { return radius * std::cos(static_cast<double>(angle)); }
inline double SpiralDY(float radius, float angle) { return radius * std::sin(static_cast<double>(angle)); }

// Halves go to the even neighbour, so that positions never depend on the rounding mode
// the program happens to run under.
inline int32_t RoundHalfEven(double v)
{
    const double down = std::floor(v);
    const double rest = v - down;
    double r = down;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(down, 2.0) != 0.0))
        r = down + 1.0;
    return static_cast<int32_t>(r);
}

} // namespace zorbo
