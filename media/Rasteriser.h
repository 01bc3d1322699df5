#pragma once
// Paints recorded draws onto a picture, each exactly as the blit or text it stands for.
#include "media/DrawList.h"

namespace zorbo {

class Surface;

// One command of `frame` (whose tile views it may name).
void Paint(const DrawCommand& command, const DrawList& frame, Surface& picture);
// Every command of `frame`, in order.
void Paint(const DrawList& frame, Surface& picture);

} // namespace zorbo
