#pragma once
// Enemies placed by hand on hand-drawn maps, for the enemies' scenario tests.
#include "HeroWorld.h"
#include "world/Objects.h"

#include <gtest/gtest.h>

namespace zorbo::test {

struct EnemyWorld : testing::Test {
    Game g;
    EnemyWorld() { ParkHero(); }

    Sprite& hero() { return g->sprPlayer; }
    // High above the screen, where no enemy's box reaches him.
    void ParkHero() { SetHero(0, -200, 0, Hero::AirRight); }
    void SetHero(int32_t x, int32_t y, int32_t speedY, int32_t state)
    {
        hero().X = x;
        hero().Y = y;
        hero().SpeedY = speedY;
        hero().State = state;
    }
    // An enemy at screen (x, y), up to date with the current view.
    Sprite& Put(Sprite& e, int32_t state, int32_t x, int32_t y, int32_t frame = 0, int32_t animRate = 0)
    {
        e.State = state;
        e.X = x;
        e.Y = y;
        e.GlobalX = g->ViewX;
        e.SpeedX = 0;
        e.SpeedY = 0;
        e.CurrentFrame = frame;
        e.AnimRate = animRate;
        e.AnimCount = 0;
        return e;
    }
    // A PTurtle shell: resting when speedX is 0, sliding at +-9 otherwise.
    Sprite& Shell(size_t slot, int32_t x, int32_t y, int32_t speedX, int32_t speedY = 0)
    {
        Sprite& s = Put(g->sprPTurtles[slot], Enemy::Shell, x, y, 4);
        s.SpeedX = speedX;
        s.SpeedY = speedY;
        g->KickDelay[slot] = 0;
        return s;
    }
    int Sounds(int number) const { return CountSounds(g.platform, number); }
};

} // namespace zorbo::test
