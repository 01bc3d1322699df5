#pragma once
// How the finished picture meets the window: scaled by a whole factor and centred, and
// the pause overlay. Kept apart from SDL so it can be tested headless.
#include "media/Rect.h"

#include <cstdint>

namespace zorbo {

class Surface;

// Where a srcW x srcH picture goes in an outW x outH window: the largest whole factor
// that fits (at least 1), centred, so every pixel stays square and the rest is black.
Rect WholeScaleRect(int32_t outW, int32_t outH, int32_t srcW, int32_t srcH);

// Dims the picture and writes "PAUSED" across its middle.
void DrawPausedOverlay(Surface& picture);

} // namespace zorbo
