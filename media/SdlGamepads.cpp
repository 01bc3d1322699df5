#include "media/SdlGamepads.h"

#include "media/Keyboard.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

namespace zorbo {

namespace {
// SDL's buttons as ours; the rest of the pad's buttons do nothing.
bool FromSdl(uint8_t button, PadButton& out)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: out = PadButton::Up; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: out = PadButton::Down; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: out = PadButton::Left; return true;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: out = PadButton::Right; return true;
    case SDL_CONTROLLER_BUTTON_A: out = PadButton::South; return true;
    case SDL_CONTROLLER_BUTTON_B: out = PadButton::East; return true;
    case SDL_CONTROLLER_BUTTON_X: out = PadButton::West; return true;
    case SDL_CONTROLLER_BUTTON_BACK: out = PadButton::Back; return true;
    default: return false;
    }
}
} // namespace

Gamepads::Gamepads()
{
    // Pads already plugged in arrive as "added" events, like those plugged in later.
    ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!ready_)
        std::fprintf(stderr, "zorbo: gamepads unavailable: %s\n", SDL_GetError());
}

Gamepads::~Gamepads()
{
    for (auto& [id, pad] : pads_)
        SDL_GameControllerClose(pad);
    pads_.clear();
    if (ready_)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Gamepads::Handle(const SDL_Event& e, bool question, KeyState& tapped)
{
    if (!ready_)
        return;
    switch (e.type) {
    case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which)) {
            const int32_t id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
            if (std::none_of(pads_.begin(), pads_.end(), [&](const auto& p) { return p.first == id; }))
                pads_.emplace_back(id, pad);
            else
                SDL_GameControllerClose(pad);
        }
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        for (auto it = pads_.begin(); it != pads_.end(); ++it)
            if (it->first == e.cdevice.which) {
                SDL_GameControllerClose(it->second);
                pads_.erase(it);
                break;
            }
        break;
    case SDL_CONTROLLERBUTTONDOWN: {
        PadButton b{};
        if (FromSdl(e.cbutton.button, b))
            if (const int32_t key = ButtonKey(b, question); key != 0)
                tapped[static_cast<size_t>(key)] = 0x80;
        break;
    }
    default:
        break;
    }
}

PadState Gamepads::Read(SDL_GameController* pad) const
{
    PadState s;
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        PadButton ours{};
        if (FromSdl(static_cast<uint8_t>(b), ours) &&
            SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(b)) != 0)
            s.Set(ours, true);
    }
    s.stickX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    s.stickY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    return s;
}

void Gamepads::AddKeys(KeyState& keys, bool question, uint32_t now)
{
    bool back = false;
    for (const auto& [id, pad] : pads_) {
        const PadState s = Read(pad);
        AddPadKeys(s, question, keys);
        back = back || s.Held(PadButton::Back);
    }
    if (!back) {
        backDown_ = false;
        return;
    }
    if (!backDown_) {
        backDown_ = true;
        backSince_ = now;
    }
    if (now - backSince_ >= BackHoldMs)
        keys[Key::Escape] = 0x80;
}

} // namespace zorbo
