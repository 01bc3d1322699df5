#pragma once
// The palette's search: it lists the rows of kCodes (level/Codes.h), which give every code
// its name and group; the editor keeps no table of its own.
#include "level/Codes.h"

#include <string_view>
#include <vector>

namespace zorbo::editor {

// True when the search text finds the row: every word of it is the row's code number or
// part of its name or group name (ignoring case). Empty text finds everything.
bool Matches(const CodeRow& row, std::string_view search);

// The codes the palette lists for a search, group by group, each group in code order.
std::vector<int32_t> PaletteCodes(std::string_view search = {});

} // namespace zorbo::editor
