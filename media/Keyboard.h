#pragma once
#include "media/Platform.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace zorbo {

// Owner of the input service; the keyboard device is opened through it.
class InputService {
public:
    explicit InputService(Platform& platform) : platform_(platform) {}
    bool Startup(int32_t /*lWindowHandle*/ = 0) { return true; }
    Platform& DIObj() { return platform_; }

private:
    Platform& platform_;
};

// A polled keyboard that reports every held key as an event, once per poll, in
// ascending scan-code order.
class KeyboardDevice {
public:
    KeyboardDevice();

    bool Startup(InputService& di, int32_t hWindowHandle = 0);
    // Reads the keys and raises KeyDown for each held one. Stops early when a listener
    // shut the device down.
    void Check_Keyboard();
    void Shutdown();
    // Name of a scan code ("Y", "N", "SPACE", ...); empty for unnamed codes.
    // Throws std::out_of_range outside 0..255.
    const std::string& KeyName(int32_t lKey) const;

    std::function<void(int32_t)> KeyDown;
    bool bKeyPressed = false;

private:
    InputService* owner_ = nullptr;
    bool open_ = false;
    KeyState state_{};
    std::array<std::string, 256> names_;
};

// Scan codes of the keys the game uses.
namespace Key {
constexpr int32_t Escape = 1;
constexpr int32_t Y = 21;
constexpr int32_t N = 49;
constexpr int32_t Space = 57;
constexpr int32_t Up = 200;
constexpr int32_t Left = 203;
constexpr int32_t Right = 205;
constexpr int32_t Down = 208;
} // namespace Key

} // namespace zorbo
