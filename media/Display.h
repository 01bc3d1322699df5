#pragma once
#include "media/Canvas.h"
#include "media/MediaLimits.h"
#include "media/Platform.h"
#include "media/Surface.h"

#include <map>
#include <memory>
#include <string>

namespace zorbo {

// The display device: presents the finished back buffer in the game's window, and serves
// as the factory that surfaces load their bitmaps through.
class Display {
public:
    explicit Display(Platform& platform, uint64_t mediaBudget = kMaxDecodedMediaBytes)
        : platform_(platform), budget_(mediaBudget)
    {
    }

    // The game names the size it draws at; the window opened before has its own size and
    // shows the picture scaled, so only the colour depth of a full screen is kept.
    bool Startup(int32_t lWidth, int32_t lHeight, int32_t lBPP, bool bFullscreen);
    void Shutdown();
    // Ends the canvas's frame and shows it.
    void Draw(Canvas& canvas);
    // Whether anyone looks at the pictures (a headless run does not): when nobody does, the
    // canvas paints nothing.
    bool WantsPictures() const { return platform_.WantsPictures(); }

    // Colour depth the full-screen start-up asked for (0 when windowed).
    int32_t BitsPerPixel() const { return bpp_; }
    bool Started() const { return started_; }

    // Decoded bitmaps, one per file for the life of the device: the 24 slots of a sprite
    // array load the same strip, and decoding it once keeps start-up fast. A file that
    // cannot be read, or whose picture would take the data folder past its budget, is
    // reported once, naming it, and gives nullptr.
    const Surface* LoadBitmap(const std::string& file);
    // What the data folder's pictures, effects and tunes loaded so far cost decoded.
    MediaBudget& Budget() { return budget_; }

private:
    Platform& platform_;
    int32_t bpp_ = 0;
    bool started_ = false;
    std::map<std::string, std::unique_ptr<Surface>> bitmaps_;
    MediaBudget budget_;
};

} // namespace zorbo
