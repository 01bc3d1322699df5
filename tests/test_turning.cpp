// The fire chains and the winning spiral go through the C library's cos and sin, whose
// last bit may differ between libraries and processors. These walks visit every angle the
// game can reach and check that no position before rounding lies near a rounding
// boundary, so that a recording replays to the same positions everywhere.
#include "game/Turning.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace zorbo {
namespace {

// Far more than any cos or sin in use is off by (a few units in the last place of values
// below 48), far less than the distance of any reached value from a half.
constexpr double kMargin = 1e-9;

double DistanceFromHalf(double v)
{
    const double rest = v - std::floor(v);
    return std::fabs(rest - 0.5);
}

TEST(Turning, RoundHalfEvenSendsHalvesToTheEvenNeighbour)
{
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2);
    EXPECT_EQ(RoundHalfEven(2.4999999), 2);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(RoundHalfEven(-2.7), -3);
}

TEST(Turning, ChainAnglesRepeatAndEveryBallStaysClearOfRoundingBoundaries)
{
    // The turn from the start angle reaches 0, and from 0 the same cycle of angles
    // comes round again: walking it once visits every angle a chain can have.
    std::set<float> angles;
    float angle = ChainStartAngle;
    int steps = 0;
    for (; angle != 0.0F && steps < 100; ++steps) {
        angles.insert(angle);
        angle = NextChainAngle(angle);
    }
    ASSERT_EQ(angle, 0.0F) << "the chain never comes back to 0";
    int cycle = 0;
    do {
        angles.insert(angle);
        angle = NextChainAngle(angle);
        ++cycle;
    } while (angle != 0.0F && cycle < 100);
    ASSERT_EQ(angle, 0.0F) << "the turn from 0 does not come round";
    EXPECT_EQ(cycle, 47); // 46 steps of 3.14 / 24 pass 6.1; the next goes back to 0

    // The pivot is always a whole pixel, so a ball's rounding depends on its offset alone.
    double closest = 1.0;
    for (float a : angles)
        for (size_t m = 1; m < ChainBalls; ++m) {
            closest = std::min({closest, DistanceFromHalf(ChainBallDX(a, m)), DistanceFromHalf(ChainBallDY(a, m))});
            EXPECT_GT(DistanceFromHalf(ChainBallDX(a, m)), kMargin) << "angle " << a << " ball " << m;
            EXPECT_GT(DistanceFromHalf(ChainBallDY(a, m)), kMargin) << "angle " << a << " ball " << m;
        }
    EXPECT_GT(closest, kMargin);
}

TEST(Turning, TheWinningSpiralStaysClearOfRoundingBoundariesAndComesBack)
{
    constexpr int kCentreX = 152;
    float radius = SpiralStartRadius, angle = 0.0F;
    auto step = [&](double radiusStep, double angleStep) {
        radius = static_cast<float>(radius + radiusStep);
        angle = static_cast<float>(angle + angleStep);
        const double dx = SpiralDX(radius, angle), dy = SpiralDY(radius, angle);
        EXPECT_GT(DistanceFromHalf(dx), kMargin) << "radius " << radius << " angle " << angle;
        EXPECT_GT(DistanceFromHalf(dy), kMargin) << "radius " << radius << " angle " << angle;
        return std::pair{static_cast<int>(std::nearbyint(dx)), static_cast<int>(std::nearbyint(dy))};
    };
    // Out until the hero leaves the 320-pixel screen...
    int out = 0;
    for (;; ++out) {
        ASSERT_LT(out, 10000) << "the spiral never leaves the screen";
        const int x = kCentreX + step(SpiralRadiusStep, SpiralAngleStep).first;
        if (x > 320 || x < 0)
            break;
    }
    // ...and back in until he stands on the centre again.
    int in = 0;
    for (;; ++in) {
        ASSERT_LT(in, 10000) << "the spiral never comes back to the centre";
        if (step(-SpiralRadiusStep, -SpiralAngleStep) == std::pair{0, 0})
            break;
    }
    EXPECT_GT(out, 0);
    EXPECT_GT(in, 0);
}

} // namespace
} // namespace zorbo
