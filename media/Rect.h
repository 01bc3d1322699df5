#pragma once
#include <cstdint>

namespace zorbo {

// Left, top, right, bottom; right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

// Colours as the game writes them: red + 256 * green + 65536 * blue.
constexpr int32_t RGB(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// Surface pixels are 0x00RRGGBB; 0 is pure black and the transparent colour.
constexpr uint32_t PixelFromColor(int32_t color)
{
    const uint32_t c = static_cast<uint32_t>(color);
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

} // namespace zorbo
