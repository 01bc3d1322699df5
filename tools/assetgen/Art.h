// Pixel art from text: a shared palette, sprite strips drawn as character grids, named
// tile grids and the tile catalogue that gives every map code its picture and role.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Image.h"

namespace zorbo::assets {

// The strip layouts the game loads: file, frame size, frames per row, frame count.
struct SheetLayout {
    const char* file;
    int frame_w;
    int frame_h;
    int columns;
    int frames;
    int width() const { return columns * frame_w; }
    int height() const { return (frames + columns - 1) / columns * frame_h; }
};
const std::vector<SheetLayout>& sheet_layouts();

struct Palette {
    std::map<char, Rgb> colours;
    Rgb lookup(char c, const std::string& where) const;
};
Palette parse_palette(const std::string& text, const std::string& name);

struct Sheet {
    SheetLayout layout{};
    std::vector<Image> frames;
    Image strip() const;
};
// Header line "sheet FILE W H COLUMNS FRAMES", then "frame N" blocks (see assets/README.md).
Sheet parse_sheet(const std::string& text, const std::string& name, const Palette& pal);

// The palette letter of the rim light laid round every sprite.
inline constexpr char kRimLetter = 'P';
// Lays a one-pixel rim of the given colour on the see-through pixels beside each frame's
// figure (edge neighbours only, so corners stay round). With the dark outline inside it the
// figure gets a two-tone ring: the dark line reads on the sky, the rim on night and stone.
void add_rim(Sheet& sheet, Rgb rim);

using Grids = std::map<std::string, Image>;
// "tile NAME" followed by rows of characters; any size (tiles are 16 x 16, badges smaller).
void parse_grids(const std::string& text, const std::string& name, const Palette& pal, Grids& into);

enum class TileClass { Background, Scenery, Solid, Brick, BoxBase, Goal, Object, WarpEnd };
const char* to_string(TileClass c);

struct TileEntry {
    int code = -1;
    TileClass cls = TileClass::Solid;
    std::string theme;
    std::string description;
    Image picture;
};
// One line per code: "CODE CLASS THEME RECIPE... | description".
std::vector<TileEntry> parse_catalogue(const std::string& text, const std::string& name, const Palette& pal,
                                       const Grids& grids, const std::map<std::string, Sheet>& sheets);

}  // namespace zorbo::assets
