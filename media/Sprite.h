#pragma once
#include "media/Surface.h"

#include <cstdint>
#include <string>

namespace zorbo {

class Canvas;
class Display;

// The frame number of a sprite: a write outside 0 .. frame count - 1 is ignored, so a
// frame beyond the strip can never be set (and none at all before a strip is loaded).
class FrameNumber {
public:
    operator int32_t() const { return value_; }
    FrameNumber& operator=(int32_t v)
    {
        if (v >= 0 && v < count_)
            value_ = v;
        return *this;
    }
    // A copy takes the frame count with the frame, as a copied sprite takes its strip: a
    // snapshot copied into blank sprites keeps every frame.
    FrameNumber& operator=(const FrameNumber&) = default;
    FrameNumber() = default;
    FrameNumber(const FrameNumber&) = default;
    int32_t Count() const { return count_; }

private:
    friend class Sprite;
    int32_t value_ = 0;
    int32_t count_ = 0;
};

// One moving or animated thing: an image strip cut into equal frames plus integer fields
// whose meaning belongs to the part of the game that owns the sprite.
class Sprite {
public:
    bool Create(Display& ddObj);
    bool LoadFromFile(const std::string& sFilename, int32_t lSprWidth, int32_t lSprHeight,
                      int32_t lNumCols, int32_t lNumFrames);
    bool LoadFromSurface(const Surface* ddsOther, int32_t lSprWidth, int32_t lSprHeight,
                         int32_t lNumCols, int32_t lNumFrames);

    void NextFrame();
    void PrevFrame();
    // Draws the current frame at (X, Y), black left out; the canvas knows the sprite by
    // its address (its array and slot) from one frame to the next.
    void Draw(Canvas& ddsDest) const;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool HasImage() const { return image_ != nullptr; }
    // The strip rectangle of the current frame.
    Rect FrameRect() const;

    bool Active = true;
    bool Transparent = true;
    int32_t State = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t GlobalX = 0;
    int32_t GlobalY = 0;
    FrameNumber CurrentFrame;
    int32_t SpeedX = 0;
    int32_t SpeedY = 0;
    int32_t MoveRate = 0;
    int32_t MoveCount = 0;
    int32_t AnimRate = 0;
    int32_t AnimCount = 0;
    int32_t AnimDir = 0;
    int32_t DirX = 0;
    int32_t DirY = 0;

    // Every field, for the game's state list: the play fields through v.Field, the picture
    // (which is not game state) through v.Skip. Transparent, GlobalY, MoveRate, MoveCount
    // and DirY are never read, but stay: the recordings' state hashes include them.
    template <class V>
    void VisitFields(V& v) const
    {
        v.Field(Active), v.Field(Transparent), v.Field(State), v.Field(X), v.Field(Y), v.Field(GlobalX);
        v.Field(GlobalY), v.Field(CurrentFrame), v.Field(SpeedX), v.Field(SpeedY), v.Field(MoveRate);
        v.Field(MoveCount), v.Field(AnimRate), v.Field(AnimCount), v.Field(AnimDir), v.Field(DirX), v.Field(DirY);
        v.Skip(owner_), v.Skip(image_), v.Skip(columns_), v.Skip(width_), v.Skip(height_);
    }

private:
    Display* owner_ = nullptr;
    // Strips are decoded once per file by the display and never change, so sprites refer
    // to them instead of each keeping a copy.
    const Surface* image_ = nullptr;
    int32_t columns_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

} // namespace zorbo
