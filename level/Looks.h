#pragma once
// How a level looks, read from its tiles: a night sky over cave ground is a cave, over
// castle stone a castle; by day, a level walked on clouds and ice is a cloud causeway, one
// with water under much of its length a lagoon, and any other open sky. The game plays the
// music of a level's look.
#include "level/TileMap.h"

#include <cstdint>
#include <string_view>

namespace zorbo {

enum class Look : uint8_t { OpenSky, Cave, Castle, Lagoon, CloudCauseway };
inline constexpr int LookCount = static_cast<int>(Look::CloudCauseway) + 1;

// A level is a lagoon when water lies under at least this share of its columns.
inline constexpr int LagoonWaterShareInverse = 6;

Look LevelLook(const TileMap& map, int32_t level);
std::string_view LookName(Look look);

} // namespace zorbo
