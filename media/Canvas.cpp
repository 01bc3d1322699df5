#include "media/Canvas.h"

#include "media/Display.h"
#include "media/Rasteriser.h"

namespace zorbo {

bool Canvas::Create(Display& dd, int32_t lWidth, int32_t lHeight)
{
    return Create(lWidth, lHeight, dd.WantsPictures());
}

bool Canvas::Create(int32_t lWidth, int32_t lHeight, bool painting)
{
    if (lWidth <= 0 || lHeight <= 0 || lWidth > Surface::MaxSide || lHeight > Surface::MaxSide)
        return false;
    width_ = lWidth;
    height_ = lHeight;
    painting_ = painting;
    current_.Clear();
    last_.Clear();
    painted_ = 0;
    // Nobody looks: no picture is kept at all, so a copy of the game (a snapshot) is cheap.
    picture_ = Surface{};
    if (painting_)
        picture_.Create(lWidth, lHeight);
    return true;
}

void Canvas::Blt(const Rect& dstRect, const Surface& ddsSource, const Rect& srcRect)
{
    if (painting_)
        current_.commands.emplace_back(Draw::Blit{&ddsSource, dstRect, srcRect, false});
}

void Canvas::BltColorFill(uint32_t lColor)
{
    if (painting_)
        current_.commands.emplace_back(Draw::Fill{lColor});
}

void Canvas::DrawSprite(const void* owner, const Surface& image, const Rect& src, int32_t x, int32_t y)
{
    if (painting_)
        current_.commands.emplace_back(Draw::Sprite{owner, &image, src, x, y});
}

void Canvas::DrawTiles(const TileView& view, const Surface* pictures, int32_t count)
{
    if (!painting_)
        return;
    current_.tileViews.push_back(view);
    current_.commands.emplace_back(Draw::Tiles{current_.tileViews.size() - 1, pictures, count});
}

void Canvas::SetFont(const std::string& FontName, int32_t Size, bool FntBold, bool FntItalic, bool FntUnderline,
                     int32_t cColor)
{
    if (!painting_)
        return;
    font_ = Font(FontName, Size, FntBold, FntItalic, FntUnderline);
    textPixel_ = PixelFromColor(cColor);
}

void Canvas::DrawText(int32_t X, int32_t Y, const std::string& sText)
{
    if (painting_)
        current_.commands.emplace_back(Draw::Text{X, Y, textPixel_, font_, sText});
}

void Canvas::KeepPicture()
{
    if (painting_)
        current_.commands.emplace_back(Draw::KeepPicture{});
}

void Canvas::SetOverlay(Overlay overlay)
{
    if (painting_)
        current_.overlay = std::move(overlay);
}

void Canvas::PaintPending()
{
    if (!painting_)
        return;
    for (; painted_ < current_.commands.size(); ++painted_)
        Paint(current_.commands[painted_], current_, picture_);
}

void Canvas::EndFrame()
{
    PaintPending();
    current_.number = ++frames_;
    current_.periodMs = period_;
    std::swap(current_, last_);
    current_.Clear();
    painted_ = 0;
}

const Surface& Canvas::Picture()
{
    PaintPending();
    return picture_;
}

} // namespace zorbo
