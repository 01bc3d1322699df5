#pragma once
// Small hand-drawn levels for the hero's scenario tests.
#include "TestData.h"

#include <initializer_list>
#include <string>

namespace zorbo::test {

// Tile codes by picture: '.' empty, '#' a plain solid block (26), 'B' a breakable brick
// (37), 'E' the level end (58), 'n' background code 9; any other character is its own
// level-file code (character - 97).
inline int32_t TileCode(char c)
{
    switch (c) {
    case '.':
        return 0;
    case '#':
        return 26;
    case 'B':
        return 37;
    case 'E':
        return 58;
    case 'n':
        return 9;
    default:
        return static_cast<unsigned char>(c) - 97;
    }
}

// Writes the rows from `top` downwards into the current level, starting at column 1, so
// character i of a row is world x (i * 16) .. (i * 16 + 15).
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
