#include "EnemyWorld.h"

#include <tuple>
#include <vector>

using namespace zorbo;

namespace {
// x, y, vertical speed, state and frame at once.
using PoseT = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t>;
PoseT Pose(const Sprite& s) { return {s.X, s.Y, s.SpeedY, s.State, s.CurrentFrame}; }

struct Hoppers : test::EnemyWorld {
    Sprite& Brown(size_t slot, int32_t state, int32_t x, int32_t y, int32_t frame)
    {
        Sprite& b = Put(g->sprBrowns[slot], state, x, y, frame);
        b.AnimDir = 1;
        return b;
    }
};
using FTurtles = Hoppers;
using Blacks = Hoppers;
using Browns = Hoppers;
} // namespace

TEST_F(FTurtles, ItHops45HighBumpsALowCeilingAndAStompLeavesAPTurtleIfASlotIsFree)
{
    test::Floor(*g, 10);
    for (int32_t col = 1; col <= 15; ++col) // a ceiling over world x 0..239
        g->SetMapCode(6, col, 26);
    Sprite& open = Put(g->sprFTurtles[0], Enemy::Left, 290, 136);
    Sprite& low = Put(g->sprFTurtles[1], Enemy::Right, 100, 136, 2);
    g->FTurtleAlt[0] = true;
    std::vector<int32_t> ys, lowYs;
    for (int u = 1; u <= 21; ++u) {
        g->ddsBack.BltColorFill(0);
        g->UpdateFTurtles();
        ys.push_back(open.Y);
        lowYs.push_back(low.Y);
        // The feet step every update at AnimRate 0; the look is 4 frames up only while drawn.
        ASSERT_EQ(std::tuple(int32_t{open.CurrentFrame}, g->ddsBack.Pixel(open.X + 8, open.Y + 12)),
                  std::tuple(u % 2, test::FrameColour(7, u % 2 + 4))) << u;
    }
    // Up 9 + 8 + ... + 1 and back. The low one's head meets row 6 at y 101: put back at 112,
    // it falls from speed 5.
    EXPECT_EQ(ys, (std::vector<int32_t>{136, 127, 119, 112, 106, 101, 97, 94, 92, 91, 91, 92, 94, 97, 101, 106,
                                        112, 119, 127, 136, 136}));
    lowYs.resize(10);
    EXPECT_EQ(lowYs, (std::vector<int32_t>{136, 127, 119, 112, 106, 112, 118, 125, 133, 136}));

    // Level with its head the hero is untouched: the body starts 8 below its top. Then the
    // stomp as it rises from x 102, y 136.
    open.State = low.State = Enemy::Free;
    g->ViewX = 37;
    Put(g->sprPTurtles[0], Enemy::Left, 300, 136);
    Sprite& f = Put(g->sprFTurtles[2], Enemy::Right, 100, 136, 2);
    g->FTurtleAlt[2] = true;
    SetHero(102, 128, 0, Hero::GroundRight);
    g->UpdateFTurtles();
    EXPECT_EQ(std::tuple(f.State, hero().State), std::tuple(Enemy::Right, Hero::GroundRight));
    SetHero(106, 130, 4, Hero::AirRight);
    g->UpdateFTurtles();
    const Sprite& p = g->sprPTurtles[1];
    EXPECT_EQ(std::tuple(Pose(f), Sounds(Sound::ShellStomp), hero().SpeedY, g->FTurtleAlt[2]),
              std::tuple(PoseT{104, 127, -9, Enemy::Free, 1}, 1, -2, false));
    EXPECT_EQ(std::tuple(Pose(p), p.GlobalX, p.AnimRate, g->KickDelay[1], g->PTurtleAlt[1]),
              std::tuple(PoseT{104, 127, 0, Enemy::FallRight, 2}, 37, 3, 3, true));

    // With every PTurtle slot busy the FTurtle just goes, its look (slot 0's) cleared all the same.
    SetStates(g->sprPTurtles, Enemy::Left);
    Sprite& h = Put(g->sprFTurtles[0], Enemy::Left, 200, 136);
    SetHero(196, 130, 6, Hero::AirLeft);
    g->UpdateFTurtles();
    EXPECT_EQ(std::tuple(h.State, g->FTurtleAlt[0], hero().SpeedY, Sounds(Sound::ShellStomp)),
              std::tuple(Enemy::Free, false, -3, 2));
    for (const Sprite& s : g->sprPTurtles)
        EXPECT_TRUE(s.X != 198 && s.State == Enemy::Left);
}

