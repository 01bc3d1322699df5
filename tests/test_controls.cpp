#include "TestData.h"

#include <gtest/gtest.h>

using namespace zorbo;

namespace {
struct Controls : testing::Test {
    test::Game g;
    Sprite& hero() { return g->sprPlayer; }
    // Handles one key event with the clock well past the repeat filter.
    void Press(int32_t key)
    {
        g.platform.now += 50;
        g->Keyboard_KeyDown(key);
    }
    int SoundsNumbered(int n) const
    {
        int count = 0;
        for (const auto& e : g.platform.sounds)
            count += e.number == n ? 1 : 0;
        return count;
    }
};
} // namespace

TEST_F(Controls, RepeatFilterDropsTheSameKeyWithin20Ms)
{
    g.platform.now = 1000;
    g->Keyboard_KeyDown(Key::Right);
    g.platform.now = 1020;
    g->Keyboard_KeyDown(Key::Right);
    EXPECT_EQ(hero().SpeedX, 1);
    g->Keyboard_KeyDown(Key::Left);   // another key always passes
    EXPECT_EQ(hero().SpeedX, 0);
    g.platform.now = 1041;
    g->Keyboard_KeyDown(Key::Left);   // 21 ms after the last handled left
    EXPECT_EQ(hero().SpeedX, -1);
}

TEST_F(Controls, JumpStartsAtMinus8AndHeldSpaceBoostsFiveTimes)
{
    Press(Key::Space);
    EXPECT_EQ(hero().State, Hero::AirRight);
    EXPECT_EQ(hero().SpeedY, -8);
    EXPECT_EQ(g->JumpCount, 2);
    EXPECT_EQ(SoundsNumbered(5), 1);
    EXPECT_TRUE(g->bKeyDown);

    std::vector<int> counts, speeds;
    for (int i = 0; i < 9; ++i) {
        Press(Key::Space);
        counts.push_back(g->JumpCount);
        speeds.push_back(hero().SpeedY);
    }
    EXPECT_EQ(counts, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 0, 0}));
    EXPECT_EQ(speeds, (std::vector<int>{-9, -10, -10, -11, -11, -12, -12, -13, -13}));
    EXPECT_EQ(SoundsNumbered(5), 1) << "no new jump in the air";

    // Left-facing take-off.
    hero().State = Hero::GroundLeft;
    hero().SpeedY = 0;
    Press(Key::Space);
    EXPECT_EQ(hero().State, Hero::AirLeft);

    // Space while falling only resets the count.
    g->JumpCount = 5;
    hero().SpeedY = 3;
    g->bKeyDown = false;
    Press(Key::Space);
    EXPECT_EQ(g->JumpCount, 0);
    EXPECT_EQ(hero().SpeedY, 3);
    EXPECT_TRUE(g->bKeyDown);
}

TEST_F(Controls, RunningTurnsOnTheGroundOnlyAndStopsAtSeven)
{
    for (int i = 0; i < 10; ++i)
        Press(Key::Right);
    EXPECT_EQ(hero().SpeedX, 7);
    for (int i = 0; i < 20; ++i)
        Press(Key::Left);
    EXPECT_EQ(hero().SpeedX, -7);
    EXPECT_EQ(hero().State, Hero::GroundLeft);
    Press(Key::Right);
    EXPECT_EQ(hero().State, Hero::GroundLeft) << "still moving left";

    hero().State = Hero::AirRight;
    hero().SpeedX = 3;
    Press(Key::Left);
    EXPECT_EQ(hero().SpeedX, 2);
    EXPECT_EQ(hero().State, Hero::AirRight);

    // Both arrows in one poll: left (203) then right (205) cancel, and a hero standing
    // facing right turns left.
    hero().State = Hero::GroundRight;
    hero().SpeedX = 0;
    for (int col = 0; col < 4; ++col)
        g->SetMapCode(1, col, 26); // ground to stand on through the frame
    g.platform.now += 50;
    g.Frame({Key::Left, Key::Right});
    EXPECT_EQ(hero().SpeedX, 0);
    EXPECT_EQ(hero().State, Hero::GroundLeft);
}

TEST_F(Controls, DownAndUpSetTheirFlags)
{
    Press(Key::Down);
    EXPECT_TRUE(g->bDownKey);
    EXPECT_FALSE(g->bKeyDown);
    Press(Key::Up);   // small hero: no fireball
    EXPECT_TRUE(g->bKeyDown);
    EXPECT_EQ(g->FireDelay, 0);
    g->HeroBig = true;
    Press(Key::Up);
    EXPECT_EQ(g->FireDelay, 4);
    Press(Key::Up);   // still reloading
    EXPECT_EQ(g->FireDelay, 4);
}

TEST_F(Controls, YesAndNoAnswerOnlyAQuestionThatIsUp)
{
    g->Lives = 2;
    Press(Key::Y);
    Press(Key::N);
    EXPECT_TRUE(g->bRunning);
    EXPECT_EQ(g->Lives, 2);

    // Game over: Y continues the same level with fresh lives.
    g->gGameOver = true;
    g->gLevel = 3;
    g->Lives = 0;
    g->Coins = 42;
    g.platform.sounds.clear();
    Press(Key::Y);
    EXPECT_FALSE(g->gGameOver);
    EXPECT_EQ(g->gLevel, 3);
    EXPECT_EQ(g->Lives, 5);
    EXPECT_EQ(g->Coins, 0);
    using S = HeadlessPlatform::SoundEvent;
    EXPECT_EQ(g.platform.sounds, (std::vector<S>{{7, true, 0}, {8, false, 0}}));

    // Won: Y starts a new game from the first level.
    g->gGameWon = true;
    g->gLevel = 10;
    Press(Key::Y);
    EXPECT_FALSE(g->gGameWon);
    EXPECT_EQ(g->gLevel, 0);

    g->gGameOver = true;
    Press(Key::N);
    EXPECT_FALSE(g->bRunning);
}
