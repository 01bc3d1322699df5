#pragma once
// The lives-and-coins text the game writes over the top map row, and the rule that keeps it
// readable wherever the view is: every top-row cell sets it off by at least 4.5 : 1 (contrast
// of relative luminance), judged over the tile rows the text covers. The Standard set's test
// and the editor's check list both judge a level by it.
#include "level/Codes.h"
#include "level/Rules.h"
#include "media/Rect.h"
#include "media/Surface.h"

#include <array>
#include <cstdint>
#include <functional>

namespace zorbo {

constexpr int32_t HudTextColor = RGB(200, 200, 200);
// The rows of a 16-pixel tile that the text's letters cover.
constexpr int32_t HudBandFirstRow = 2;
constexpr int32_t HudBandLastRow = 13;
constexpr double HudMinContrast = 4.5;

// Relative luminance of a colour, 0 (black) to 1 (white).
double Luminance(int r, int g, int b);
// How well a tile of this band luminance sets the text off (1 : 1 up to 21 : 1).
double HudContrast(double bandLuminance);

// A tile picture's mean luminance over the band; 1 (the lightest) for a missing picture, so
// that it is never taken for a dark one.
double BandLuminance(const Surface& tile);
using BandTable = std::array<double, Tile::Count>;
BandTable BandLuminances(const std::function<const Surface&(int32_t code)>& tileOf);

// The top-row cells of columns 1..lastCol that leave the text too faint, each judged by the
// code it shows once its object is live (an object leaves background behind).
struct ColumnRun {
    int32_t first = 0; // the first such column; 0 when there is none
    int32_t count = 0;
};
ColumnRun FaintHudColumns(const CodeAt& codeAt, int32_t lastCol, const BandTable& bands);

} // namespace zorbo
