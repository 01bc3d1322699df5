#pragma once
// The sprite strips of the data folder and how they are cut into frames: what the game's
// catalogue loads its sprites with, and what the level editor draws objects with.
#include <array>
#include <cstddef>
#include <cstdint>

namespace zorbo {

// One id per strip; kStrips holds the layout of each at its id's place.
enum class StripId : uint8_t {
    Hero, Wumpel, PTurtle, Plant, Turtle, FTurtle, Box, Coin, Brick, Greenie, ChainBall, Black, Bird, Elevator,
    Flame, Brown, Fireball,
};
constexpr size_t StripCount = static_cast<size_t>(StripId::Fireball) + 1;

struct StripLayout {
    StripId id;
    const char* file;
    int32_t width, height; // one frame
    int32_t columns;       // frames per row of the strip
    int32_t frames;
};

inline constexpr std::array<StripLayout, StripCount> kStrips = {{
    {StripId::Hero, "game_1.bmp", 16, 16, 7, 28},
    {StripId::Wumpel, "game_2.bmp", 16, 16, 6, 12},
    {StripId::PTurtle, "game_4.bmp", 16, 24, 6, 12},
    {StripId::Plant, "game_5.bmp", 16, 24, 19, 19},
    {StripId::Turtle, "game_6.bmp", 16, 24, 6, 6},
    {StripId::FTurtle, "game_7.bmp", 16, 24, 4, 8},
    {StripId::Box, "game_8.bmp", 16, 16, 7, 14},
    {StripId::Coin, "game_9.bmp", 16, 16, 6, 12},
    {StripId::Brick, "game_11.bmp", 8, 8, 8, 8},
    {StripId::Greenie, "game_12.bmp", 16, 16, 6, 12},
    {StripId::ChainBall, "game_13.bmp", 8, 8, 4, 4},
    {StripId::Black, "game_14.bmp", 16, 16, 5, 5},
    {StripId::Bird, "game_15.bmp", 16, 16, 6, 6},
    {StripId::Elevator, "game_16.bmp", 48, 16, 1, 1},
    {StripId::Flame, "game_17.bmp", 16, 24, 4, 4},
    {StripId::Brown, "game_18.bmp", 16, 16, 6, 12},
    {StripId::Fireball, "game_19.bmp", 8, 8, 1, 1},
}};

constexpr bool StripsInIdOrder()
{
    for (size_t i = 0; i < kStrips.size(); ++i)
        if (static_cast<size_t>(kStrips[i].id) != i)
            return false;
    return true;
}
static_assert(StripsInIdOrder(), "kStrips holds one row per strip id, in id order");

constexpr const StripLayout& StripOf(StripId id) { return kStrips[static_cast<size_t>(id)]; }

// The layouts by name, for the catalogue's loading and the kinds' rows.
namespace Strips {
inline constexpr const StripLayout& Hero = StripOf(StripId::Hero);
inline constexpr const StripLayout& Wumpel = StripOf(StripId::Wumpel);
inline constexpr const StripLayout& PTurtle = StripOf(StripId::PTurtle);
inline constexpr const StripLayout& Plant = StripOf(StripId::Plant);
inline constexpr const StripLayout& Turtle = StripOf(StripId::Turtle);
inline constexpr const StripLayout& FTurtle = StripOf(StripId::FTurtle);
inline constexpr const StripLayout& Box = StripOf(StripId::Box);
inline constexpr const StripLayout& Coin = StripOf(StripId::Coin);
inline constexpr const StripLayout& Brick = StripOf(StripId::Brick);
inline constexpr const StripLayout& Greenie = StripOf(StripId::Greenie);
inline constexpr const StripLayout& ChainBall = StripOf(StripId::ChainBall); // the balls of a fire chain
inline constexpr const StripLayout& Black = StripOf(StripId::Black);
inline constexpr const StripLayout& Bird = StripOf(StripId::Bird);
inline constexpr const StripLayout& Elevator = StripOf(StripId::Elevator);
inline constexpr const StripLayout& Flame = StripOf(StripId::Flame);
inline constexpr const StripLayout& Brown = StripOf(StripId::Brown);
inline constexpr const StripLayout& Fireball = StripOf(StripId::Fireball); // thrown fire: the Browns' and the hero's
} // namespace Strips

} // namespace zorbo