TEST_F(FTurtles, WallsAndCornersTurnBumpOrLandItAndItLeavesOffTheLeftOrBelowRow13)
{
    for (int32_t row = 0; row <= 9; ++row)
        g->SetMapCode(row, 6, 26); // a wall at world x 80..95
    g->SetMapCode(6, 16, 26);      // a lone block at x 240..255, y 96..111
    g->SetMapCode(10, 16, 26);     // a ledge corner at x 240..255, y 160..175
    g->SetMapCode(10, 23, 26);     // one at x 352..367
    const int32_t L = Enemy::Left, R = Enemy::Right, Gone = Enemy::Free, Flat = Enemy::Squashed;
    // The view, state, x, y and vertical speed; the pose and the speed across after the update.
    // A wall turns it, rising (stepping back) or falling; 10 across and 11 along a corner it
    // bumps under it or lands on it, 10 along it turns; in the open it falls at most 10. It goes
    // at x -321 either way, in column 0 and in row 14 (y 217, more than 8 into row 13). A free
    // slot shows frame 0, any other state is left alone.
    const std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, PoseT, int32_t> cases[] = {
        {0, L, 96, 100, -4, {96, 97, -3, R, 3}, 2},         {0, L, 96, 100, 2, {94, 103, 3, R, 3}, -2},
        {0, L, 252, 100, -4, {250, 112, 3, L, 0}, -2},      {0, L, 252, 101, -4, {252, 98, -3, R, 3}, 2},
        {0, L, 252, 144, 0, {250, 136, -10, L, 0}, -2},     {0, L, 252, 145, 0, {250, 146, 1, R, 3}, -2},
        {0, R, 340, 144, 0, {342, 136, -10, R, 2}, 2},      {0, R, 339, 144, 0, {341, 145, 1, L, 1}, -2},
        {0, L, 400, 20, 12, {398, 30, 10, L, 0}, -2},       {2000, R, -322, 50, 0, {-320, 51, 1, R, 2}, 2},
        {2000, R, -323, 50, 0, {-321, 50, 0, Gone, 2}, 2},  {2000, L, -319, 50, 0, {-321, 50, 0, Gone, 0}, -2},
        {0, L, -13, 50, 0, {-15, 51, 1, L, 0}, -2},         {0, L, -14, 50, 0, {-16, 51, 1, Gone, 0}, -2},
        {0, R, 100, 215, 0, {102, 216, 1, R, 2}, 2},        {0, R, 140, 216, 0, {142, 217, 1, Gone, 2}, 2},
        {0, Gone, 40, 50, 0, {40, 50, 0, Gone, 0}, 0},      {0, Flat, 40, 50, 0, {40, 50, 0, Flat, 2}, 0}};
    for (auto [view, state, x, y, speedY, pose, speedX] : cases) {
        g->ViewX = view;
        Sprite& f = Put(g->sprFTurtles[0], state, x, y, state == L ? 0 : 2, 100); // wings held still
        f.SpeedY = speedY;
        g->UpdateFTurtles();
        EXPECT_EQ(std::tuple(Pose(f), f.SpeedX), std::tuple(pose, speedX)) << x << "," << y << " " << speedY;
    }
}

