// The SDL platform's pictures between two game frames (smooth motion).
#include "media/SdlPlatform.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace zorbo {

// The display's refresh paces the pictures; 60 a second where it does not tell.
void SdlPlatform::StartMotion()
{
    SDL_DisplayMode mode{};
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window_));
    const int hz = SDL_GetCurrentDisplayMode(display, &mode) == 0 ? mode.refresh_rate : 0;
    pacer_.SetRefresh(1000.0 / (hz >= 30 && hz <= 360 ? hz : 60));
    SDL_RendererInfo info{};
    vsync_ = SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
}

void SdlPlatform::ShowInBetween()
{
    const uint32_t start = SDL_GetTicks();
    double fraction = 1.0;
    const Surface& picture = inBetweens_.PictureAt(start, lastPicture_, fraction);
    // The picture shown already needs no new upload.
    if (!inBetweens_.SameAsBefore() || !shownInBetween_)
        UploadPixels(picture.pixels());
    shownInBetween_ = true;
    Render();
    LogPicture(start, inBetweens_.LatestNumber(), fraction);
    pacer_.Shown(start, SDL_GetTicks());
    // A renderer that offers to wait for the refresh but never does (a virtual display)
    // only costs time: after a second of pictures without a wait, it is asked not to.
    vsyncWaits_ = vsyncWaits_ || pacer_.Waited();
    if (vsync_ && !vsyncWaits_ && ++vsyncChecked_ >= 60) {
        SDL_RenderSetVSync(renderer_, 0);
        vsync_ = false;
    }
}

// Without a game frame waiting (at a frame's end, or while an effect is waited for).
void SdlPlatform::ShowDueInBetween()
{
    if (smooth_ && !paused_ && texture_ != nullptr && lastPicture_.valid() && pacer_.ShowNow(SDL_GetTicks()))
        ShowInBetween();
}

// When the frame loop's wait should next wake: at the frame, or earlier for a picture that
// is due. A due picture goes up now (and `now` is given back) unless the frame is too near.
uint32_t SdlPlatform::NextWake(uint32_t now, uint32_t frameDue)
{
    if (!smooth_ || paused_ || texture_ == nullptr || !lastPicture_.valid())
        return frameDue;
    if (pacer_.ShowNow(now, frameDue)) {
        ShowInBetween();
        return now;
    }
    // Due but too near the frame: it goes up right after the frame.
    if (pacer_.ShowNow(now) || pacer_.Due() >= frameDue)
        return frameDue;
    const auto wake = static_cast<uint32_t>(std::max(static_cast<double>(now + 1), std::ceil(pacer_.WakeAt())));
    return std::min(wake, frameDue);
}

void SdlPlatform::LogPicture(uint32_t ms, uint32_t frame, double fraction)
{
    if (frameLog_ != nullptr)
        frameLog_->Picture(ms, frame, fraction);
}

} // namespace zorbo
