#include "EnemyWorld.h"

#include <tuple>
#include <vector>

using namespace zorbo;

namespace {
struct PTurtles : test::EnemyWorld {
    Sprite& PTurtle(size_t slot, int32_t state, int32_t x, int32_t y, int32_t frame = 0)
    {
        g->KickDelay[slot] = 0;
        return Put(g->sprPTurtles[slot], state, x, y, frame, 3);
    }
};
using Shells = PTurtles;
} // namespace

TEST_F(PTurtles, WalkOnATallBodyAndCrossOneCellGapsHeadingRight)
{
    test::Floor(*g, 10);
    g->SetMapCode(10, 11, 0); // world x 160..175
    Sprite& walker = PTurtle(0, Enemy::Right, 158, 136, 2);
    // The row is (Y + 8) \ 16: from y 113 it lands on the fourth update, at 136.
    Sprite& faller = PTurtle(1, Enemy::FallLeft, 300, 113);
    Sprite& deep = PTurtle(2, Enemy::FallLeft, 400, 209);
    Sprite& lost = PTurtle(3, Enemy::FallLeft, 440, 210);
    std::vector<int32_t> ys;
    for (int u = 1; u <= 9; ++u) {
        g->UpdatePTurtles();
        EXPECT_EQ(walker.State, Enemy::Right) << u;
        if (u <= 4)
            ys.push_back(faller.Y);
        if (u == 1) {
            EXPECT_EQ(deep.State, Enemy::FallLeft) << "row 13";
            EXPECT_EQ(lost.State, Enemy::Free) << "row 14";
        }
    }
    EXPECT_EQ(walker.X, 176);
    EXPECT_EQ(ys, (std::vector<int32_t>{119, 125, 131, 136}));
    EXPECT_EQ(faller.State, Enemy::Left);
}

TEST_F(PTurtles, AFreshShellIgnoresTheHeroForTwoUpdates)
{
    test::Floor(*g, 10);
    Sprite& p = PTurtle(0, Enemy::Left, 100, 136);
    SetHero(98, 135, 4, Hero::AirRight);
    g->UpdatePTurtles();
    EXPECT_EQ(p.State, Enemy::Shell);
    EXPECT_EQ(g->KickDelay[0], 3);
    EXPECT_EQ(hero().SpeedY, -2);
    EXPECT_EQ(Sounds(Sound::ShellStomp), 1);
    EXPECT_EQ(Sounds(Sound::Stomp), 0);

    // The hero stands right beside it, ready to kick, from the next update on.
    SetHero(84, 144, 0, Hero::GroundRight);
    for (int u = 2; u <= 3; ++u) {
        g->UpdatePTurtles();
        EXPECT_EQ(p.SpeedX, 0) << u;
        EXPECT_EQ(p.CurrentFrame, 4) << u;
    }
    g->UpdatePTurtles();
    EXPECT_EQ(p.SpeedX, 9);
    EXPECT_EQ(Sounds(Sound::Kick), 1);

    // A walking one that still counts down cannot be stomped until the count is out.
    p.State = Enemy::Free;
    Sprite& w = PTurtle(1, Enemy::Left, 200, 136);
    g->KickDelay[1] = 2;
    SetHero(198, 135, 0, Hero::AirRight);
    g->UpdatePTurtles();
    EXPECT_EQ(w.State, Enemy::Left);
    SetHero(196, 135, 0, Hero::AirRight);
    g->UpdatePTurtles();
    EXPECT_EQ(w.State, Enemy::Shell);
}

