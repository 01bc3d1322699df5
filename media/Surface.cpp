#include "media/Surface.h"

#include "media/Display.h"

#include <algorithm>
#include <cstring>

namespace zorbo {

namespace {
bool Inside(const Rect& r, int32_t w, int32_t h)
{
    return r.left >= 0 && r.top >= 0 && r.right <= w && r.bottom <= h && r.left < r.right &&
           r.top < r.bottom;
}
} // namespace

bool Surface::Create(Display& /*dd*/, int32_t lWidth, int32_t lHeight, bool /*bPrimary*/)
{
    return Create(lWidth, lHeight);
}

bool Surface::Create(int32_t lWidth, int32_t lHeight)
{
    if (lWidth <= 0 || lHeight <= 0 || lWidth > MaxSide || lHeight > MaxSide)
        return false;
    width_ = lWidth;
    height_ = lHeight;
    pixels_.assign(static_cast<size_t>(lWidth) * lHeight, 0u);
    rect_ = Rect{0, 0, lWidth, lHeight};
    valid_ = true;
    return true;
}

bool Surface::Load(Display& ddraw, const std::string& sFilename)
{
    const Surface* bitmap = ddraw.LoadBitmap(sFilename);
    if (bitmap == nullptr) {
        valid_ = false;
        return false;
    }
    if (valid_) {
        // Created before: the picture is loaded at the created size.
        Blt(rect_, *bitmap, bitmap->SurfaceRect());
    } else {
        Assign(*bitmap);
    }
    return true;
}

void Surface::Assign(const Surface& other)
{
    width_ = other.width_;
    height_ = other.height_;
    pixels_ = other.pixels_;
    rect_ = other.rect_;
    valid_ = other.valid_;
}

void Surface::Copy(const Rect& d, const Surface& src, const Rect& s, bool keyed)
{
    if (!valid_ || !src.valid_ || !Inside(d, width_, height_) || !Inside(s, src.width_, src.height_))
        return;
    const int32_t dw = d.width(), dh = d.height(), sw = s.width(), sh = s.height();
    if (dw == sw && dh == sh) {
        for (int32_t y = 0; y < dh; ++y) {
            const uint32_t* from = &src.pixels_[static_cast<size_t>(s.top + y) * src.width_ + s.left];
            uint32_t* to = &pixels_[static_cast<size_t>(d.top + y) * width_ + d.left];
            if (!keyed && dw == 16) {
                // A tile's row: eight moves of two pixels cost less than a library call.
                for (int32_t x = 0; x < 16; x += 2) {
                    uint64_t two;
                    std::memcpy(&two, from + x, sizeof two);
                    std::memcpy(to + x, &two, sizeof two);
                }
            } else if (!keyed) {
                std::copy(from, from + dw, to);
            } else {
                for (int32_t x = 0; x < dw; ++x)
                    if (from[x] != 0)
                        to[x] = from[x];
            }
        }
        return;
    }
    // Scaled copy, nearest neighbour: every destination pixel takes the source pixel under it.
    for (int32_t y = 0; y < dh; ++y) {
        const int32_t sy = s.top + static_cast<int32_t>(static_cast<int64_t>(y) * sh / dh);
        const uint32_t* row = &src.pixels_[static_cast<size_t>(sy) * src.width_];
        uint32_t* to = &pixels_[static_cast<size_t>(d.top + y) * width_ + d.left];
        for (int32_t x = 0; x < dw; ++x) {
            const uint32_t p = row[s.left + static_cast<int32_t>(static_cast<int64_t>(x) * sw / dw)];
            if (!keyed || p != 0)
                to[x] = p;
        }
    }
}

void Surface::Blt(const Rect& dstRect, const Surface& ddsSource, const Rect& srcRect)
{
    Copy(dstRect, ddsSource, srcRect, false);
}

void Surface::BltTrans(const Rect& dstRect, const Surface& ddsSource, const Rect& srcRect)
{
    Copy(dstRect, ddsSource, srcRect, true);
}

void Surface::BltFast(int32_t X, int32_t Y, const Surface& ddsSource, const Rect& srcRect)
{
    Copy(Rect{X, Y, X + srcRect.width(), Y + srcRect.height()}, ddsSource, srcRect, false);
}

void Surface::BltColorFill(uint32_t lColor)
{
    std::fill(pixels_.begin(), pixels_.end(), lColor);
}

} // namespace zorbo
