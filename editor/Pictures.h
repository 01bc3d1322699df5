#pragma once
// The game's own tile pictures and sprite strips, read from its data folder and kept at
// every zoom the editor offers, so that drawing is plain copying.
#include "game/Strips.h"
#include "level/Codes.h"
#include "media/Font.h"
#include "media/Surface.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zorbo::editor {

constexpr int32_t MinZoom = 1;
constexpr int32_t MaxZoom = 4;
constexpr int32_t Cell = 16; // a map cell in the game's pixels


class Pictures {
public:
    // Reads m000.bmp .. m095.bmp and every strip of kStrips from a data folder ending in '/'. A file
    // that cannot be read is named in missing and drawn as an empty picture; false when
    // nothing at all could be read.
    bool Load(const std::string& dataPath, std::vector<std::string>& missing);

    // A tile picture, 16 * zoom square.
    const Surface& Tile(int32_t code, int32_t zoom) const;
    // A whole strip at a zoom, and the rectangle of one of its frames there.
    const Surface& StripPicture(StripId strip, int32_t zoom) const;
    Rect Frame(StripId strip, int32_t frame, int32_t zoom) const;

    // The font the view writes numbers with (the game's text code).
    const Font& NumberFont() const { return font_; }

private:
    struct Scaled {
        std::array<Surface, zorbo::Tile::Count> tiles;
        std::array<Surface, StripCount> strips; // by StripId
    };
    std::array<Scaled, MaxZoom> zoomed_; // [zoom - 1]
    Surface empty_;
    Font font_;
};

} // namespace zorbo::editor