TEST_F(Blacks, TheyHop10Or55WhileTheHeroRisesAndStompedOnesLieFlatAndHarmless)
{
    test::Floor(*g, 10);
    g->SetMapCode(8, 21, 26); // a ceiling right over the second Black (x 320..335)
    Sprite& b = Put(g->sprBlacks[0], Enemy::Left, 100, 144, 1);
    Sprite& low = Put(g->sprBlacks[1], Enemy::Right, 320, 144, 2);
    std::vector<int32_t> ys, frames;
    for (int u = 1; u <= 10; ++u) {
        g->UpdateBlack();
        ys.push_back(b.Y);
        frames.push_back(b.CurrentFrame);
        ASSERT_EQ(std::tuple(low.Y, low.SpeedY, int32_t{low.CurrentFrame}),
                  std::tuple(144, u % 2 ? -5 : 4, u % 2 ? 3 : 2)) << u << ": it bumps at once";
    }
    EXPECT_EQ(ys, (std::vector<int32_t>{144, 140, 137, 135, 134, 134, 135, 137, 140, 144}));
    EXPECT_EQ(frames, (std::vector<int32_t>{0, 1, 1, 1, 1, 1, 1, 1, 1, 0}));

    // While the hero rises they take off at -11 and keep the take-off frame; they fall at most 6.
    Put(b, Enemy::Right, 100, 144, 2);
    SetHero(0, -200, -3, Hero::AirRight);
    ys.clear();
    for (int u = 1; u <= 24; ++u) {
        g->UpdateBlack();
        ys.push_back(b.Y);
        ASSERT_EQ(b.CurrentFrame, 3) << u;
        if (u <= 3) {
            EXPECT_EQ(std::tuple(low.Y, low.SpeedY), std::tuple(144, u == 2 ? 10 : -11)) << u;
        }
    }
    EXPECT_EQ(ys, (std::vector<int32_t>{144, 134, 125, 117, 110, 104, 99, 95, 92, 90, 89, 89,
                                        90, 92, 95, 99, 104, 110, 116, 122, 128, 134, 140, 144}));

    Put(b, Enemy::Left, 100, 144, 1);
    SetHero(102, 130, 6, Hero::AirRight);
    g->UpdateBlack();
    EXPECT_EQ(std::tuple(Pose(b), hero().SpeedY), std::tuple(PoseT{100, 144, -5, Enemy::Squashed, 4}, -3));
    for (auto [state, flat] : {std::pair{Enemy::Left, 5}, std::pair{Enemy::Right, 11}}) {
        Sprite& w = Brown(0, state, 200, 144, state == Enemy::Left ? 1 : 9);
        SetHero(200, 130, 6, Hero::AirRight);
        g->UpdateBrown();
        EXPECT_EQ(std::tuple(w.State, int32_t{w.CurrentFrame}), std::tuple(Enemy::Squashed, flat));
    }
    // Flat, they neither hurt, animate, throw nor are stomped again; one in the air drops 6
    // per update and settles on the floor.
    Sprite& high = Put(g->sprBlacks[2], Enemy::Squashed, 300, 100, 4);
    high.SpeedY = -5;
    ys.clear();
    for (int u = 1; u <= 10; ++u) {
        SetHero(u % 2 ? 100 : 200, u % 2 ? 144 : 130, u % 2 ? 0 : 6, Hero::AirRight);
        g->UpdateBlack();
        g->UpdateBrown();
        ys.push_back(high.Y);
        ASSERT_EQ(hero().State, Hero::AirRight) << u;
    }
    EXPECT_EQ(ys, (std::vector<int32_t>{106, 112, 118, 124, 130, 136, 142, 144, 144, 144}));
    EXPECT_EQ(std::tuple(Sounds(Sound::Stomp), g->sprFireballs[0].State, int32_t{g->sprBrowns[0].CurrentFrame},
                         high.SpeedY),
              std::tuple(3, Enemy::Free, 11, 0));

    // The view moved 10 since their last update, which takes them from x -175 to -185.
    // Standing ones are tested against -180 before that step, flat ones after it.
    g->ViewX = 1000;
    Sprite* s[] = {&g->sprBlacks[0], &g->sprBlacks[1], &g->sprBrowns[0], &g->sprBrowns[1]};
    for (int i = 0; i < 4; ++i)
        Put(*s[i], i % 2 ? Enemy::Squashed : Enemy::Left, -175, 144, 1).GlobalX = 990;
    for (int kind = 0; kind < 2; ++kind) {
        SetHero(-185, 144, 0, Hero::GroundRight); // level with the standing ones: they hurt
        kind ? g->UpdateBrown() : g->UpdateBlack();
        EXPECT_EQ(hero().State, Hero::Hit) << kind;
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::tuple(s[i]->X, s[i]->State), std::tuple(-185, i % 2 ? Enemy::Free : Enemy::Left)) << i;
    ParkHero();
    g->UpdateBlack();
    g->UpdateBrown();
    EXPECT_EQ(std::tuple(s[0]->State, s[2]->State), std::tuple(Enemy::Free, Enemy::Free));
}

