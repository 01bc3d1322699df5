#include "media/Presentation.h"

#include "media/Surface.h"

#include <algorithm>
#include <cmath>

namespace zorbo {

WindowPlace CentredLifted(int screenW, int screenH, int w, int h)
{
    WindowPlace p;
    p.x = static_cast<int>(std::nearbyint((screenW - w) / 2.0));
    const double top = std::nearbyint((screenH - h) / 2.0);
    p.y = static_cast<int>(std::nearbyint(top * 0.66));
    return p;
}

Rect WholeScaleRect(int32_t outW, int32_t outH, int32_t srcW, int32_t srcH)
{
    if (srcW <= 0 || srcH <= 0)
        return Rect{};
    const int32_t factor = std::max(1, std::min(outW / srcW, outH / srcH));
    const int32_t w = srcW * factor, h = srcH * factor;
    const int32_t left = (outW - w) / 2, top = (outH - h) / 2;
    return Rect{left, top, left + w, top + h};
}

void DrawPausedOverlay(Surface& picture)
{
    const int32_t w = picture.Width(), h = picture.Height();
    uint32_t* px = picture.pixels();
    for (int32_t i = 0; i < w * h; ++i) {
        // Half brightness, but never pure black: black is the transparent colour.
        const uint32_t p = (px[i] >> 1) & 0x7F7F7Fu;
        px[i] = p == 0 ? 0x010101u : p;
    }
    static const Font font("DejaVu Sans", 16, true, false, false);
    const std::string text = "PAUSED";
    const auto [tw, th] = font.Measure(text);
    const int32_t x = (w - tw) / 2, y = (h - th) / 2;
    // A dark band behind the word keeps it readable on any level.
    for (int32_t yy = std::max(0, y - 4); yy < std::min(h, y + th + 4); ++yy)
        for (int32_t xx = 0; xx < w; ++xx)
            px[yy * w + xx] = 0x101018u;
    font.Draw(picture, x, y, text, 0xF0F0F0u);
}

} // namespace zorbo
