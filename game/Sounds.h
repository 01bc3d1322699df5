#pragma once
#include <cstdint>

namespace zorbo {

// The sound effects, by the number of their wave file (m001.wav ..): the game's fifteen,
// and the chime smooth motion adds when a checkpoint is reached.
namespace Sound {
constexpr int32_t Brick = 1;       // a brick breaks
constexpr int32_t Pipe = 2;        // through a warp pipe
constexpr int32_t ShellStomp = 3;  // a shell-bearer is stomped, or a sliding shell stopped
constexpr int32_t Kick = 4;        // a shell is kicked, or knocks out a shell-bearer
constexpr int32_t Jump = 5;
constexpr int32_t Coin = 6;        // a coin, or a power-up coming out of a box
constexpr int32_t LevelDone = 7;   // played to its end
constexpr int32_t LevelStart = 8;
constexpr int32_t PowerUp = 9;
constexpr int32_t Shrink = 10;
constexpr int32_t ExtraLife = 11;
constexpr int32_t Death = 12;      // played to its end
constexpr int32_t Fire = 13;       // a fireball is thrown
constexpr int32_t Stomp = 14;      // an enemy is stomped or knocked out
constexpr int32_t Bump = 15;       // a head against a block, a shell against a wall
constexpr int32_t Checkpoint = 16; // never played in classic presentation
constexpr int32_t Count = 16;
} // namespace Sound

} // namespace zorbo
