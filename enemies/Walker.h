#pragma once
// The walking machine that Wumpels, turtles, PTurtles and Greenies share: walk, turn at
// walls, fall 6 pixels per update, land (the corner rule deciding at a cell's corner),
// leave play off the left of the screen or out of the bottom of the level. Each kind is
// one row of differences.
#include "game/Kinds.h"

#include <cstdint>

namespace zorbo {

enum class WalkerLook { Wumpel, Turtle, Greenie };

struct WalkerKind {
    EnemyKind enemy;     // its row in kKinds
    int32_t speed;       // SpeedX set at the start of every walking or falling update
    int32_t rightFrame;  // the frame after turning to head right
    int32_t leftFrame;   // ... to head left
    int32_t rowShift;    // map row = (Y + rowShift) \ 16 + rowAdd
    int32_t rowAdd;
    int32_t landOffset;  // a landing sets Y := row * 16 + landOffset
    int32_t centreY;     // the corner rule's centre is Y + centreY
    int32_t lastRow;     // below this row the enemy has fallen out of the level
    bool ledgeTurn;      // turns at the end of a floor instead of walking off it
    bool bothTilesRight; // heading right, falls only when both cells below are open
    WalkerLook look;     // how the walking pictures step
    int32_t squashedFrame; // shown every update while squashed; -1 keeps the stomp's frame
    int32_t contactTop;  // the hero's boxes start this far below Y

    int32_t Row(int32_t y) const { return (y + rowShift) / 16 + rowAdd; }
};

constexpr WalkerKind WumpelKind{EnemyKind::Wumpels, 2, 3, 1, 0, 0, 0, 8, 12, false, false, WalkerLook::Wumpel,
                                KindOf(EnemyKind::Wumpels).squashed.left, 0};
constexpr WalkerKind GreenieKind{EnemyKind::Greenies, 4, 0, 6, 0, 0, 0, 8, 13, false, false, WalkerLook::Greenie,
                                 KindOf(EnemyKind::Greenies).squashed.left, 0};
// Turtles are 24 pixels tall: an 8-pixel head over the 16-pixel body whose row counts. A
// turtle's shell keeps the picture of its stomp; a PTurtle's shell has its own step.
constexpr WalkerKind TurtleKind{EnemyKind::Turtles, 2, 3, 1, 0, 1, -8, 12, 13, true, true, WalkerLook::Turtle, -1, 8};
constexpr WalkerKind PTurtleKind{EnemyKind::PTurtles, 2, 3, 1, 8, 0, -8, 12, 13, false, true, WalkerLook::Wumpel, -1, 8};

} // namespace zorbo
