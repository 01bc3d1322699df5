#pragma once
#include "media/DrawList.h"
#include "media/Surface.h"

#include <cstdint>
#include <string>

namespace zorbo {

class Display;

// The game's back buffer. Each draw is recorded as a command of the frame instead of being
// painted at once; the commands are painted, in order, onto a picture that is never
// cleared between frames, so every picture is the one the draws always made. When nobody
// looks at the pictures (a headless replay, the solver) nothing is recorded or painted.
class Canvas {
public:
    // Whether anyone looks is the display's answer (the platform's).
    bool Create(Display& dd, int32_t lWidth, int32_t lHeight);
    bool Create(int32_t lWidth, int32_t lHeight, bool painting = true);

    // Draws: like the surface's blits, each is refused (paints nothing) unless both
    // rectangles lie wholly inside their pictures.
    void Blt(const Rect& dstRect, const Surface& ddsSource, const Rect& srcRect);
    void BltColorFill(uint32_t lColor);
    void DrawSprite(const void* owner, const Surface& image, const Rect& src, int32_t x, int32_t y);
    void DrawTiles(const TileView& view, const Surface* pictures, int32_t count);
    void DrawText(int32_t X, int32_t Y, const std::string& sText);
    void SetFont(const std::string& FontName, int32_t Size, bool FntBold, bool FntItalic, bool FntUnderline,
                 int32_t cColor);
    void KeepPicture();
    // What a smooth window shows over this frame's pictures; never painted here.
    void SetOverlay(Overlay overlay);

    // Ends the frame: its draws are painted and become the last frame's.
    void EndFrame();
    const DrawList& LastFrame() const { return last_; }
    // Presentation only: the time from one frame to the next, given to each frame's draws.
    void SetFramePeriod(uint32_t ms) { period_ = ms; }

    // The picture with every draw so far painted.
    const Surface& Picture();
    uint32_t Pixel(int x, int y) { return Picture().Pixel(x, y); }
    // The picture as the last frame left it (what EndFrame painted).
    const Surface& Composed() const { return picture_; }

    Rect SurfaceRect() const { return Rect{0, 0, width_, height_}; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

private:
    void PaintPending();

    int32_t width_ = 0;
    int32_t height_ = 0;
    bool painting_ = false;
    Surface picture_;
    DrawList current_;
    DrawList last_;
    size_t painted_ = 0; // commands of current_ already painted
    uint32_t frames_ = 0;
    uint32_t period_ = 0;
    Font font_;
    uint32_t textPixel_ = 0;
};

} // namespace zorbo
