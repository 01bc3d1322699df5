#pragma once
// Small hand-drawn levels for the hero's scenario tests.
#include "LevelText.h"
#include "TestData.h"

#include <initializer_list>
#include <string>

namespace zorbo::test {

// Writes the rows (in the legend of LevelText.h) from `top` downwards into the current
// level, starting at column 1, so character i of a row is world x (i * 16) .. (i * 16 + 15).
inline void Paint(GameWindow& g, std::initializer_list<std::string> rows, int32_t top = 0)
{
    int32_t row = top;
    for (const std::string& line : rows) {
        for (size_t i = 0; i < line.size(); ++i)
            g.SetMapCode(row, static_cast<int32_t>(i) + 1, TileCode(line[i]));
        ++row;
    }
}

// A solid floor in `row` over columns 0..last.
inline void Floor(GameWindow& g, int32_t row, int32_t last = 1000)
{
    for (int32_t col = 0; col <= last; ++col)
        g.SetMapCode(row, col, 26);
}

// Puts the hero at a world position with the view at the level start where it fits.
inline void PlaceHero(GameWindow& g, int32_t worldX, int32_t y, int32_t state)
{
    if (worldX <= 160) {
        g.ViewX = 0;
        g.sprPlayer.X = worldX;
    } else {
        g.ViewX = worldX - 160;
        g.sprPlayer.X = 160;
    }
    g.sprPlayer.Y = y;
    g.sprPlayer.State = state;
}

inline int32_t HeroWorldX(const GameWindow& g) { return g.ViewX + g.sprPlayer.X; }

inline int CountSounds(const HeadlessPlatform& p, int number)
{
    int n = 0;
    for (const auto& e : p.sounds)
        n += e.number == number ? 1 : 0;
    return n;
}

} // namespace zorbo::test