TEST_F(Shells, AKickSendsTheShellAwayFromTheHero)
{
    test::Floor(*g, 10);
    struct Case {
        int32_t px, py, speedY, heroState, shellSpeedX, heroSpeedY;
        const char* why;
    };
    // The shell rests at (98, 136); the hero's Y is not moved by a kick.
    const Case cases[] = {
        {84, 144, 0, Hero::GroundRight, 9, 0, "walking into it from the left"},
        {110, 144, 0, Hero::GroundLeft, -9, 0, "from the right"},
        {110, 149, 0, Hero::GroundLeft, -9, 0, "9 pixels lower still counts as level"},
        {110, 150, 0, Hero::GroundLeft, 0, 0, "10 lower does not"},
        {113, 144, 0, Hero::GroundLeft, 0, 0, "15 pixels away"},
        {98, 135, 5, Hero::AirRight, 9, -5, "landing on it, not right of it: sent right"},
        {99, 135, -4, Hero::AirLeft, -9, -6, "one pixel right of it: sent left"},
        {98, 128, 5, Hero::AirRight, 0, 5, "still above it"},
    };
    int kicks = 0;
    for (const Case& c : cases) {
        Sprite& s = Shell(0, 98, 136, 0);
        SetHero(c.px, c.py, c.speedY, c.heroState);
        g->UpdatePTurtles();
        kicks += c.shellSpeedX != 0 ? 1 : 0;
        EXPECT_EQ(s.SpeedX, c.shellSpeedX) << c.why;
        EXPECT_EQ(hero().SpeedY, c.heroSpeedY) << c.why;
        EXPECT_EQ(hero().Y, c.py) << c.why;
        EXPECT_EQ(Sounds(Sound::Kick), kicks) << c.why;
    }
}

TEST_F(Shells, OnTheGroundObjectCellsArePassedButInTheAirTheyAreWalls)
{
    test::Floor(*g, 10);
    g->SetMapCode(9, 12, 50); // world x 176..191
    g->SetMapCode(9, 20, 53); // an object code outside the passed ones: world x 304..319
    Sprite& s = Shell(0, 160, 136, 9);
    g->UpdatePTurtles();
    g->UpdatePTurtles();
    EXPECT_EQ(s.X, 178);
    EXPECT_EQ(s.SpeedX, 9);
    Shell(0, 286, 136, 9); // to x 295, column 19, the 53 ahead
    g->UpdatePTurtles();
    EXPECT_EQ(s.SpeedX, -9);
    EXPECT_EQ(s.X, 288);
    EXPECT_EQ(Sounds(Sound::Bump), 1);

    Shell(0, 160, 130, 9, 6);
    g->UpdatePTurtles();
    EXPECT_EQ(s.SpeedX, -9);
    EXPECT_EQ(s.X, 160);
    EXPECT_EQ(s.Y, 136);
    EXPECT_EQ(Sounds(Sound::Bump), 2);
    g->UpdatePTurtles();
    EXPECT_EQ(s.X, 151);
    EXPECT_EQ(s.Y, 136) << "landed";
    EXPECT_EQ(s.SpeedY, 0);
}

TEST_F(Shells, ABumpIsHeardOnlyWhileTheShellIsOnScreen)
{
    test::Floor(*g, 10);
    g->SetMapCode(9, 10, 26); // world x 144..159
    g->SetMapCode(9, 11, 26); // world x 160..175
    // Sliding left into the wall, at screen x `x` after the move.
    for (auto [viewX, x, heard] : {std::tuple{159, 1, 1}, std::tuple{160, 0, 0}, std::tuple{160, -3, 0}}) {
        g->ViewX = viewX;
        const int before = Sounds(Sound::Bump);
        Sprite& s = Shell(0, x + 9, 136, -9);
        g->UpdatePTurtles();
        EXPECT_EQ(s.SpeedX, 9) << x;
        EXPECT_EQ(s.X, 16) << x << ": (x \\ 16) * 16 + 16, truncating toward zero";
        EXPECT_EQ(Sounds(Sound::Bump) - before, heard) << x;
    }
}

