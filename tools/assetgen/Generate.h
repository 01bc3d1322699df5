// Turns the text sources under assets/ into every data file the game reads.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "Art.h"
#include "Image.h"
#include "Synth.h"

namespace zorbo::assets {

struct OutputFile {
    std::string name;
    Bytes data;
};

struct Generated {
    Palette palette;
    std::map<std::string, Sheet> sheets;  // keyed "game_1" ... "game_19"
    std::vector<TileEntry> tiles;         // index = tile code
    std::map<int, Recipe> sounds;         // 1 .. 15
    std::vector<OutputFile> files;        // in a fixed order
};

Generated generate(const std::string& assets_dir);
void write_outputs(const Generated& g, const std::string& out_dir);

// Large regular pictures made by drawing code rather than grids.
Image draw_border_strip();
Image draw_title(const Generated& g);
Image draw_icon(const Generated& g);
// The icon in the desktop's icon-theme sizes, as "SIZExSIZE/zorbo.png" files: whole
// multiples and fractions of the drawn icon, so that every pixel stays crisp.
std::vector<OutputFile> desktop_icons(const Generated& g);

// A tiny 3 x 5 digit and letter font for labels on review sheets.
void draw_label(Image& img, int x, int y, const std::string& text, Rgb colour);

}  // namespace zorbo::assets
