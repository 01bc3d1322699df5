#include "EnemyWorld.h"

#include <tuple>
#include <vector>

using namespace zorbo;

namespace {
constexpr int32_t PerchLeft = 0, PerchRight = 1, DiveLeft = 2, DiveRight = 3;

struct Hazards : test::EnemyWorld {
    int32_t delay = static_cast<int32_t>(g->PlantDelay);

    Sprite& Plant(size_t slot, int32_t state, int32_t x, int32_t y, int32_t timer = 0)
    {
        g->PlantTimer[slot] = timer;
        return Put(g->sprPPlants[slot], state, x, y, 0, 3);
    }
    Sprite& Bird(size_t slot, int32_t state, int32_t x, int32_t y) { return Put(g->sprBirds[slot], state, x, y); }
    // Placed by the first update.
    FireChain& Chain(size_t c, float cx, float cy, float angle)
    {
        g->FireTick[c] = 1;
        FireChain& ch = g->sprFires[c];
        ch = {.Balls = ch.Balls, .CenterX = cx, .CenterY = cy, .LastViewX = g->ViewX, .Angle = angle,
              .ChainActive = true};
        return ch;
    }
    Sprite& Flame(size_t i, int32_t x, int32_t y)
    {
        Sprite& f = Put(g->sprFlames[i], 0, x, y, 0, 2);
        f.Active = true;
        g->Timers.FlameTick[i] = 0;
        return f;
    }
    bool Hit() { return hero().State == Hero::Hit; }
};
using Plants = Hazards;
using Birds = Hazards;
using FireChains = Hazards;
using Flames = Hazards;
} // namespace

TEST_F(Plants, TheyRiseEveryPeriodUnlessHeldOnThePipeHurtInTheMiddleFramesAndGoOnlyHidden)
{
    // The plant's top is at (100, 120). The hero's top against it: from 1 below he is hurt from
    // frame 4 on, from 3 above only from frame 9, from 10 below never.
    Sprite& p = Plant(0, 1, 100, 120);
    for (auto [dy, firstHurting] : {std::pair{1, 4}, std::pair{-3, 9}, std::pair{10, 19}}) {
        SetHero(100, 120 + dy, 0, Hero::GroundRight);
        g->PlantTimer[0] = delay - 1;
        g->ddsBack.BltColorFill(0);
        for (int n = 0; n <= 72; ++n) {
            hero().State = Hero::GroundRight;
            g->UpdatePPlants();
            // Out and drawn at once, a frame every second update up to 18 and back, no counting meanwhile.
            const int32_t frame = n <= 36 ? n / 2 : 18 - (n - 36) / 2;
            ASSERT_EQ(std::tuple(int32_t{p.CurrentFrame}, p.State, g->PlantTimer[0], g->ddsBack.Pixel(108, 132), Hit()),
                      std::tuple(frame, n < 72 ? 2 : 1, 0, test::FrameColour(5, frame), frame >= firstHurting))
                << dy << " " << n;
        }
    }

    // He is on the pipe with his x less than 12 from the plant's and his top 7 to 9 below its top.
    const std::tuple<int32_t, int32_t, bool> onPipe[] = {{111, 128, true},  {112, 128, false}, {89, 128, true},
                                                          {88, 128, false},  {100, 127, true},  {100, 126, false},
                                                          {100, 130, false}, {100, 129, true}};
    for (auto [px, py, over] : onPipe) {
        Plant(0, 1, 100, 120, delay - 1);
        SetHero(px, py, 0, Hero::GroundRight);
        g->UpdatePPlants();
        EXPECT_EQ(std::tuple(p.State, g->PlantTimer[0], Hit()), std::tuple(over ? 1 : 2, 0, false)) << px << "," << py;
    }
    ParkHero();
    for (int u = 1; u < delay; ++u) {
        g->ddsBack.BltColorFill(0);
        g->UpdatePPlants();
        ASSERT_EQ(std::tuple(p.State, g->ddsBack.Pixel(108, 132)), std::tuple(1, 0u)) << u << ": held back, unseen";
    }
    g->UpdatePPlants();
    EXPECT_EQ(p.State, 2);

    // Past x -160 a hidden plant goes, even on the update it would come out, but not on one the
    // hero holds it back, nor while it is out of its pipe.
    Sprite& held = Plant(0, 1, -200, 120, delay - 1);
    Sprite& gone = Plant(1, 1, -161, 40);
    Sprite& kept = Plant(2, 1, -160, 40);
    Sprite& out = Plant(3, 2, -300, 40);
    out.AnimDir = 1; // on its way up
    Sprite& rising = Plant(4, 1, -200, 40, delay - 1);
    SetHero(-200, 128, 0, Hero::GroundRight);
    g->UpdatePPlants();
    EXPECT_EQ(std::tuple(gone.State, kept.State, out.State, rising.State, held.State),
              std::tuple(Enemy::Free, 1, 2, Enemy::Free, 1));
}

