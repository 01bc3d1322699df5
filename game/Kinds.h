#pragma once
// The enemy kinds and the map codes that start them: one row per kind, one row per code.
// Activation, the catalogue, the knock-outs, the level reset, the winning parade, the enemy
// benchmark and the level editor all read these rows; how a kind moves is its update routine.
#include "game/GameState.h"
#include "game/Sounds.h"
#include "game/States.h"
#include "game/Strips.h"

#include <cstdint>
#include <span>

namespace zorbo {

// In the order a knock-out tests the kinds: recordings observe it (the order of the sounds,
// and which PTurtle slot a winged turtle's knock-out takes).
enum class EnemyKind : uint8_t { Turtles, FTurtles, PTurtles, Wumpels, Greenies, Birds, Blacks, Browns, Plants };

// What knocks enemies out from the side: a hero fireball or a sliding shell.
enum class KnockCause : uint8_t { Fireball, Shell };

// Which slots a knock-out hits.
enum class Hits : uint8_t {
    Nothing,       // the kind is never knocked out
    Unsquashed,    // any in play but a squashed one
    NotKnockedOut, // any in play but one already knocked out (a shell is hit too)
    OnlyOut,       // a plant only while it is out of its pipe
};

// What a knock-out makes of an enemy.
enum class KnockedTo : uint8_t {
    Squashed,   // lies squashed where it is (a turtle: an inert shell), SpeedX 0
    KnockedOut, // falls off the screen upside down
    PTurtle,    // loses its wings: GameWindow::KnockOutFTurtle
    Freed,      // gone at once
};

// The picture a knock-out leaves.
enum class FrameRule : uint8_t {
    Keep,      // unchanged
    Fixed,     // the rule's frame
    ByHeading, // the kind's squashed picture for the way it moved (SpeedX > 0: right)
    ByFacing,  // the kind's squashed picture for the way it faced (Left, Right; else unchanged)
};

// One cause's knock-out of one kind: the striker's y must lie within Y + top .. Y + bottom
// of the enemy (the sideways reach is the cause's, the same for every kind).
struct KnockOutRule {
    int32_t top = 0, bottom = 0;
    FrameRule frameRule = FrameRule::Keep;
    int32_t frame = 0;      // for FrameRule::Fixed
    bool plainLook = false; // the slot's alternate-look flag is cleared
};

struct LeftRight {
    int32_t left = -1, right = -1;
};

// The slots of a kind in the game state, and their per-slot alternate-look flags.
template <auto Member>
std::span<Sprite> SlotsOf(GameState& g)
{
    return g.*Member;
}
template <auto Member>
std::span<bool> LooksOf(GameState& g)
{
    return g.*Member;
}

struct KindRow {
    EnemyKind kind;
    const StripLayout* strip;
    std::span<Sprite> (*slots)(GameState&);
    std::span<bool> (*looks)(GameState&) = nullptr; // kinds drawn in two looks
    int32_t lookOffset = 0;  // the alternate look is the same strip this many pictures on
    int32_t animRate = 0;    // given at start-up
    int32_t animDir = 0;
    LeftRight squashed;      // a squashed one's picture, by the way it headed (-1: none)
    Hits hits = Hits::Nothing;
    KnockedTo becomes = KnockedTo::Squashed;
    int32_t sound = 0;       // played for each one knocked out
    KnockOutRule byFireball; // the hero fireball's box is X - 7 < x < X + 13
    KnockOutRule byShell;    // the sliding shell's, X - 13 < x < X + 13 (its 16 pixels above Y)
};

inline constexpr KindRow kKinds[] = {
    {.kind = EnemyKind::Turtles, .strip = &Strips::Turtle, .slots = SlotsOf<&GameState::sprTurtles>,
     .squashed = {4, 5}, .hits = Hits::Unsquashed, .becomes = KnockedTo::Squashed, .sound = Sound::Stomp,
     .byFireball = {0, 23, FrameRule::ByHeading}, .byShell = {-16, 16, FrameRule::ByHeading}},
    // Kept on purpose: only a shell clears the look flag of the slot it frees (the state
    // hash sees the flag a fireball leaves).
    {.kind = EnemyKind::FTurtles, .strip = &Strips::FTurtle, .slots = SlotsOf<&GameState::sprFTurtles>,
     .looks = LooksOf<&GameState::FTurtleAlt>, .lookOffset = 4, .squashed = {}, .hits = Hits::Unsquashed,
     .becomes = KnockedTo::PTurtle, .sound = Sound::Kick, .byFireball = {0, 20},
     .byShell = {-16, 16, FrameRule::Keep, 0, true}},
    {.kind = EnemyKind::PTurtles, .strip = &Strips::PTurtle, .slots = SlotsOf<&GameState::sprPTurtles>,
     .looks = LooksOf<&GameState::PTurtleAlt>, .lookOffset = 6, .squashed = {4, 4}, .hits = Hits::NotKnockedOut,
     .becomes = KnockedTo::KnockedOut, .sound = Sound::Kick, .byFireball = {0, 20}, .byShell = {-16, 16}},
    // Kept on purpose: a fireball leaves a Wumpel frame 2 for the rest of the update, a shell
    // its walking picture; its squashed step shows 4 from the next update either way.
    {.kind = EnemyKind::Wumpels, .strip = &Strips::Wumpel, .slots = SlotsOf<&GameState::sprWumpels>,
     .looks = LooksOf<&GameState::WumpelAlt>, .lookOffset = 6, .squashed = {4, 4}, .hits = Hits::Unsquashed,
     .becomes = KnockedTo::Squashed, .sound = Sound::Stomp, .byFireball = {-7, 12, FrameRule::Fixed, 2},
     .byShell = {-16, 16}},
    {.kind = EnemyKind::Greenies, .strip = &Strips::Greenie, .slots = SlotsOf<&GameState::sprGreenies>,
     .animRate = 2, .squashed = {5, 5}, .hits = Hits::Unsquashed, .becomes = KnockedTo::Squashed,
     .sound = Sound::Stomp, .byFireball = {-7, 12, FrameRule::Fixed, 5}, .byShell = {-16, 16, FrameRule::Fixed, 5}},
    {.kind = EnemyKind::Birds, .strip = &Strips::Bird, .slots = SlotsOf<&GameState::sprBirds>, .squashed = {},
     .byFireball = {}, .byShell = {}},
    // Kept on purpose: a knocked-out Black gets frame 5 of its five-frame strip (see
    // docs/behaviour.md); its squashed step shows 4 from the next update.
    {.kind = EnemyKind::Blacks, .strip = &Strips::Black, .slots = SlotsOf<&GameState::sprBlacks>,
     .squashed = {4, 4}, .hits = Hits::Unsquashed, .becomes = KnockedTo::Squashed, .sound = Sound::Stomp,
     .byFireball = {-7, 12, FrameRule::Fixed, 5}, .byShell = {-16, 16, FrameRule::Fixed, 5}},
    // Kept on purpose: a Brown's AnimDir is given at start-up only, not again when its slot
    // is used again (recordings rely on its throws).
    {.kind = EnemyKind::Browns, .strip = &Strips::Brown, .slots = SlotsOf<&GameState::sprBrowns>, .animRate = 3,
     .animDir = 1, .squashed = {5, 11}, .hits = Hits::Unsquashed, .becomes = KnockedTo::Squashed,
     .sound = Sound::Stomp, .byFireball = {-7, 12, FrameRule::ByFacing}, .byShell = {-16, 16, FrameRule::ByFacing}},
    {.kind = EnemyKind::Plants, .strip = &Strips::Plant, .slots = SlotsOf<&GameState::sprPPlants>, .animRate = 2,
     .squashed = {}, .hits = Hits::OnlyOut, .becomes = KnockedTo::Freed, .sound = Sound::Stomp,
     .byFireball = {0, 16, FrameRule::Fixed, 0}, .byShell = {-16, 8, FrameRule::Fixed, 0}},
};

constexpr const KindRow& KindOf(EnemyKind kind) { return kKinds[static_cast<size_t>(kind)]; }

constexpr bool RowsInKindOrder()
{
    for (size_t i = 0; i < std::size(kKinds); ++i)
        if (static_cast<size_t>(kKinds[i].kind) != i)
            return false;
    return true;
}
static_assert(RowsInKindOrder() && std::size(kKinds) == static_cast<size_t>(EnemyKind::Plants) + 1,
              "kKinds has one row per EnemyKind, in its order");

// Whether a knock-out of this kind hits a slot in `state`.
constexpr bool Hittable(Hits hits, int32_t state)
{
    switch (hits) {
    case Hits::Nothing: return false;
    case Hits::Unsquashed: return state != Enemy::Free && state != Enemy::Squashed;
    case Hits::NotKnockedOut: return state != Enemy::Free && state != Enemy::KnockedOut;
    case Hits::OnlyOut: return state == Plant::Out;
    }
    return false;
}

// One row per plain enemy code: which kind it starts and how.
struct SpawnRow {
    int32_t code;
    EnemyKind kind;
    int32_t state;
    int32_t frame;
    int32_t dy;       // Y offset from the cell's top
    int32_t animRate; // RateByDifficulty: the Browns' rate, chosen by the difficulty
    bool alternate;   // drawn in the alternate look (kinds that have one)
};

inline constexpr int32_t RateByDifficulty = -1;

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
    {68, EnemyKind::Browns, Enemy::Left, 0, 0, RateByDifficulty, false},
    {60, EnemyKind::Greenies, Enemy::Left, 6, 0, 2, false},
    {61, EnemyKind::Greenies, Enemy::Right, 0, 0, 2, false},
    {63, EnemyKind::Blacks, Enemy::Left, 0, 0, 2, false},
    {64, EnemyKind::Blacks, Enemy::Right, 3, 0, 2, false},
    {65, EnemyKind::Birds, Bird::PerchedLeft, 0, 0, 2, false},
    {66, EnemyKind::Birds, Bird::PerchedRight, 5, 0, 2, false},
};

constexpr const SpawnRow* FindSpawn(int32_t code)
{
    for (const SpawnRow& row : kSpawns)
        if (row.code == code)
            return &row;
    return nullptr;
}

} // namespace zorbo
