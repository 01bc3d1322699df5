#include "media/Display.h"

#include "media/RegularFile.h"
#include "media/Warn.h"

#include <SDL.h>

namespace zorbo {

namespace {
// Far more than any picture of the game needs (a 4096 x 4096 strip at 24 bits).
constexpr size_t kMaxBitmapBytes = 64u << 20;
} // namespace

bool Display::Startup(int32_t /*lWidth*/, int32_t /*lHeight*/, int32_t lBPP, bool bFullscreen)
{
    if (bFullscreen) {
        if (lBPP < 1 || lBPP > 32)
            lBPP = 32;
        bpp_ = lBPP;
    }
    started_ = platform_.StartDisplay();
    return started_;
}

void Display::Shutdown()
{
    if (started_)
        platform_.StopDisplay();
    started_ = false;
}

void Display::Draw(const Surface& cddsSource, const Rect& srcRect)
{
    platform_.Present(cddsSource, srcRect);
}

const Surface* Display::LoadBitmap(const std::string& file)
{
    auto it = bitmaps_.find(file);
    if (it == bitmaps_.end()) {
        auto surface = std::make_unique<Surface>();
        std::string error;
        if (!DecodeBitmap(file, *surface, error)) {
            Warn("bitmap " + file + ": " + error + "; it is not drawn");
            surface.reset();
        }
        it = bitmaps_.emplace(file, std::move(surface)).first;
    }
    return it->second.get();
}

bool DecodeBitmap(const std::string& file, Surface& out, std::string& error)
{
    // Read here rather than by SDL, so that a FIFO cannot stall start-up and an unreadable
    // file is named with its reason instead of SDL's "Parameter 'src' is invalid".
    std::string bytes;
    if (ReadRegularFile(file, kMaxBitmapBytes, bytes, error) != FileError::None)
        return false;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    SDL_Surface* raw = rw != nullptr ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    if (raw == nullptr) {
        error = std::string("is not a usable BMP file: ") + SDL_GetError();
        return false;
    }
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(raw);
    if (rgb == nullptr) {
        error = std::string("cannot be converted: ") + SDL_GetError();
        return false;
    }
    bool ok = false;
    if (SDL_LockSurface(rgb) == 0) {
        ok = out.Create(rgb->w, rgb->h);
        if (ok) {
            for (int y = 0; y < rgb->h; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(rgb->pixels) +
                                                                    static_cast<ptrdiff_t>(y) * rgb->pitch);
                for (int x = 0; x < rgb->w; ++x)
                    out.SetPixel(x, y, row[x] & 0x00FFFFFFu);
            }
        } else {
            error = "has an unusable size";
        }
        SDL_UnlockSurface(rgb);
    }
    SDL_FreeSurface(rgb);
    return ok;
}

} // namespace zorbo
