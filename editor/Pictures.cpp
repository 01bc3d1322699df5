#include "editor/Pictures.h"

#include "media/BitmapFile.h"
#include "media/MediaLimits.h"

#include <algorithm>
#include <cstdio>

namespace zorbo::editor {

namespace {

// A copy at whole-number zoom through the game's own scaled blit.
void ScaleInto(Surface& out, const Surface& source, int32_t zoom)
{
    if (!source.valid()) {
        out = Surface{};
        return;
    }
    out.Create(source.Width() * zoom, source.Height() * zoom);
    out.Blt(out.SurfaceRect(), source, source.SurfaceRect());
}

} // namespace

bool Pictures::Load(const std::string& dataPath, std::vector<std::string>& missing)
{
    bool any = false;
    // The same budget as the game's: a folder of many huge pictures stops early.
    MediaBudget budget;
    auto read = [&](const std::string& name, Surface& out) {
        std::string error;
        if (DecodeBitmap(dataPath + name, out, error, &budget)) {
            any = true;
            return;
        }
        out = Surface{};
        missing.push_back(name + ": " + error);
    };
    for (size_t code = 0; code < zoomed_[0].tiles.size(); ++code) {
        char name[32]; // room for any size_t, though codes stop at 95
        std::snprintf(name, sizeof name, "m%03zu.bmp", code);
        Surface bitmap;
        read(name, bitmap);
        // Tiles are shown at 16 x 16 whatever size their file has, as the game loads them.
        Surface tile;
        if (bitmap.valid()) {
            tile.Create(Cell, Cell);
            tile.Blt(tile.SurfaceRect(), bitmap, bitmap.SurfaceRect());
        }
        for (int32_t z = MinZoom; z <= MaxZoom; ++z)
            ScaleInto(zoomed_[static_cast<size_t>(z - 1)].tiles[code], tile, z);
    }
    for (size_t s = 0; s < kStrips.size(); ++s) {
        Surface bitmap;
        read(kStrips[s].file, bitmap);
        for (int32_t z = MinZoom; z <= MaxZoom; ++z)
            ScaleInto(zoomed_[static_cast<size_t>(z - 1)].strips[s], bitmap, z);
    }
    font_ = Font("DejaVu Sans", 7, true, false, false);
    return any;
}

const Surface& Pictures::Tile(int32_t code, int32_t zoom) const
{
    if (!IsCode(code) || zoom < MinZoom || zoom > MaxZoom)
        return empty_;
    return zoomed_[static_cast<size_t>(zoom - 1)].tiles[static_cast<size_t>(code)];
}

const Surface& Pictures::StripPicture(StripId strip, int32_t zoom) const
{
    if (zoom < MinZoom || zoom > MaxZoom)
        return empty_;
    return zoomed_[static_cast<size_t>(zoom - 1)].strips[static_cast<size_t>(strip)];
}

Rect Pictures::Frame(StripId strip, int32_t frame, int32_t zoom) const
{
    // The same layout as Sprite::FrameRect, at the zoom.
    const StripLayout& l = StripOf(strip);
    const int32_t col = frame % l.columns, row = frame / l.columns;
    const int32_t w = l.width * zoom, h = l.height * zoom;
    return Rect{col * w, row * h, col * w + w, row * h + h};
}

} // namespace zorbo::editor
