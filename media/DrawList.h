#pragma once
// The draws of one game frame, kept as commands in the order the game made them, so that
// a picture is painted only when someone looks at it, and so that a picture between two
// frames can be painted from the same draws with things moved part of the way.
#include "media/Font.h"
#include "media/Rect.h"

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace zorbo {

class Surface;

// The tile map as one frame drew it: the codes of the map cells in view, row by row, from
// the view's first column (drawn off-screen, left of the picture) on.
struct TileView {
    static constexpr int Rows = 15;
    static constexpr int Columns = 21;
    static constexpr int Size = 16; // a tile's side in pixels
    int32_t first = 0;              // the map column at index 0
    int32_t shift = 0;              // pixels the view is scrolled past that column, 0..15
    std::array<std::array<int16_t, Columns>, Rows> codes{};

    // The scroll position in pixels this view was drawn at.
    int32_t View() const { return first * Size + shift; }
};

namespace Draw {
// The whole picture in one colour.
struct Fill {
    uint32_t pixel = 0;
};
// A picture copied into a rectangle (scaled when the sizes differ), black kept or skipped.
struct Blit {
    const Surface* source = nullptr;
    Rect dst;
    Rect src;
    bool keyed = false;
};
// One sprite's frame, black skipped. `owner` names the sprite (its array and slot), so that
// a sprite can be followed from one frame to the next.
struct Sprite {
    const void* owner = nullptr;
    const Surface* image = nullptr;
    Rect src;
    int32_t x = 0;
    int32_t y = 0;
};
struct Text {
    int32_t x = 0;
    int32_t y = 0;
    uint32_t pixel = 0;
    Font font;
    std::string text;
};
// The tile map: DrawList::tileViews[view], with one picture per code from `pictures`.
struct Tiles {
    size_t view = 0;
    const Surface* pictures = nullptr;
    int32_t count = 0;
};
// The frame draws over the last picture instead of drawing a new one (the dying hero's
// trail, the prompts and the winning sequence).
struct KeepPicture {};
} // namespace Draw

using DrawCommand = std::variant<Draw::Fill, Draw::Blit, Draw::Sprite, Draw::Text, Draw::Tiles, Draw::KeepPicture>;

// What a window in smooth motion shows over a frame's pictures: never painted into the
// composed picture, so the game's pictures (and a screenshot) stay exactly what it drew.
struct Overlay {
    // A map cell shown with another picture, where the frame's tile map puts that cell.
    struct Cell {
        int32_t col = 0; // map column
        int32_t row = 0;
        const Surface* picture = nullptr;
        Rect src;
    };
    std::vector<Cell> cells;
    // The level card's text (empty: none) and how strongly it shows, 0..255 (it fades out).
    std::string card;
    uint8_t cardOpacity = 0;

    bool empty() const { return cells.empty() && (card.empty() || cardOpacity == 0); }
    bool operator==(const Overlay&) const = default;
};

struct DrawList {
    std::vector<DrawCommand> commands;
    std::vector<TileView> tileViews;
    uint32_t number = 0;   // the frame's number, counted from 1 at the first frame shown
    uint32_t periodMs = 0; // time from one frame to the next, 0 when not known
    Overlay overlay;

    void Clear()
    {
        commands.clear();
        tileViews.clear();
        overlay = Overlay{};
    }
};

// The command that drew the frame's first tile map (its index), or -1 when it drew none.
inline int FirstTiles(const DrawList& f)
{
    for (size_t i = 0; i < f.commands.size(); ++i)
        if (const auto* t = std::get_if<Draw::Tiles>(&f.commands[i]); t != nullptr && t->view < f.tileViews.size())
            return static_cast<int>(i);
    return -1;
}

} // namespace zorbo
