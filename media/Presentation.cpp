#include "media/Presentation.h"

#include "media/Font.h"
#include "media/Surface.h"

#include <algorithm>
#include <array>
#include <string_view>
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

WindowSize KeptWindowSize(WindowSize size, WindowSize largest)
{
    return {std::clamp(size.w, PictureWidth, std::max(PictureWidth, largest.w)),
            std::clamp(size.h, PictureHeight, std::max(PictureHeight, largest.h))};
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
    // The band sits on the bottom rows, the ground under the hero: the counters are at the
    // top, and the hero, the enemies and the game's own questions are in the middle.
    static const Font font(HudFontFamily, HudFontPoints, true, false, false);
    const std::array<std::string_view, 2> lines{"PAUSED", "P or Start: resume \u00B7 Esc: quit"};
    constexpr int32_t margin = 3;
    const int32_t lineH = std::max(font.Measure(lines[0]).second, font.Measure(lines[1]).second);
    const int32_t bandTop = std::max(0, h - 2 * lineH - 2 * margin);
    for (int32_t yy = bandTop; yy < h; ++yy)
        for (int32_t xx = 0; xx < w; ++xx)
            px[yy * w + xx] = PauseBandPixel;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int32_t tw = font.Measure(lines[i]).first;
        font.Draw(picture, (w - tw) / 2, bandTop + margin + static_cast<int32_t>(i) * lineH, lines[i],
                  PauseTextPixel);
    }
}

} // namespace zorbo
