#include "level/Looks.h"

#include "level/Codes.h"

namespace zorbo {

namespace {

constexpr int32_t HighSky = 13;
constexpr int32_t WaterSurface = 15;
constexpr int32_t DeepWater = 16;
constexpr int32_t CaveGroundTop = 36;
constexpr int32_t CaveGroundFill = 38;
constexpr int32_t SolidCloud = 94;
constexpr int32_t IceBlock = 95;

// The level's last column with anything in it: the empty columns after it are no sky.
int32_t LevelWidth(const TileMap& map, int32_t level)
{
    for (int32_t col = TileMap::Columns - 1; col >= 1; --col)
        for (int32_t row = 0; row < TileMap::Rows; ++row)
            if (map.At(level, row, col) != Tile::Background)
                return col;
    return 0;
}

} // namespace

Look LevelLook(const TileMap& map, int32_t level)
{
    int night = 0, day = 0, caveGround = 0, castle = 0, clouds = 0, otherSolid = 0, waterColumns = 0;
    const int32_t width = LevelWidth(map, level);
    for (int32_t col = 1; col <= width; ++col) {
        bool water = false;
        for (int32_t row = 0; row < TileMap::Rows; ++row) {
            const int32_t code = map.At(level, row, col);
            if (code == Tile::Background2)
                ++night;
            else if (code == Tile::Background || code == HighSky)
                ++day;
            else if (code == CaveGroundTop || code == CaveGroundFill)
                ++caveGround;
            else if (code == Tile::CastleStone || code == Tile::CastleFloor)
                ++castle;
            else if (code == SolidCloud || code == IceBlock)
                ++clouds;
            else if (code == WaterSurface || code == DeepWater)
                water = true;
            // The rest of the solid ground: what a cloud causeway is mostly not made of.
            if (IsCode(code) && kCodes[static_cast<size_t>(code)].cls == TileClass::Solid && code != SolidCloud &&
                code != IceBlock)
                ++otherSolid;
        }
        waterColumns += water ? 1 : 0;
    }
    if (night > day)
        return castle > caveGround ? Look::Castle : Look::Cave;
    if (clouds > otherSolid)
        return Look::CloudCauseway;
    if (width > 0 && waterColumns * LagoonWaterShareInverse >= width)
        return Look::Lagoon;
    return Look::OpenSky;
}

std::string_view LookName(Look look)
{
    switch (look) {
    case Look::OpenSky:
        return "open sky";
    case Look::Cave:
        return "cave";
    case Look::Castle:
        return "castle";
    case Look::Lagoon:
        return "lagoon";
    case Look::CloudCauseway:
        return "cloud causeway";
    }
    return "open sky";
}

} // namespace zorbo
