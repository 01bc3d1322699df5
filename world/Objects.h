#pragma once
// The rules every level object shares: keeping up with the scroll, its map cell, taking a
// free slot, the corner rule, and an enemy's stomp and touch boxes against the hero.
#include "game/States.h"
#include "media/Sprite.h"

#include <cstdint>
#include <span>

namespace zorbo {

// Brings a level object's screen x up to date with the view (its GlobalX is the ViewX at
// which X was last valid), without moving it in the world.
inline void ScrollStep(Sprite& s, int32_t viewX)
{
    s.X = s.X + (s.GlobalX - viewX);
    s.GlobalX = viewX;
}

// The scroll step plus the object's own SpeedX.
inline void MoveStep(Sprite& s, int32_t viewX)
{
    s.X = s.X + (s.GlobalX - viewX) + s.SpeedX;
    s.GlobalX = viewX;
}

// The map column under a sprite's left edge (columns count from 1).
inline int32_t CellColumn(const Sprite& s, int32_t viewX) { return (s.X + viewX) / 16 + 1; }

// The lowest slot whose State is `freeState`, or -1.
inline int32_t FreeSlot(std::span<const Sprite> slots, int32_t freeState)
{
    for (size_t i = 0; i < slots.size(); ++i)
        if (slots[i].State == freeState)
            return static_cast<int32_t>(i);
    return -1;
}

inline void SetStates(std::span<Sprite> slots, int32_t state)
{
    for (Sprite& s : slots)
        s.State = state;
}

// The corner rule: an object that meets a solid cell only at its corner is stopped by the
// cell's side when their centres lie at least as far apart across (`across`, horizontal)
// as along (`along`, vertical); otherwise it meets the cell's top or bottom. `lean` moves
// the decision toward the top or bottom by that many pixels.
constexpr bool CornerMeetsSide(int32_t across, int32_t along, int32_t lean = 0) { return across >= along + lean; }

// A walker caught on the corner of the cell below its leading column lands when its centre
// (cx, cy) is nearer the cell's top than its side; tx, ty is the centre of that cell.
constexpr bool LandsOnCorner(int32_t cx, int32_t cy, int32_t tx, int32_t ty, bool headingRight)
{
    return !CornerMeetsSide(headingRight ? tx - cx : cx - tx, ty - cy);
}

// The hero against an enemy whose contact box starts at (wx, wy): a stomp comes from above
// (a rising hero must be 4 pixels higher still); a touch is any overlap of the 15-pixel boxes.
inline bool Stomps(const Sprite& hero, int32_t wx, int32_t wy)
{
    const bool above = hero.SpeedY >= 0 ? hero.Y < wy : hero.Y + 4 < wy;
    return hero.X < wx + 13 && hero.X + 13 > wx && hero.Y + 16 > wy && above;
}

inline bool TouchesEnemy(const Sprite& hero, int32_t wx, int32_t wy)
{
    return hero.X < wx + 15 && hero.X + 15 > wx && hero.Y + 15 > wy && hero.Y < wy + 15;
}

// After a stomp a falling hero bounces back with half his speed (a standing one does not
// bounce); a rising one rises half as fast again.
inline void BounceHero(Sprite& hero)
{
    if (hero.SpeedY >= 0)
        hero.SpeedY = -(hero.SpeedY / 2);
    else
        hero.SpeedY = hero.SpeedY + hero.SpeedY / 2;
}

} // namespace zorbo
