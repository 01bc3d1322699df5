#pragma once
// The sprite strips of the data folder and how they are cut into frames: what the game's
// catalogue loads its sprites with, and what the level editor draws objects with.
#include <cstdint>

namespace zorbo {

struct StripLayout {
    const char* file;
    int32_t width, height; // one frame
    int32_t columns;       // frames per row of the strip
    int32_t frames;
};

namespace Strips {
constexpr StripLayout Hero{"game_1.bmp", 16, 16, 7, 28};
constexpr StripLayout Wumpel{"game_2.bmp", 16, 16, 6, 12};
constexpr StripLayout PTurtle{"game_4.bmp", 16, 24, 6, 12};
constexpr StripLayout Plant{"game_5.bmp", 16, 24, 19, 19};
constexpr StripLayout Turtle{"game_6.bmp", 16, 24, 6, 6};
constexpr StripLayout FTurtle{"game_7.bmp", 16, 24, 4, 8};
constexpr StripLayout Box{"game_8.bmp", 16, 16, 7, 14};
constexpr StripLayout Coin{"game_9.bmp", 16, 16, 6, 12};
constexpr StripLayout Brick{"game_11.bmp", 8, 8, 8, 8};
constexpr StripLayout Greenie{"game_12.bmp", 16, 16, 6, 12};
constexpr StripLayout FireBall{"game_13.bmp", 8, 8, 4, 4};
constexpr StripLayout Black{"game_14.bmp", 16, 16, 5, 5};
constexpr StripLayout Bird{"game_15.bmp", 16, 16, 6, 6};
constexpr StripLayout Elevator{"game_16.bmp", 48, 16, 1, 1};
constexpr StripLayout Flame{"game_17.bmp", 16, 24, 4, 4};
constexpr StripLayout Brown{"game_18.bmp", 16, 16, 6, 12};
constexpr StripLayout Fireball{"game_19.bmp", 8, 8, 1, 1};
} // namespace Strips

} // namespace zorbo
