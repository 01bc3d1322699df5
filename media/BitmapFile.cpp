#include "media/BitmapFile.h"

#include "media/MediaLimits.h"

#include <SDL.h>

namespace zorbo {

bool DecodeBitmap(const std::string& file, Surface& out, std::string& error, MediaBudget* budget)
{
    // Read here rather than by SDL, so that a FIFO cannot stall start-up and an unreadable
    // file is named with its reason instead of SDL's "Parameter 'src' is invalid".
    std::string bytes;
    if (!(budget != nullptr ? ReadBitmapFile(file, bytes, error, *budget) : ReadBitmapFile(file, bytes, error)))
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
