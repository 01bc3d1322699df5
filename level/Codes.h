#pragma once
// Every map code 0..95 in one table: what it is, where the editor's palette lists it and
// under which name, what its cell becomes once its object is live, and the fragments of a
// brick. The game, the level check, the editor and the asset catalogue test read these rows.
#include <array>
#include <cstdint>
#include <string_view>

namespace zorbo {

// Tile codes the world gives a meaning to.
namespace Tile {
constexpr int32_t Background = 0;
constexpr int32_t CloudLeft = 1;
constexpr int32_t CloudMiddle = 2;
constexpr int32_t CloudRight = 3;
constexpr int32_t BushLeft = 4;
constexpr int32_t BushMiddle = 5;
constexpr int32_t BushRight = 6;
constexpr int32_t HillLeft = 7;
constexpr int32_t HillTop = 8;
constexpr int32_t Background2 = 9;
constexpr int32_t HillRight = 10;
constexpr int32_t HillInside = 11;
constexpr int32_t CheckpointFlagNight = 18;
constexpr int32_t CheckpointFlag = 23;
constexpr int32_t LastScenery = 25;   // the scenery block: every code after it up to 95 is solid
constexpr int32_t GroundTop = 26;
constexpr int32_t GroundFill = 27;
constexpr int32_t PipeMouthLeft = 30;
constexpr int32_t PipeMouthRight = 31;
constexpr int32_t PipeBodyLeft = 32;
constexpr int32_t BoxBase = 33;
constexpr int32_t PipeBodyRight = 34;
constexpr int32_t CastleStone = 40;
constexpr int32_t Battlement = 41;
constexpr int32_t HeroStart = 44;
constexpr int32_t CoinBox = 45;
constexpr int32_t Plant = 52;
constexpr int32_t Coin = 53;
constexpr int32_t CoinChest = 54;
constexpr int32_t Elevator = 55;
constexpr int32_t PowerUpBox = 56;
constexpr int32_t OneUpBox = 57;
constexpr int32_t LevelEnd = 58;
constexpr int32_t FireChain = 62;
constexpr int32_t Flame = 67;
constexpr int32_t CastleFloor = 72;
constexpr int32_t BoxBaseAlt = 75;
constexpr int32_t FirstWarp = 76;     // 76..79: warp pipes 0..3
constexpr int32_t WarpMarker = 79;
constexpr int32_t CoinAlt = 81;
constexpr int32_t CoinBoxAlt = 82;
constexpr int32_t FireChainAlt = 83;
constexpr int32_t PowerUpBoxAlt = 84;
constexpr int32_t Count = 96;         // codes 0..95 have a picture
} // namespace Tile

// The classes of assets/tiles/catalogue.txt.
enum class TileClass : uint8_t { Background, Scenery, Solid, Brick, BoxBase, Goal, Object, Warp };
// The palette's groups, in the order it shows them.
enum class PaletteGroup : uint8_t { Scenery, Solid, BoxesAndBricks, Items, Enemies, MovingPlatforms, PipesAndWarps, Hazards, Markers };
constexpr int PaletteGroupCount = static_cast<int>(PaletteGroup::Markers) + 1;

// What a cell holds once its object is live (or the brick in it is broken).
enum class Becomes : uint8_t {
    Stays,      // nothing happens to it
    Emptied,    // the emptied-cell rule (level/Rules.h): 0, or 9 beside 9
    BoxBase,    // an emptied box (33)
    BoxBaseAlt, // an emptied crystal box (75)
};

struct CodeRow {
    int32_t code;
    TileClass cls;
    PaletteGroup group;
    Becomes becomes;
    int8_t fragments;  // a brick's fragment kind 0..3; -1 for every other code
    bool shellPasses;  // a shell sliding on the ground passes the cell while its object is not yet live
    std::string_view name;
};

// One row per code, in code order; docs/levels.md gives the longer meaning of each.
inline constexpr std::array<CodeRow, Tile::Count> kCodes = [] {
    using C = TileClass;
    using G = PaletteGroup;
    using B = Becomes;
    return std::array<CodeRow, Tile::Count>{{
    {0, C::Background, G::Scenery, B::Stays, -1, false, "Sky"},
    {1, C::Scenery, G::Scenery, B::Stays, -1, false, "Cloud, left end"},
    {2, C::Scenery, G::Scenery, B::Stays, -1, false, "Cloud, middle"},
    {3, C::Scenery, G::Scenery, B::Stays, -1, false, "Cloud, right end"},
    {4, C::Scenery, G::Scenery, B::Stays, -1, false, "Bush, left end"},
    {5, C::Scenery, G::Scenery, B::Stays, -1, false, "Bush, middle"},
    {6, C::Scenery, G::Scenery, B::Stays, -1, false, "Bush, right end"},
    {7, C::Scenery, G::Scenery, B::Stays, -1, false, "Hill, left slope"},
    {8, C::Scenery, G::Scenery, B::Stays, -1, false, "Hill, top"},
    {9, C::Background, G::Scenery, B::Stays, -1, false, "Night (caves, castles)"},
    {10, C::Scenery, G::Scenery, B::Stays, -1, false, "Hill, right slope"},
    {11, C::Scenery, G::Scenery, B::Stays, -1, false, "Hill, inside"},
    {12, C::Scenery, G::Scenery, B::Stays, -1, false, "Fence"},
    {13, C::Scenery, G::Scenery, B::Stays, -1, false, "High sky"},
    {14, C::Scenery, G::Scenery, B::Stays, -1, false, "Tree trunk"},
    {15, C::Scenery, G::Scenery, B::Stays, -1, false, "Water surface"},
    {16, C::Scenery, G::Scenery, B::Stays, -1, false, "Deep water"},
    {17, C::Scenery, G::Scenery, B::Stays, -1, false, "Castle pillar"},
    {18, C::Scenery, G::Markers, B::Stays, -1, false, "Checkpoint flag, on night"},
    {19, C::Scenery, G::Scenery, B::Stays, -1, false, "Wall torch"},
    {20, C::Scenery, G::Scenery, B::Stays, -1, false, "Hanging chain"},
    {21, C::Scenery, G::Scenery, B::Stays, -1, false, "Stalactite"},
    {22, C::Scenery, G::Scenery, B::Stays, -1, false, "Crystal cluster"},
    {23, C::Scenery, G::Markers, B::Stays, -1, false, "Checkpoint flag"},
    {24, C::Scenery, G::Scenery, B::Stays, -1, false, "Lava surface"},
    {25, C::Scenery, G::Scenery, B::Stays, -1, false, "Lava"},
    {26, C::Solid, G::Solid, B::Stays, -1, false, "Ground top"},
    {27, C::Solid, G::Solid, B::Stays, -1, false, "Ground fill"},
    {28, C::Brick, G::BoxesAndBricks, B::Emptied, 2, false, "Clay brick"},
    {29, C::Solid, G::Solid, B::Stays, -1, false, "Hard block"},
    {30, C::Solid, G::PipesAndWarps, B::Stays, -1, false, "Pipe mouth, left"},
    {31, C::Solid, G::PipesAndWarps, B::Stays, -1, false, "Pipe mouth, right"},
    {32, C::Solid, G::PipesAndWarps, B::Stays, -1, false, "Pipe body, left"},
    {33, C::BoxBase, G::BoxesAndBricks, B::Stays, -1, false, "Emptied box"},
    {34, C::Solid, G::PipesAndWarps, B::Stays, -1, false, "Pipe body, right"},
    {35, C::Solid, G::Solid, B::Stays, -1, false, "Dark stone (top row of caves and castles)"},
    {36, C::Solid, G::Solid, B::Stays, -1, false, "Cave ground top"},
    {37, C::Brick, G::BoxesAndBricks, B::Emptied, 1, false, "Cave brick"},
    {38, C::Solid, G::Solid, B::Stays, -1, false, "Cave ground fill"},
    {39, C::Brick, G::BoxesAndBricks, B::Emptied, 0, false, "Castle brick"},
    {40, C::Solid, G::Solid, B::Stays, -1, false, "Castle stone"},
    {41, C::Solid, G::Solid, B::Stays, -1, false, "Battlement"},
    {42, C::Solid, G::Solid, B::Stays, -1, false, "Ledge, left end"},
    {43, C::Solid, G::Solid, B::Stays, -1, false, "Ledge, middle"},
    {44, C::Object, G::Markers, B::Emptied, -1, false, "Hero start"},
    {45, C::Object, G::BoxesAndBricks, B::BoxBase, -1, false, "Star box with a coin"},
    {46, C::Object, G::Enemies, B::Emptied, -1, true, "Turtle, heading left"},
    {47, C::Object, G::Enemies, B::Emptied, -1, true, "Turtle, heading right"},
    {48, C::Object, G::Enemies, B::Emptied, -1, true, "Winged turtle, heading left"},
    {49, C::Object, G::Enemies, B::Emptied, -1, true, "Winged turtle, heading right"},
    {50, C::Object, G::Enemies, B::Emptied, -1, true, "Wumpel, heading left"},
    {51, C::Object, G::Enemies, B::Emptied, -1, true, "Wumpel, heading right"},
    {52, C::Object, G::Enemies, B::Emptied, -1, true, "Plant (above a pipe)"},
    {53, C::Object, G::Items, B::Emptied, -1, false, "Gold coin"},
    {54, C::Object, G::BoxesAndBricks, B::BoxBase, -1, false, "Coin chest (eight coins)"},
    {55, C::Object, G::MovingPlatforms, B::Emptied, -1, false, "Elevator end"},
    {56, C::Object, G::BoxesAndBricks, B::BoxBase, -1, false, "Star box with the power-up"},
    {57, C::Object, G::BoxesAndBricks, B::Emptied, -1, false, "Hidden box with an extra life"},
    {58, C::Goal, G::Markers, B::Stays, -1, false, "Level end"},
    {59, C::Object, G::Enemies, B::Emptied, -1, true, "PTurtle (kickable shell)"},
    {60, C::Object, G::Enemies, B::Emptied, -1, true, "Greenie, heading left"},
    {61, C::Object, G::Enemies, B::Emptied, -1, true, "Greenie, heading right"},
    {62, C::Object, G::Hazards, B::BoxBase, -1, true, "Fire chain"},
    {63, C::Object, G::Enemies, B::Emptied, -1, true, "Black, facing left"},
    {64, C::Object, G::Enemies, B::Emptied, -1, true, "Black, facing right"},
    {65, C::Object, G::Enemies, B::Emptied, -1, true, "Bird, facing left"},
    {66, C::Object, G::Enemies, B::Emptied, -1, true, "Bird, facing right"},
    {67, C::Object, G::Hazards, B::Emptied, -1, false, "Flame"},
    {68, C::Object, G::Enemies, B::Emptied, -1, false, "Brown (throws fire)"},
    {69, C::Solid, G::Solid, B::Stays, -1, false, "Ledge, right end"},
    {70, C::Solid, G::Solid, B::Stays, -1, false, "Cliff top"},
    {71, C::Solid, G::Solid, B::Stays, -1, false, "Cliff fill"},
    {72, C::Solid, G::Solid, B::Stays, -1, false, "Castle floor"},
    {73, C::Solid, G::Solid, B::Stays, -1, false, "Bridge"},
    {74, C::Solid, G::Solid, B::Stays, -1, false, "Girder"},
    {75, C::BoxBase, G::BoxesAndBricks, B::Stays, -1, false, "Emptied crystal box"},
    {76, C::Warp, G::PipesAndWarps, B::Emptied, -1, false, "Warp end, pipe 1"},
    {77, C::Warp, G::PipesAndWarps, B::Emptied, -1, false, "Warp end, pipe 2"},
    {78, C::Warp, G::PipesAndWarps, B::Emptied, -1, false, "Warp end, pipe 3"},
    {79, C::Warp, G::PipesAndWarps, B::Emptied, -1, false, "Warp end, pipe 4"},
    {80, C::Brick, G::BoxesAndBricks, B::Emptied, 3, false, "Sandstone brick"},
    {81, C::Object, G::Items, B::Emptied, -1, false, "Violet coin"},
    {82, C::Object, G::BoxesAndBricks, B::BoxBaseAlt, -1, false, "Crystal box with a coin"},
    {83, C::Object, G::Hazards, B::BoxBaseAlt, -1, false, "Fire chain (crystal base)"},
    {84, C::Object, G::BoxesAndBricks, B::BoxBaseAlt, -1, false, "Crystal box with the power-up"},
    {85, C::Object, G::Enemies, B::Emptied, -1, true, "Wumpel, cave look"},
    {86, C::Object, G::Enemies, B::Emptied, -1, true, "PTurtle, violet shell"},
    {87, C::Object, G::Enemies, B::Emptied, -1, true, "Winged turtle, violet shell"},
    {88, C::Solid, G::PipesAndWarps, B::Stays, -1, false, "Sideways pipe mouth, top"},
    {89, C::Solid, G::PipesAndWarps, B::Stays, -1, false, "Sideways pipe mouth, bottom"},
    {90, C::Solid, G::PipesAndWarps, B::Stays, -1, false, "Sideways pipe body, top"},
    {91, C::Solid, G::PipesAndWarps, B::Stays, -1, false, "Sideways pipe body, bottom"},
    {92, C::Solid, G::Solid, B::Stays, -1, false, "Ground top, left edge"},
    {93, C::Solid, G::Solid, B::Stays, -1, false, "Ground top, right edge"},
    {94, C::Solid, G::Solid, B::Stays, -1, false, "Solid cloud"},
    {95, C::Solid, G::Solid, B::Stays, -1, false, "Ice block"},
    }};
}();

// The checkpoint flags and the empty cell each is drawn over. The data folder's
// checkpoint.bmp holds, in this order, each flag raised and lit over its background: what
// a reached checkpoint shows in smooth motion.
struct FlagLook {
    int32_t code;
    int32_t background;
};
inline constexpr std::array<FlagLook, 2> kCheckpointFlags = {{
    {Tile::CheckpointFlag, Tile::Background},
    {Tile::CheckpointFlagNight, Tile::Background2},
}};
constexpr bool IsCheckpointFlag(int32_t code)
{
    return code == Tile::CheckpointFlag || code == Tile::CheckpointFlagNight;
}

constexpr bool RowsInCodeOrder()
{
    for (size_t i = 0; i < kCodes.size(); ++i)
        if (kCodes[i].code != static_cast<int32_t>(i))
            return false;
    return true;
}
static_assert(RowsInCodeOrder(), "kCodes holds one row per code, in code order");

constexpr bool IsCode(int32_t code) { return code >= 0 && code < Tile::Count; }

// The row of a code; nullptr outside 0..95.
constexpr const CodeRow* FindCode(int32_t code)
{
    return IsCode(code) ? &kCodes[static_cast<size_t>(code)] : nullptr;
}

// What stops the hero, enemies and items, by code: every class but background and scenery.
inline constexpr std::array<bool, Tile::Count> kSolid = [] {
    std::array<bool, Tile::Count> solid{};
    for (const CodeRow& row : kCodes)
        solid[static_cast<size_t>(row.code)] = row.cls != TileClass::Background && row.cls != TileClass::Scenery;
    return solid;
}();

// The hot test of every collision. No map cell holds a code outside kCodes; such a code
// reads as it always has (solid above the scenery block).
constexpr bool IsSolid(int32_t code)
{
    return IsCode(code) ? kSolid[static_cast<size_t>(code)] : code > Tile::LastScenery;
}

// The cells that turn into a live object when they come into view (warp ends included:
// each becomes the one warp marker).
constexpr bool GoesLive(int32_t code)
{
    return IsCode(code) && (kCodes[static_cast<size_t>(code)].cls == TileClass::Object ||
                            kCodes[static_cast<size_t>(code)].cls == TileClass::Warp);
}

// The fragment kind of a breakable block, or -1 when the cell does not break.
constexpr int32_t BrickKind(int32_t code)
{
    return IsCode(code) ? kCodes[static_cast<size_t>(code)].fragments : -1;
}

// Object cells that have not yet made their object and that a shell sliding on the ground
// passes (in the air it does not).
constexpr bool PassedOnTheGround(int32_t code)
{
    return IsCode(code) && kCodes[static_cast<size_t>(code)].shellPasses;
}

// The names of the classes as assets/tiles/catalogue.txt writes them, and of the groups
// as the palette shows them.
std::string_view ClassName(TileClass cls);
std::string_view GroupName(PaletteGroup group);

} // namespace zorbo
