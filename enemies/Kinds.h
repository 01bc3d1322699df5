#pragma once
// The enemy kinds and the map codes that start them: one row per kind, one row per code.
// The game's activation, its catalogue and the level editor all read these rows.
#include "game/Strips.h"
#include "world/Objects.h"

#include <cstdint>

namespace zorbo {

enum class EnemyKind : uint8_t { Turtles, FTurtles, PTurtles, Wumpels, Browns, Greenies, Blacks, Birds };

struct KindRow {
    EnemyKind kind;
    const StripLayout* strip;
};

inline constexpr KindRow kKinds[] = {
    {EnemyKind::Turtles, &Strips::Turtle},   {EnemyKind::FTurtles, &Strips::FTurtle},
    {EnemyKind::PTurtles, &Strips::PTurtle}, {EnemyKind::Wumpels, &Strips::Wumpel},
    {EnemyKind::Browns, &Strips::Brown},     {EnemyKind::Greenies, &Strips::Greenie},
    {EnemyKind::Blacks, &Strips::Black},     {EnemyKind::Birds, &Strips::Bird},
};

constexpr const KindRow& KindOf(EnemyKind kind) { return kKinds[static_cast<size_t>(kind)]; }

// One row per plain enemy code: which kind it starts and how.
struct SpawnRow {
    int32_t code;
    EnemyKind kind;
    int32_t state;
    int32_t frame;
    int32_t dy;       // Y offset from the cell's top
    int32_t animRate; // -1: the Browns' rate, chosen by the difficulty
    bool alternate;   // drawn in the alternate look (kinds that have one)
};

inline constexpr SpawnRow kSpawns[] = {
    {46, EnemyKind::Turtles, Enemy::Left, 0, -8, 3, false},
    {47, EnemyKind::Turtles, Enemy::Right, 2, -8, 3, false},
    {48, EnemyKind::FTurtles, Enemy::Left, 0, -8, 3, false},
    {49, EnemyKind::FTurtles, Enemy::Right, 2, -8, 3, false},
    {87, EnemyKind::FTurtles, Enemy::Left, 0, -8, 3, true},
    {59, EnemyKind::PTurtles, Enemy::Left, 0, -8, 3, false},
    {86, EnemyKind::PTurtles, Enemy::Left, 0, -8, 3, true},
    {50, EnemyKind::Wumpels, Enemy::Left, 0, 0, 3, false},
    {51, EnemyKind::Wumpels, Enemy::Right, 2, 0, 3, false},
    {85, EnemyKind::Wumpels, Enemy::Left, 0, 0, 3, true},
    {68, EnemyKind::Browns, 0, 0, 0, -1, false},
    {60, EnemyKind::Greenies, Enemy::Left, 6, 0, 2, false},
    {61, EnemyKind::Greenies, Enemy::Right, 0, 0, 2, false},
    {63, EnemyKind::Blacks, 0, 0, 0, 2, false},
    {64, EnemyKind::Blacks, 1, 3, 0, 2, false},
    {65, EnemyKind::Birds, 0, 0, 0, 2, false},
    {66, EnemyKind::Birds, 1, 5, 0, 2, false},
};

constexpr const SpawnRow* FindSpawn(int32_t code)
{
    for (const SpawnRow& row : kSpawns)
        if (row.code == code)
            return &row;
    return nullptr;
}

} // namespace zorbo
