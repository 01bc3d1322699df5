#include "media/Sprite.h"

#include "media/Canvas.h"
#include "media/Display.h"

namespace zorbo {

bool Sprite::Create(Display& ddObj)
{
    owner_ = &ddObj;
    return true;
}

bool Sprite::LoadFromFile(const std::string& sFilename, int32_t lSprWidth, int32_t lSprHeight,
                          int32_t lNumCols, int32_t lNumFrames)
{
    if (owner_ == nullptr)
        return false;
    image_ = nullptr;
    return LoadFromSurface(owner_->LoadBitmap(sFilename), lSprWidth, lSprHeight, lNumCols, lNumFrames);
}

bool Sprite::LoadFromSurface(const Surface* ddsOther, int32_t lSprWidth, int32_t lSprHeight,
                             int32_t lNumCols, int32_t lNumFrames)
{
    if (owner_ == nullptr)
        return false;
    image_ = ddsOther;
    if (image_ == nullptr)
        return false;
    width_ = lSprWidth;
    height_ = lSprHeight;
    columns_ = lNumCols;
    CurrentFrame.count_ = lNumFrames;
    X = 0;
    Y = 0;
    return true;
}

void Sprite::NextFrame()
{
    if (AnimCount < AnimRate) {
        ++AnimCount;
        return;
    }
    AnimCount = 0;
    if (CurrentFrame.value_ >= CurrentFrame.count_ - 1)
        CurrentFrame.value_ = 0;
    else
        ++CurrentFrame.value_;
}

void Sprite::PrevFrame()
{
    if (AnimCount < AnimRate) {
        ++AnimCount;
        return;
    }
    AnimCount = 0;
    if (CurrentFrame.value_ < 1)
        CurrentFrame.value_ = CurrentFrame.count_ - 1;
    else
        --CurrentFrame.value_;
}

Rect Sprite::FrameRect() const
{
    if (columns_ <= 0)
        return Rect{};
    const int32_t col = CurrentFrame.value_ % columns_;
    const int32_t row = CurrentFrame.value_ / columns_;
    return Rect{col * width_, row * height_, col * width_ + width_, row * height_ + height_};
}

void Sprite::Draw(Canvas& ddsDest) const
{
    // No image or no layout: nothing to draw (the blit of an empty rectangle is refused too).
    if (image_ == nullptr || columns_ <= 0)
        return;
    ddsDest.DrawSprite(this, *image_, FrameRect(), X, Y);
}

} // namespace zorbo