TEST_F(Browns, TheyThrowAtTheEndsOfTheirPicturesTurnToTheHeroAndNeedAFreeFireball)
{
    g->ViewX = 5;
    test::Floor(*g, 10);
    auto& fb = g->sprFireballs;
    Sprite& b = Brown(0, Enemy::Left, 150, 144, 0);
    Random r = g->rng;
    std::vector<int32_t> frames;
    for (int u = 1; u <= 15; ++u) {
        g->UpdateBrown();
        frames.push_back(b.CurrentFrame);
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{1, 2, 3, 4, 4, 3, 2, 1, 0, 0, 1, 2, 3, 4, 4}));
    // Thrown from the hop's height at the time, 130 and then 132, each at 2 to 5 pixels an
    // update from one draw, and heard.
    const int32_t speed0 = -2 - static_cast<int32_t>(r.Rnd() * 4), speed1 = -2 - static_cast<int32_t>(r.Rnd() * 4);
    EXPECT_EQ(std::tuple(Pose(fb[0]), fb[0].SpeedX, fb[0].GlobalX), std::tuple(PoseT{158, 134, -9, 0, 0}, speed0, 5));
    EXPECT_EQ(std::tuple(Pose(fb[1]), fb[1].SpeedX, fb[2].State),
              std::tuple(PoseT{158, 136, -9, 0, 0}, speed1, Enemy::Free));
    EXPECT_EQ(std::tuple(g->rng.State(), Sounds(Sound::Fire), b.Y), std::tuple(r.State(), 2, 132));

    // The hero crosses: it throws left first, then faces him with its pictures running back,
    // and throws right from the hop at y 129. Right above it, it does not turn.
    Brown(0, Enemy::Left, 150, 144, 4);
    frames.clear();
    for (int u = 1; u <= 13; ++u) {
        SetHero(u < 13 ? 151 : 150, -200, 0, Hero::AirRight);
        g->UpdateBrown();
        frames.push_back(b.CurrentFrame);
    }
    EXPECT_EQ(frames, (std::vector<int32_t>{10, 9, 8, 7, 6, 6, 7, 8, 9, 10, 10, 9, 8}));
    const int32_t speed2 = -2 - static_cast<int32_t>(r.Rnd() * 4), speed3 = static_cast<int32_t>(r.Rnd() * 4) + 2;
    EXPECT_EQ(std::tuple(fb[2].State, fb[2].SpeedX, Pose(fb[3]), fb[3].SpeedX, b.State),
              std::tuple(0, speed2, PoseT{158, 133, -9, 1, 0}, speed3, Enemy::Right));
    hero().X = 149;
    g->UpdateBrown();
    g->UpdateBrown();
    EXPECT_EQ(std::tuple(b.State, int32_t{b.CurrentFrame}, fb[4].State), std::tuple(Enemy::Left, 1, Enemy::Free));

    // Of two more throws only the one from x 1 is heard (four so far). With all six fireballs
    // out the pictures still turn back, but nothing is thrown.
    ParkHero();
    Sprite& edge = Brown(0, Enemy::Left, 0, 144, 4);
    Sprite& in = Brown(1, Enemy::Left, 1, 144, 4);
    g->UpdateBrown();
    EXPECT_EQ(std::tuple(fb[4].X, fb[5].X, edge.AnimDir, in.AnimDir, Sounds(Sound::Fire)), std::tuple(8, 9, -1, -1, 5));
    Sprite& late = Brown(2, Enemy::Left, 100, 144, 4);
    r = g->rng;
    g->UpdateBrown();
    EXPECT_EQ(std::tuple(int32_t{late.CurrentFrame}, late.AnimDir, Sounds(Sound::Fire), fb[0].X, g->rng.State()),
              std::tuple(4, -1, 5, 158, r.State()));

    // The first fireball flies through the floor, up 9 + 8 + ... + 1 and down at most 8 an
    // update, and goes on the 30th, past y 232.
    std::vector<int32_t> ys;
    for (int u = 1; u < 100 && fb[0].State == 0; ++u) {
        g->UpdateFireball();
        ys.push_back(fb[0].Y);
        ASSERT_EQ(fb[0].X, 158 + speed0 * u) << u;
    }
    EXPECT_EQ(std::tuple(ys.size(), ys[28], ys[29]), std::tuple(size_t{30}, 230, 238));
    ys.resize(18);
    EXPECT_EQ(ys, (std::vector<int32_t>{126, 119, 113, 108, 104, 101, 99, 98, 98, 99, 101, 104, 108, 113, 119, 126,
                                        134, 142}));

    // Its 8 x 8 box against the hero's; a hit does not stop it.
    const std::tuple<int32_t, int32_t, int32_t, bool> cases[] = {
        {85, 100, 0, false}, {86, 100, 0, true}, {106, 100, 0, true}, {107, 100, 0, false}, {100, 85, 0, false},
        {100, 86, 0, true},  {100, 106, 0, true}, {100, 107, 0, false}, {100, 100, 10, false}};
    for (auto [px, py, hurt, hit] : cases) {
        Put(fb[0], 1, 100, 100).SpeedY = -1; // stays at (100, 100) for this update
        SetHero(px, py, 0, Hero::GroundRight);
        g->HurtTimer = hurt;
        g->UpdateFireball();
        EXPECT_EQ(std::tuple(hero().State == Hero::Hit, fb[0].State), std::tuple(hit, 1)) << px << "," << py;
    }
}
