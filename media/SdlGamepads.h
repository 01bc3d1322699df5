#pragma once
#include "media/PadMap.h"

#include <cstdint>
#include <utility>
#include <vector>

struct _SDL_GameController;
union SDL_Event;

namespace zorbo {

// Every game controller plugged in, opened and closed as they come and go; all of them
// steer the one hero.
class Gamepads {
public:
    Gamepads();
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Plug and unplug; a button pressed between two polls is remembered in `tapped`.
    void Handle(const SDL_Event& e, bool question, KeyState& tapped);
    // Adds the held buttons and sticks of every pad to `keys`; Back held for a second
    // adds escape.
    void AddKeys(KeyState& keys, bool question, uint32_t now);
    size_t Count() const { return pads_.size(); }

private:
    PadState Read(_SDL_GameController* pad) const;

    bool ready_ = false;
    std::vector<std::pair<int32_t, _SDL_GameController*>> pads_; // joystick instance id, pad
    uint32_t backSince_ = 0;
    bool backDown_ = false;
};

} // namespace zorbo
