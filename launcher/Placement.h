#pragma once
#include "launcher/LauncherLogic.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

namespace zorbo {

// Centres a window on the screen, then lifts it: both launcher windows are placed so.
inline void PlaceCentredLifted(Fl_Window& window)
{
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_xywh(sx, sy, sw, sh);
    const WindowPlace p = CentredLifted(sw, sh, window.w(), window.h());
    window.position(sx + p.x, sy + p.y);
}

} // namespace zorbo
