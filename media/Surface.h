#pragma once
#include "media/Rect.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorbo {

class Display;

// An off-screen 32-bit picture with plain, scaled and colour-keyed blits.
// Pixel value 0 (pure black) is the transparent colour of every surface.
class Surface {
public:
    // The longest side a surface may have.
    static constexpr int32_t MaxSide = 16384;

    bool Create(Display& dd, int32_t lWidth, int32_t lHeight, bool bPrimary = false);
    bool Create(int32_t lWidth, int32_t lHeight);
    // Loads a bitmap. After Create the bitmap is scaled to the created size; on a fresh
    // surface it keeps its own size.
    bool Load(Display& ddraw, const std::string& sFilename);

    // Blits are refused (draw nothing) unless both rectangles lie wholly inside their surfaces.
    void Blt(const Rect& dstRect, const Surface& ddsSource, const Rect& srcRect);
    void BltTrans(const Rect& dstRect, const Surface& ddsSource, const Rect& srcRect);
    void BltFast(int32_t X, int32_t Y, const Surface& ddsSource, const Rect& srcRect);
    void BltColorFill(uint32_t lColor);

    Rect SurfaceRect() const { return rect_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool valid() const { return valid_; }

    const uint32_t* pixels() const { return pixels_.data(); }
    uint32_t* pixels() { return pixels_.data(); }
    uint32_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    void SetPixel(int x, int y, uint32_t p) { pixels_[static_cast<size_t>(y) * width_ + x] = p; }

    // Replaces the picture with a copy of another one at that one's size.
    void Assign(const Surface& other);

private:
    void Copy(const Rect& dstRect, const Surface& src, const Rect& srcRect, bool keyed);

    int32_t width_ = 0;
    int32_t height_ = 0;
    bool valid_ = false;
    Rect rect_;
    std::vector<uint32_t> pixels_;
};

} // namespace zorbo
