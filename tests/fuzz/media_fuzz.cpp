// Any bytes at all, as a bitmap's, a wave's or a tune's header: the checks must neither
// crash nor read past the bytes, and a picture they pass must be within the largest one
// read, a tune they pass an Ogg stream.
#include "media/MediaLimits.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace zorbo;

namespace {
int32_t Field(const std::string& bytes, size_t at)
{
    int32_t v = 0;
    std::memcpy(&v, bytes.data() + at, sizeof v);
    return v;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly `size` bytes, so AddressSanitizer sees any read past them.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string picture = BitmapSizeProblem(bytes);
    // A long info header's sides, where there is one: a passed picture is never wider or
    // taller than the limit.
    if (picture.empty() && size >= 26 && bytes.compare(0, 2, "BM") == 0 && Field(bytes, 14) != 12) {
        const int64_t height = Field(bytes, 22);
        if (Field(bytes, 18) > kMaxPictureSide || height > kMaxPictureSide || -height > kMaxPictureSide)
            std::abort();
    }
    const std::string sound = WaveFileProblem(bytes);
    if (!sound.empty() && sound != "is not a WAVE file" && sound.rfind("the sound lasts ", 0) != 0)
        std::abort();
    const std::string tune = MusicFileProblem(bytes);
    if (tune.empty() ? bytes.compare(0, 4, "OggS") != 0 : tune != "is not an Ogg Vorbis file")
        std::abort();
    return 0;
}