TEST_F(Shells, ABrickBreaksOnceAndTheShellComesBack)
{
    test::Floor(*g, 10);
    g->SetMapCode(9, 12, 37); // world x 176..191
    Sprite& s = Shell(0, 150, 136, 9);
    g->UpdatePTurtles();
    g->UpdatePTurtles(); // x 168, the brick ahead
    EXPECT_EQ(g->MapCode(9, 12), 0);
    EXPECT_EQ(s.SpeedX, -9);
    EXPECT_EQ(s.X, 160);
    const Sprite& piece = g->sprBricks[0];
    EXPECT_EQ(piece.State, 1);
    EXPECT_EQ(piece.X, 160);
    EXPECT_EQ(piece.Y, 144);
    EXPECT_EQ(piece.CurrentFrame, 2) << "code 37 breaks into kind 1";
    g->UpdatePTurtles();
    EXPECT_EQ(s.X, 151);
    EXPECT_EQ(s.SpeedX, -9);
    EXPECT_EQ(Sounds(Sound::Brick), 1);
    EXPECT_EQ(Sounds(Sound::Bump), 0);

    // Heading left with the view at 4: the pieces start at the screen x rounded down,
    // taken before the shell is put back out of the cell; a 9 beside it leaves a 9.
    g->ViewX = 4;
    g->SetMapCode(9, 5, 28); // world x 64..79
    g->SetMapCode(9, 4, 9);
    Shell(0, 79, 136, -9);
    g->UpdatePTurtles(); // screen x 70, world 74
    EXPECT_EQ(g->MapCode(9, 5), 9);
    EXPECT_EQ(piece.X, 64);
    EXPECT_EQ(piece.CurrentFrame, 4) << "code 28 breaks into kind 2";
    EXPECT_EQ(s.SpeedX, 9);
    EXPECT_EQ(s.X, 80);
    EXPECT_EQ(Sounds(Sound::Brick), 2);
}

TEST_F(Shells, TheFirstOfTwoMeetingShellsKnocksTheOtherOut)
{
    test::Floor(*g, 10);
    Sprite& a = Shell(0, 100, 136, 9);
    Sprite& b = Shell(1, 120, 136, -9);
    g->UpdatePTurtles();
    EXPECT_EQ(a.SpeedX, 9);
    EXPECT_EQ(a.X, 109);
    EXPECT_EQ(b.State, Enemy::KnockedOut);
    EXPECT_EQ(b.X, 120);
    EXPECT_EQ(b.CurrentFrame, 5);
    // Its own update followed at once: after n of them Y is 136 - 5n + n(n-1)/2.
    EXPECT_EQ(b.Y, 131);
    EXPECT_EQ(Sounds(Sound::Kick), 1);
    for (int u = 2; u <= 20; ++u)
        g->UpdatePTurtles();
    EXPECT_EQ(Sounds(Sound::Kick), 1) << "knocked out, it is not hit again";
    EXPECT_EQ(b.State, Enemy::KnockedOut);
    EXPECT_EQ(b.Y, 226);
    g->UpdatePTurtles();
    EXPECT_EQ(b.State, Enemy::Free) << "y 241";
}

TEST_F(Shells, OneCollisionHitsEveryEnemyInTheBox)
{
    g->ViewX = 32;
    Shell(1, 100, 100, 9);
    Sprite& walker = PTurtle(0, Enemy::Left, 100, 100);
    PTurtle(3, Enemy::KnockedOut, 100, 100, 5);
    Sprite& t0 = Put(g->sprTurtles[0], Enemy::Right, 100, 100, 2);
    t0.SpeedX = 2;
    Sprite& t1 = Put(g->sprTurtles[1], Enemy::Left, 110, 100);
    t1.SpeedX = -2;
    Put(g->sprTurtles[2], Enemy::Shell, 100, 100, 4);
    Sprite& f = Put(g->sprFTurtles[3], Enemy::Right, 100, 92, 2);
    f.GlobalX = 0;
    g->FTurtleAlt[3] = true;
    // Wumpels at the edges of the box: 13 pixels either side, 16 above and below.
    const std::vector<std::tuple<int32_t, int32_t, bool>> wumpels{
        {100, 100, true}, {113, 100, false}, {87, 100, false}, {100, 116, true}, {100, 117, false}, {100, 84, true}};
    for (size_t i = 0; i < wumpels.size(); ++i)
        Put(g->sprWumpels[i], Enemy::Right, std::get<0>(wumpels[i]), std::get<1>(wumpels[i]));
    Sprite& gr = Put(g->sprGreenies[0], Enemy::Right, 100, 100, 2);

    int32_t shell = 1;
    g->PTurtleCollision(shell);
    EXPECT_EQ(walker.State, Enemy::KnockedOut);
    EXPECT_EQ(walker.SpeedY, -5);
    EXPECT_EQ(t0.State, Enemy::Shell);
    EXPECT_EQ(t0.CurrentFrame, 5);
    EXPECT_EQ(t1.State, Enemy::Shell);
    EXPECT_EQ(t1.CurrentFrame, 4);
    // The FTurtle becomes a knocked-out PTurtle in the lowest free slot, with its look.
    EXPECT_EQ(f.State, Enemy::Free);
    EXPECT_FALSE(g->FTurtleAlt[3]);
    const Sprite& made = g->sprPTurtles[2];
    EXPECT_EQ(made.State, Enemy::KnockedOut);
    EXPECT_EQ(made.X, 100);
    EXPECT_EQ(made.Y, 92);
    EXPECT_EQ(made.GlobalX, 32);
    EXPECT_EQ(made.SpeedY, -5);
    EXPECT_TRUE(g->PTurtleAlt[2]);
    for (size_t i = 0; i < wumpels.size(); ++i)
        EXPECT_EQ(g->sprWumpels[i].State, std::get<2>(wumpels[i]) ? Enemy::Squashed : Enemy::Right) << i;
    EXPECT_EQ(gr.State, Enemy::Squashed);
    EXPECT_EQ(gr.CurrentFrame, 5);
    // Squashed: two turtles, three Wumpels, a Greenie. Knocked out: the FTurtle and the
    // walking PTurtle, not the one already knocked out nor the one just made.
    EXPECT_EQ(Sounds(Sound::Stomp), 6);
    EXPECT_EQ(Sounds(Sound::Kick), 2);
    EXPECT_EQ(g->sprPTurtles[1].SpeedX, 9) << "the shell is not slowed";
}

