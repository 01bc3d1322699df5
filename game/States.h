#pragma once
// The named states of the level objects' slots: every enemy kind, the thrown balls, the
// question boxes and the elevators.
#include <cstdint>

namespace zorbo {

// Enemy states. Every kind uses Free for an unused slot; the walkers use the rest as named,
// and Blacks and Browns face Left or Right.
namespace Enemy {
constexpr int32_t Left = 0;       // walking left
constexpr int32_t Right = 1;      // walking right
constexpr int32_t FallLeft = 2;   // falling, heading left
constexpr int32_t FallRight = 3;  // falling, heading right
constexpr int32_t Free = 4;
constexpr int32_t Squashed = 5;   // squashed, or a shell
constexpr int32_t Shell = 5;
constexpr int32_t KnockedOut = 6; // falling off the screen upside down

constexpr bool IsWalking(int32_t state) { return state >= Left && state <= FallRight; }
} // namespace Enemy

// Plant states: waiting in the pipe, or out of it (rising and sinking again).
namespace Plant {
constexpr int32_t Hidden = 1;
constexpr int32_t Out = 2;
} // namespace Plant

// Bird states: sitting on the perch, or diving at the hero.
namespace Bird {
constexpr int32_t PerchedLeft = 0;
constexpr int32_t PerchedRight = 1;
constexpr int32_t DiveLeft = 2;
constexpr int32_t DiveRight = 3;
} // namespace Bird

// A thrown ball's states (the hero's fireballs and the Browns'): flying left or right.
namespace Ball {
constexpr int32_t Left = 0;
constexpr int32_t Right = 1;
constexpr int32_t Free = Enemy::Free;
} // namespace Ball

// Question-box states: what a box holds. Empty marks a free slot.
namespace QBox {
constexpr int32_t Empty = 0;
constexpr int32_t PowerUp = 1;
constexpr int32_t Coin = 2;
constexpr int32_t OneUp = 3;     // hidden until struck
constexpr int32_t CoinChest = 4; // DirX counts the coins left
constexpr int32_t PowerUpAlt = 5;
constexpr int32_t CoinAlt = 6;

constexpr bool Holds(int32_t state) { return state >= PowerUp && state <= CoinAlt; }
} // namespace QBox

// Coin states: a lying coin, or one jumping out of a box, counted up picture by picture
// until it vanishes (gold 2..8, violet 9..15). Free marks a free slot.
namespace Coin {
constexpr int32_t Free = 0;
constexpr int32_t Lying = 1;
constexpr int32_t LyingAlt = -1; // violet
constexpr int32_t Jumping = 2;
constexpr int32_t Jumped = 8;
constexpr int32_t JumpingAlt = 9;
constexpr int32_t JumpedAlt = 15;

constexpr bool IsJumping(int32_t state) { return state >= Jumping && state <= JumpedAlt; }
constexpr bool IsLying(int32_t state) { return state == Lying || state == LyingAlt; }
} // namespace Coin

// Elevator states: a free slot, a first end waiting for its partner, and the two kinds of
// moving platform.
namespace Elevator {
constexpr int32_t Free = 0;
constexpr int32_t Waiting = 1;
constexpr int32_t Sideways = 2;
constexpr int32_t UpDown = 3;
} // namespace Elevator

// A broken brick's four fragments: flying until they drop below the screen.
namespace Fragment {
constexpr int32_t Gone = 0;
constexpr int32_t Flying = 1;
} // namespace Fragment

// The one warp marker, and each ball of a fire chain: set when placed from the map.
namespace Marker {
constexpr int32_t Placed = 1;
} // namespace Marker

} // namespace zorbo