TEST_F(Birds, TheyWakeForAHeroOnTheirSideSteerByHowFarOffHeIsAndHurtOnlyFromAbove)
{
    Sprite& left = Bird(0, PerchLeft, 100, 40);
    Sprite& right = Bird(1, PerchRight, 200, 40);
    Sprite& blind = Bird(2, PerchRight, 300, 40);
    left.CurrentFrame = 3;
    right.CurrentFrame = 3;
    using Seen = std::vector<std::tuple<int32_t, int32_t, int32_t, int32_t>>;
    auto watch = [&](const Sprite& b, std::initializer_list<int32_t> heroXs) {
        Seen seen;
        for (int32_t px : heroXs) {
            hero().X = px;
            g->UpdateBird();
            seen.emplace_back(b.State, b.X, b.Y, b.CurrentFrame);
        }
        return seen;
    };
    // The hero comes within 59 to the left of one and 51 to the right of the other: each dives
    // from the next update.
    EXPECT_EQ(watch(left, {40, 41, 41, 41}),
              (Seen{{PerchLeft, 100, 40, 0}, {DiveLeft, 100, 40, 0}, {DiveLeft, 95, 46, 2}, {DiveLeft, 90, 52, 1}}));
    EXPECT_EQ(watch(right, {250, 251, 251, 251, 251}), (Seen{{PerchRight, 200, 40, 5}, {DiveRight, 200, 40, 5},
                                                               {DiveRight, 205, 46, 3}, {DiveRight, 210, 52, 4},
                                                               {DiveRight, 215, 58, 3}}));
    EXPECT_EQ(blind.State, PerchRight) << "the hero was never to its right";

    // State, y, hero x, speed before and after, state after. Right above the hero it keeps its
    // speed; once past him it turns; below y 224 it is gone.
    const int32_t L = DiveLeft, R = DiveRight;
    const std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t> steers[] = {
        {L, 50, 59, 0, -5, L},   {L, 50, 60, 0, -3, L},    {L, 50, 79, 0, -3, L},    {L, 50, 80, 0, -2, L},
        {L, 50, 99, 0, -2, L},   {L, 50, 100, -5, -5, L},  {L, 50, 101, -3, -3, R},  {R, 50, 141, 0, 5, R},
        {R, 50, 121, 0, 3, R},   {R, 50, 101, 0, 2, R},    {R, 50, 100, 5, 5, R},    {R, 50, 99, 3, 3, L},
        {L, 218, 99, 0, -2, L},  {L, 219, 99, 0, -2, Enemy::Free}};
    for (auto [state, y, px, speedX, toSpeedX, toState] : steers) {
        Sprite& b = Bird(0, state, 100, y);
        b.SpeedX = speedX;
        SetHero(px, -200, 0, Hero::AirRight);
        g->UpdateBird();
        EXPECT_EQ(std::tuple(b.SpeedX, b.State, b.X, b.Y), std::tuple(toSpeedX, toState, 100 + toSpeedX, y + 6))
            << state << " " << px << "," << y;
    }

    // Diving, it ends the update at (100, 56) right above the hero: he is hurt only with his top
    // below the bird's. Perched, it never hurts.
    const std::tuple<int32_t, int32_t, int32_t, bool> touches[] = {
        {DiveLeft, 56, 0, false}, {DiveLeft, 57, 0, true},   {DiveLeft, 70, 0, true},    {DiveLeft, 71, 0, false},
        {DiveRight, 57, 0, true}, {DiveLeft, 60, 30, false}, {PerchLeft, 51, 0, false}, {PerchRight, 51, 0, false}};
    for (auto [state, py, hurt, hit] : touches) {
        Bird(0, state, 100, 50);
        SetHero(100, py, 0, Hero::AirRight);
        g->HurtTimer = hurt;
        g->UpdateBird();
        EXPECT_EQ(Hit(), hit) << state << " " << py;
    }
}