TEST_F(Shells, ASlidingShellHurtsAnUnhurtHeroAndStopsUnderAJump)
{
    test::Floor(*g, 10);
    // The shell slides from x 100 to 109.
    auto meet = [&](int32_t px, int32_t py, int32_t speedY, int32_t heroState, int32_t hurt = 0) -> Sprite& {
        Sprite& s = Shell(0, 100, 136, 9);
        SetHero(px, py, speedY, heroState);
        g->HurtTimer = hurt;
        g->UpdatePTurtles();
        return s;
    };
    meet(121, 144, 0, Hero::GroundRight);
    EXPECT_EQ(hero().State, Hero::Hit);
    Sprite& s = meet(121, 144, 0, Hero::GroundRight, 10);
    EXPECT_EQ(hero().State, Hero::GroundRight);
    meet(122, 144, 0, Hero::GroundLeft);
    EXPECT_EQ(hero().State, Hero::GroundLeft);

    meet(109, 130, 6, Hero::AirLeft);
    EXPECT_EQ(s.SpeedX, 0);
    EXPECT_EQ(hero().SpeedY, -6);
    EXPECT_EQ(hero().Y, 124) << "moved at once";
    EXPECT_EQ(Sounds(Sound::ShellStomp), 1);
    meet(96, 130, -2, Hero::AirRight);
    EXPECT_EQ(s.SpeedX, 0);
    EXPECT_EQ(hero().Y, 127) << "-2 + -2 \\ 2";
    meet(93, 130, 6, Hero::AirRight);
    EXPECT_EQ(s.SpeedX, 9);
    EXPECT_EQ(Sounds(Sound::ShellStomp), 2);
    EXPECT_EQ(Sounds(Sound::Kick), 0);
}

TEST_F(Shells, AShellStoppedInMidAirDrops12PerUpdateUntilItLands)
{
    test::Floor(*g, 10);
    Sprite& s = Shell(0, 100, 40, 9, 6);
    SetHero(109, 44, 8, Hero::AirRight);
    g->UpdatePTurtles();
    EXPECT_EQ(s.SpeedX, 0);
    EXPECT_EQ(s.SpeedY, 6);
    ParkHero();
    std::vector<int32_t> ys{s.Y};
    for (int u = 2; u <= 10; ++u) {
        g->UpdatePTurtles();
        ys.push_back(s.Y);
    }
    EXPECT_EQ(ys, (std::vector<int32_t>{46, 58, 70, 82, 94, 106, 118, 130, 136, 136}));
    EXPECT_EQ(s.SpeedY, 0);
}
