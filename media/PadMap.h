#pragma once
// What a gamepad stands for on the keyboard: the pad feeds the same key state the keys
// fill, so the game, its repeat filter and its recordings cannot tell a pad from keys.
#include "media/Platform.h"

#include <cstdint>

namespace zorbo {

enum class PadButton : uint8_t { Up, Down, Left, Right, South, East, West, Back };

struct PadState {
    uint16_t buttons = 0;      // bit n: PadButton n held
    int16_t stickX = 0;        // left stick, -32768 (left) .. 32767 (right)
    int16_t stickY = 0;        // -32768 (up) .. 32767 (down)

    bool Held(PadButton b) const { return (buttons >> static_cast<int>(b)) & 1U; }
    void Set(PadButton b, bool held)
    {
        const auto bit = static_cast<uint16_t>(1U << static_cast<int>(b));
        buttons = held ? static_cast<uint16_t>(buttons | bit) : static_cast<uint16_t>(buttons & ~bit);
    }
};

// A stick pushed less than this far counts as centred: worn sticks rest off centre.
constexpr int StickDeadZone = 8000;
// Back (Select) held this long quits, as escape does; a brief press does nothing.
constexpr uint32_t BackHoldMs = 1000;

// The key one button stands for. At the game's Y/N questions south answers Y and east N;
// in play south jumps and west or east throws. 0 for a button with no key (Back).
int32_t ButtonKey(PadButton button, bool question);

// Marks (0x80) every key the pad's held buttons and stick stand for.
void AddPadKeys(const PadState& pad, bool question, KeyState& keys);

} // namespace zorbo
