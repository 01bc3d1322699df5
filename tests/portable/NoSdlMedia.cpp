// The core's picture and font readers for the portable replay program, which is built
// without SDL so that it cross-builds with nothing but a compiler and libstdc++. Pictures
// are read by the asset generator's own BMP reader (the Data folder is its output); text
// is not drawn, as on a machine with no font installed. Neither is part of the state hash.
#include "media/BitmapFile.h"
#include "media/Font.h"
#include "media/MediaLimits.h"

#include "assetgen/Image.h"

#include <exception>

namespace zorbo {

bool DecodeBitmap(const std::string& file, Surface& out, std::string& error, MediaBudget* budget)
{
    std::string bytes;
    if (!(budget != nullptr ? ReadBitmapFile(file, bytes, error, *budget) : ReadBitmapFile(file, bytes, error)))
        return false;
    try {
        const assets::Image image = assets::decode_bmp(assets::Bytes(bytes.begin(), bytes.end()));
        if (!out.Create(image.w, image.h)) {
            error = "has an unusable size";
            return false;
        }
        for (int y = 0; y < image.h; ++y)
            for (int x = 0; x < image.w; ++x) {
                const assets::Rgb c = image.at(x, y);
                out.SetPixel(x, y, (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b);
            }
        return true;
    } catch (const std::exception& e) {
        error = std::string("is not a usable BMP file: ") + e.what();
        return false;
    }
}

Font::Font(std::string /*name*/, int /*points*/, bool /*bold*/, bool /*italic*/, bool /*underline*/) {}

std::pair<int, int> Font::Measure(std::string_view /*text*/) const { return {0, 0}; }

void Font::Draw(Surface& /*dst*/, int /*x*/, int /*y*/, std::string_view /*text*/, uint32_t /*pixel*/) const {}

std::string MatchFontFile(const std::string& /*family*/, bool /*bold*/, bool /*italic*/) { return {}; }

} // namespace zorbo
