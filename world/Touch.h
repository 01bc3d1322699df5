#pragma once
#include "media/Sprite.h"

namespace zorbo {

// Whether the hero overlaps a 16 x 16 item (a coin, the power-up, the one-up): the full
// height, but 2 pixels narrower on each side.
inline bool Touches(const Sprite& hero, const Sprite& item)
{
    return hero.Y < item.Y + 16 && item.Y < hero.Y + 16 && item.X < hero.X + 14 && hero.X < item.X + 14;
}

} // namespace zorbo
