#pragma once
// Paints a frame's overlay (the level card, cells shown with another picture) over a
// picture of that frame: what a window in smooth motion shows above the game's pictures.
#include "media/DrawList.h"

#include <cstdint>

namespace zorbo {

class Surface;

// The card: a dark band across the upper third, its text centred in a light colour, so it
// reads on every look of level.
constexpr uint32_t CardBandPixel = 0x14122Au;
constexpr uint32_t CardEdgePixel = 0xF0C850u;
constexpr uint32_t CardTextPixel = 0xFFF4D0u;
constexpr int CardFontPoints = 13;
constexpr int32_t CardTop = 60;

// `frame` is the frame's draws as painted into `picture` (blended or not): its first tile
// map says where each overlay cell is.
void PaintOverlay(const DrawList& frame, Surface& picture);

} // namespace zorbo
