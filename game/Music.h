#pragma once
// The game's tunes by number, as the platform plays them (Platform::PlayMusic): one for each
// look of level (level/Looks.h) and one for the winning parade. Each is a looping Ogg Vorbis
// file of the data folder, rendered from assets/music/NAME.txt.
#include "level/Looks.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace zorbo {

namespace Tune {
constexpr int32_t OpenSky = 1;
constexpr int32_t Cave = 2;
constexpr int32_t Castle = 3;
constexpr int32_t Lagoon = 4;
constexpr int32_t CloudCauseway = 5;
constexpr int32_t Parade = 6;
constexpr int32_t Count = 6;
} // namespace Tune

// The data folder's file of each tune, by number (index 0 unused).
inline constexpr std::array<std::string_view, Tune::Count + 1> kTuneFiles = {
    "", "tune-sky.ogg", "tune-cave.ogg", "tune-castle.ogg", "tune-lagoon.ogg", "tune-clouds.ogg", "tune-parade.ogg",
};

constexpr int32_t TuneOfLook(Look look)
{
    switch (look) {
    case Look::OpenSky:
        return Tune::OpenSky;
    case Look::Cave:
        return Tune::Cave;
    case Look::Castle:
        return Tune::Castle;
    case Look::Lagoon:
        return Tune::Lagoon;
    case Look::CloudCauseway:
        return Tune::CloudCauseway;
    }
    return Tune::OpenSky;
}

} // namespace zorbo