TEST_F(FireChains, TheyTurnAboutBallZeroRoundHalvesToEvenFollowTheScrollAndLeaveFarOff)
{
    // A turn takes 47 updates: steps of 3.14 / 24, back to 0 past 6.1. Balls 3 and 5 are at
    // (100 + 8m cos a, 100 + 8m sin a), worked out by hand.
    FireChain& a = Chain(0, 100.0F, 100.0F, 0.0F);
    const std::tuple<int, int32_t, int32_t, int32_t, int32_t> at[] = {
        {6, 117, 117, 128, 128}, {12, 100, 124, 100, 140}, {24, 76, 100, 60, 100},
        {36, 100, 76, 100, 60},  {46, 123, 94, 139, 90},   {47, 124, 100, 140, 100}};
    int u = 0;
    for (auto [when, x3, y3, x5, y5] : at) {
        while (u < when) {
            g->UpdateFire();
            ++u;
            ASSERT_NEAR(a.Angle, u < 47 ? u * 3.14 / 24 : 0.0, 1e-4) << u;
            ASSERT_EQ(std::tuple(a.Balls[0].X, a.Balls[0].Y), std::tuple(100, 100)) << u;
        }
        EXPECT_EQ(std::tuple(a.Balls[3].X, a.Balls[3].Y, a.Balls[5].X, a.Balls[5].Y), std::tuple(x3, y3, x5, y5)) << u;
    }

    const float toZero = 6.09F; // one step takes it past 6.1, back to 0
    Chain(0, 100.5F, 99.5F, toZero);
    FireChain& b = Chain(1, 101.5F, 100.5F, toZero);
    FireChain& gone = Chain(2, -170.0F, 100.0F, static_cast<float>(3.14 - 3.14 / 24));
    FireChain& stays = Chain(3, -170.0F, 100.0F, 0.0F);
    FireChain& far = Chain(4, 570.0F, 100.0F, 0.0F);
    FireChain& edge = Chain(5, 560.0F, 30.0F, 0.0F);
    SetHero(570, 100, 0, Hero::GroundRight); // on the pivot of a chain that leaves
    g->UpdateFire();
    for (size_t m = 0; m < 6; ++m) // from 100.5 + 8m, 99.5
        EXPECT_EQ(std::tuple(a.Balls[m].X, a.Balls[m].Y), std::tuple(100 + 8 * static_cast<int32_t>(m), 100)) << m;
    EXPECT_EQ(std::tuple(b.Balls[0].X, b.Balls[0].Y), std::tuple(102, 100)) << "101.5, 100.5";
    EXPECT_EQ(std::tuple(gone.Balls[5].X, far.Balls[5].X, edge.Balls[5].X), std::tuple(-210, 610, 600));
    EXPECT_EQ(std::tuple(gone.ChainActive, stays.ChainActive, far.ChainActive, edge.ChainActive, Hit()),
              std::tuple(false, true, false, true, false));
    g->ViewX = 7;
    g->UpdateFire();
    EXPECT_EQ(std::tuple(a.CenterX, a.LastViewX, a.Balls[0].X, stays.Balls[0].X, stays.ChainActive),
              std::tuple(93.5F, 7, 94, -177, true));
}

TEST_F(Flames, AFrameEveryThirdUpdateOutOfPlayPast180AndLikeChainsTheyHurtEveryUpdate)
{
    Sprite& f = Flame(0, 100, 100);
    Flame(1, 140, 100);
    g->Timers.FlameTick[1] = -3; // a count below 1 starts again at 1
    std::vector<int32_t> frames;
    for (int u = 1; u <= 12; ++u) {
        g->ddsBack.BltColorFill(0);
        g->UpdateFlame();
        frames.push_back(f.CurrentFrame);
        ASSERT_EQ(g->FlameFrame[1], f.CurrentFrame) << u;
        ASSERT_EQ(g->ddsBack.Pixel(108, 112), test::FrameColour(17, f.CurrentFrame)) << u;
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0}));

    g->ViewX = 7;
    Sprite& in = Flame(2, -177, 30);
    Sprite& out = Flame(3, -178, 100);
    Sprite& inR = Flame(4, 603, 30);
    Sprite& outR = Flame(5, 604, 30);
    g->ViewX = 10; // moved since these were last brought up to date
    SetHero(-181, 100, 0, Hero::GroundRight); // right on the one that leaves
    g->UpdateFlame();
    EXPECT_EQ(std::tuple(in.X, f.X, in.Active, out.Active, inR.Active, outR.Active, Hit()),
              std::tuple(-180, 90, true, false, true, false, false));
    g->UpdateFlame();
    EXPECT_EQ(std::tuple(g->Timers.FlameTick[3], g->Timers.FlameTick[2]), std::tuple(1, 2)) << "no longer animated";

    // Flames 1, 2 and 4 burn on, clear of the hero. The chain lies flat at angle 0, balls at
    // (100 + 8m, 100), their boxes 6 wide and the hero's 14. The flame at (300, 100) burns from
    // 6 to 22 below its top, 12 each side.
    const std::tuple<int32_t, int32_t, bool> cases[] = {
        {86, 100, false}, {87, 100, true},   {87, 86, false},   {87, 87, true},   {87, 105, true},  {87, 106, false},
        {145, 100, true}, {146, 100, false}, {288, 100, false}, {289, 100, true}, {311, 100, true}, {312, 100, false},
        {300, 92, false}, {300, 93, true},   {300, 121, true},  {300, 122, false}};
    for (auto [px, py, hit] : cases) {
        Chain(0, 100.0F, 100.0F, 6.09F);
        Flame(0, 300, 100);
        SetHero(px, py, 0, Hero::GroundRight);
        g->UpdateFire();
        g->UpdateFlame();
        EXPECT_EQ(Hit(), hit) << px << "," << py;
    }

    Chain(0, 60.0F, 60.0F, 0.0F);
    for (int u = 0; u < 10; ++u) {
        SetHero(u < 5 ? 55 : 295, u < 5 ? 60 : 100, 0, Hero::GroundRight); // on the pivot, then in the flame
        g->HurtTimer = u % 5 < 3 ? 0 : 20;
        g->UpdateFire();
        g->UpdateFlame();
        EXPECT_EQ(Hit(), u % 5 < 3) << u << ": hurt whenever the timer is out";
    }
}
