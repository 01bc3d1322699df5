#include "media/Display.h"

#include "media/Warn.h"

#include <SDL.h>

#include <filesystem>

namespace zorbo {

bool Display::Startup(int32_t lWidth, int32_t lHeight, int32_t lBPP, bool bFullscreen)
{
    if (bFullscreen) {
        if (lBPP < 1 || lBPP > 32)
            lBPP = 32;
        bpp_ = lBPP;
    }
    started_ = platform_.StartDisplay(lWidth, lHeight, bFullscreen);
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
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        error = "file not found";
        return false;
    }
    SDL_Surface* raw = SDL_LoadBMP(file.c_str());
    if (raw == nullptr) {
        error = SDL_GetError();
        if (error.empty())
            error = "cannot be read";
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
