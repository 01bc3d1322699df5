#include "media/PadMap.h"

#include "media/Keyboard.h"

namespace zorbo {

int32_t ButtonKey(PadButton button, bool question)
{
    switch (button) {
    case PadButton::Up: return Key::Up;
    case PadButton::Down: return Key::Down;
    case PadButton::Left: return Key::Left;
    case PadButton::Right: return Key::Right;
    case PadButton::South: return question ? Key::Y : Key::Space;
    case PadButton::East: return question ? Key::N : Key::Up;
    case PadButton::West: return Key::Up;
    case PadButton::Back: return 0;
    }
    return 0;
}

void AddPadKeys(const PadState& pad, bool question, KeyState& keys)
{
    auto press = [&](int32_t key) {
        if (key > 0 && key < static_cast<int32_t>(keys.size()))
            keys[static_cast<size_t>(key)] = 0x80;
    };
    for (int b = 0; b <= static_cast<int>(PadButton::Back); ++b)
        if (pad.Held(static_cast<PadButton>(b)))
            press(ButtonKey(static_cast<PadButton>(b), question));
    if (pad.stickX < -StickDeadZone)
        press(Key::Left);
    if (pad.stickX > StickDeadZone)
        press(Key::Right);
    if (pad.stickY < -StickDeadZone)
        press(Key::Up);
    if (pad.stickY > StickDeadZone)
        press(Key::Down);
}

} // namespace zorbo
