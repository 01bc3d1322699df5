#include "media/SdlShared.h"

#include "media/MediaLimits.h"
#include "media/RegularFile.h"

#include <SDL.h>

#include <cstdlib>

namespace zorbo {

bool EnvironmentSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

SDL_RWops* OpenMediaFile(const std::string& file, std::string& bytes, std::string& error)
{
    if (ReadRegularFile(file, kMaxMediaFileBytes, bytes, error) != FileError::None)
        return nullptr;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (rw == nullptr)
        error = SDL_GetError();
    return rw;
}

} // namespace zorbo
