#include "level/Codes.h"

namespace zorbo {

namespace {

constexpr std::array<std::string_view, static_cast<size_t>(TileClass::Warp) + 1> kClassNames = {
    "background", "scenery", "solid", "brick", "boxbase", "goal", "object", "warp",
};

constexpr std::array<std::string_view, PaletteGroupCount> kGroupNames = {
    "Scenery", "Solid", "Boxes and bricks", "Items", "Enemies", "Moving platforms", "Pipes and warps", "Hazards", "Markers",
};

} // namespace

std::string_view ClassName(TileClass cls)
{
    return kClassNames[static_cast<size_t>(cls)];
}

std::string_view GroupName(PaletteGroup group)
{
    return kGroupNames[static_cast<size_t>(group)];
}

} // namespace zorbo
