#include "editor/Palette.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace zorbo::editor {

namespace {

using G = Group;

// One row per code, in code order; docs/levels.md gives the longer meaning of each.
constexpr std::array<PaletteEntry, 96> kEntries = {{
    {0, G::Scenery, "Sky"},
    {1, G::Scenery, "Cloud, left end"},
    {2, G::Scenery, "Cloud, middle"},
    {3, G::Scenery, "Cloud, right end"},
    {4, G::Scenery, "Bush, left end"},
    {5, G::Scenery, "Bush, middle"},
    {6, G::Scenery, "Bush, right end"},
    {7, G::Scenery, "Hill, left slope"},
    {8, G::Scenery, "Hill, top"},
    {9, G::Scenery, "Night (caves, castles)"},
    {10, G::Scenery, "Hill, right slope"},
    {11, G::Scenery, "Hill, inside"},
    {12, G::Scenery, "Fence"},
    {13, G::Scenery, "High sky"},
    {14, G::Scenery, "Tree trunk"},
    {15, G::Scenery, "Water surface"},
    {16, G::Scenery, "Deep water"},
    {17, G::Scenery, "Castle pillar"},
    {18, G::Scenery, "Castle window"},
    {19, G::Scenery, "Wall torch"},
    {20, G::Scenery, "Hanging chain"},
    {21, G::Scenery, "Stalactite"},
    {22, G::Scenery, "Crystal cluster"},
    {23, G::Scenery, "Signpost"},
    {24, G::Scenery, "Lava surface"},
    {25, G::Scenery, "Lava"},
    {26, G::Solid, "Ground top"},
    {27, G::Solid, "Ground fill"},
    {28, G::BoxesAndBricks, "Clay brick"},
    {29, G::Solid, "Hard block"},
    {30, G::PipesAndWarps, "Pipe mouth, left"},
    {31, G::PipesAndWarps, "Pipe mouth, right"},
    {32, G::PipesAndWarps, "Pipe body, left"},
    {33, G::BoxesAndBricks, "Emptied box"},
    {34, G::PipesAndWarps, "Pipe body, right"},
    {35, G::Solid, "Rock"},
    {36, G::Solid, "Cave ground top"},
    {37, G::BoxesAndBricks, "Cave brick"},
    {38, G::Solid, "Cave ground fill"},
    {39, G::BoxesAndBricks, "Castle brick"},
    {40, G::Solid, "Castle stone"},
    {41, G::Solid, "Battlement"},
    {42, G::Solid, "Ledge, left end"},
    {43, G::Solid, "Ledge, middle"},
    {44, G::Markers, "Hero start"},
    {45, G::BoxesAndBricks, "Star box with a coin"},
    {46, G::Enemies, "Turtle, heading left"},
    {47, G::Enemies, "Turtle, heading right"},
    {48, G::Enemies, "Winged turtle, heading left"},
    {49, G::Enemies, "Winged turtle, heading right"},
    {50, G::Enemies, "Wumpel, heading left"},
    {51, G::Enemies, "Wumpel, heading right"},
    {52, G::Enemies, "Plant (above a pipe)"},
    {53, G::Items, "Gold coin"},
    {54, G::BoxesAndBricks, "Coin chest (eight coins)"},
    {55, G::MovingPlatforms, "Elevator end"},
    {56, G::BoxesAndBricks, "Star box with the power-up"},
    {57, G::BoxesAndBricks, "Hidden box with an extra life"},
    {58, G::Markers, "Level end"},
    {59, G::Enemies, "PTurtle (kickable shell)"},
    {60, G::Enemies, "Greenie, heading left"},
    {61, G::Enemies, "Greenie, heading right"},
    {62, G::Hazards, "Fire chain"},
    {63, G::Enemies, "Black, facing left"},
    {64, G::Enemies, "Black, facing right"},
    {65, G::Enemies, "Bird, facing left"},
    {66, G::Enemies, "Bird, facing right"},
    {67, G::Hazards, "Flame"},
    {68, G::Enemies, "Brown (throws fire)"},
    {69, G::Solid, "Ledge, right end"},
    {70, G::Solid, "Cliff top"},
    {71, G::Solid, "Cliff fill"},
    {72, G::Solid, "Castle floor"},
    {73, G::Solid, "Bridge"},
    {74, G::Solid, "Girder"},
    {75, G::BoxesAndBricks, "Emptied crystal box"},
    {76, G::PipesAndWarps, "Warp end, pipe 1"},
    {77, G::PipesAndWarps, "Warp end, pipe 2"},
    {78, G::PipesAndWarps, "Warp end, pipe 3"},
    {79, G::PipesAndWarps, "Warp end, pipe 4"},
    {80, G::BoxesAndBricks, "Sandstone brick"},
    {81, G::Items, "Violet coin"},
    {82, G::BoxesAndBricks, "Crystal box with a coin"},
    {83, G::Hazards, "Fire chain (crystal base)"},
    {84, G::BoxesAndBricks, "Crystal box with the power-up"},
    {85, G::Enemies, "Wumpel, cave look"},
    {86, G::Enemies, "PTurtle, violet shell"},
    {87, G::Enemies, "Winged turtle, violet shell"},
    {88, G::PipesAndWarps, "Sideways pipe mouth, top"},
    {89, G::PipesAndWarps, "Sideways pipe mouth, bottom"},
    {90, G::PipesAndWarps, "Sideways pipe body, top"},
    {91, G::PipesAndWarps, "Sideways pipe body, bottom"},
    {92, G::Solid, "Ground top, left edge"},
    {93, G::Solid, "Ground top, right edge"},
    {94, G::Solid, "Solid cloud"},
    {95, G::Solid, "Ice block"},
}};

constexpr std::array<std::string_view, GroupCount> kGroupNames = {
    "Scenery", "Solid", "Boxes and bricks", "Items", "Enemies", "Moving platforms", "Pipes and warps", "Hazards", "Markers",
};

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool Contains(std::string_view text, std::string_view word)
{
    return std::search(text.begin(), text.end(), word.begin(), word.end(),
                       [](char a, char b) { return Lower(a) == Lower(b); }) != text.end();
}

} // namespace

std::span<const PaletteEntry> PaletteEntries()
{
    return kEntries;
}

const PaletteEntry* FindEntry(int32_t code)
{
    if (code < 0 || code >= static_cast<int32_t>(kEntries.size()))
        return nullptr;
    return &kEntries[static_cast<size_t>(code)];
}

std::string_view GroupName(Group group)
{
    return kGroupNames[static_cast<size_t>(group)];
}

bool Matches(const PaletteEntry& entry, std::string_view search)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == ','; };
    size_t i = 0;
    while (i < search.size()) {
        while (i < search.size() && isSpace(search[i]))
            ++i;
        size_t end = i;
        while (end < search.size() && !isSpace(search[end]))
            ++end;
        if (end == i)
            break;
        const std::string_view word = search.substr(i, end - i);
        i = end;
        int number = -1;
        const auto [rest, ec] = std::from_chars(word.data(), word.data() + word.size(), number);
        const bool isNumber = ec == std::errc() && rest == word.data() + word.size();
        if (!(isNumber && number == entry.code) && !Contains(entry.name, word) && !Contains(GroupName(entry.group), word))
            return false;
    }
    return true;
}

std::vector<int32_t> PaletteCodes(std::string_view search)
{
    std::vector<int32_t> codes;
    for (int g = 0; g < GroupCount; ++g)
        for (const PaletteEntry& e : kEntries)
            if (static_cast<int>(e.group) == g && Matches(e, search))
                codes.push_back(e.code);
    return codes;
}

} // namespace zorbo::editor
