#pragma once
// How the game meets the desktop: where its windows go, the finished picture scaled by a
// whole factor and centred, and the pause overlay. Kept apart from SDL so it can be
// tested headless.
#include "media/Rect.h"

#include <cstdint>

namespace zorbo {

class Surface;

// The game's picture; a window smaller than it at 1x would cut the heads-up display.
constexpr int PictureWidth = 320;
constexpr int PictureHeight = 240;

// Where a window of w x h goes on a screen of screenW x screenH: centred, then its top
// multiplied by 0.66 so it sits above the middle, each step rounded to the nearest pixel.
// The game window and both launcher windows are placed so.
struct WindowPlace {
    int x = 0;
    int y = 0;
};
WindowPlace CentredLifted(int screenW, int screenH, int w, int h);

// A window's size between the picture at 1x and `largest` (the largest screen's size, or
// the picture's when that is smaller): a larger window shows nothing more, only costs
// drawing memory in proportion to its area.
struct WindowSize {
    int w = 0;
    int h = 0;
};
WindowSize KeptWindowSize(WindowSize size, WindowSize largest);

// Where a srcW x srcH picture goes in an outW x outH window: the largest whole factor
// that fits (at least 1), centred, so every pixel stays square and the rest is black.
Rect WholeScaleRect(int32_t outW, int32_t outH, int32_t srcW, int32_t srcH);

// Dims the picture and writes "PAUSED" and how to go on in a dark band across its bottom.
constexpr uint32_t PauseBandPixel = 0x101018u;
constexpr uint32_t PauseTextPixel = 0xF0F0F0u;
void DrawPausedOverlay(Surface& picture);

} // namespace zorbo
