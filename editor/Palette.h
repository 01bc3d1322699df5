#pragma once
// What the editor calls every tile code and where its palette lists it.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zorbo::editor {

// The palette's groups, in the order it shows them.
enum class Group { Scenery, Solid, BoxesAndBricks, Items, Enemies, MovingPlatforms, PipesAndWarps, Hazards, Markers };
constexpr int GroupCount = 9;

struct PaletteEntry {
    int32_t code;
    Group group;
    std::string_view name;
};

// Every code 0..95, indexed by code.
std::span<const PaletteEntry> PaletteEntries();
// The entry of a code; nullptr outside 0..95.
const PaletteEntry* FindEntry(int32_t code);
std::string_view GroupName(Group group);

// True when the search text finds the entry: every word of it is the entry's code number or
// part of its name or group name (ignoring case). Empty text finds everything.
bool Matches(const PaletteEntry& entry, std::string_view search);

// The codes the palette lists for a search, group by group, each group in code order.
std::vector<int32_t> PaletteCodes(std::string_view search = {});

} // namespace zorbo::editor
