#include "game/Hud.h"

#include <algorithm>
#include <cmath>

namespace zorbo {

double Luminance(int r, int g, int b)
{
    auto channel = [](int v) {
        const double c = v / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b);
}

double HudContrast(double bandLuminance)
{
    const double text = Luminance(HudTextColor & 0xFF, (HudTextColor >> 8) & 0xFF, (HudTextColor >> 16) & 0xFF);
    const double light = std::max(text, bandLuminance), dark = std::min(text, bandLuminance);
    return (light + 0.05) / (dark + 0.05);
}

double BandLuminance(const Surface& tile)
{
    double sum = 0;
    int n = 0;
    for (int32_t y = HudBandFirstRow; y <= HudBandLastRow && y < tile.Height(); ++y)
        for (int32_t x = 0; x < tile.Width(); ++x, ++n) {
            const uint32_t p = tile.pixels()[static_cast<size_t>(y) * static_cast<size_t>(tile.Width()) + x];
            sum += Luminance(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                             static_cast<int>(p & 0xFF));
        }
    return n > 0 ? sum / n : 1.0;
}

BandTable BandLuminances(const std::function<const Surface&(int32_t code)>& tileOf)
{
    BandTable bands{};
    for (int32_t code = 0; code < Tile::Count; ++code)
        bands[static_cast<size_t>(code)] = BandLuminance(tileOf(code));
    return bands;
}

ColumnRun FaintHudColumns(const CodeAt& codeAt, int32_t lastCol, const BandTable& bands)
{
    ColumnRun run;
    for (int32_t col = 1; col <= lastCol; ++col) {
        int32_t code = codeAt(0, col);
        if (GoesLive(code))
            code = BecomesCode(code, codeAt, 0, col);
        if (!IsCode(code) || HudContrast(bands[static_cast<size_t>(code)]) < HudMinContrast) {
            if (run.count++ == 0)
                run.first = col;
        }
    }
    return run;
}

} // namespace zorbo
