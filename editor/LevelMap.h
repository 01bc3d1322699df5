#pragma once
// A whole level as one picture (cells, objects, column numbers, the first screen, elevator
// links and warp numbers), for the documentation and for reviewing a level set at a glance.
#include "editor/LevelDocument.h"
#include "editor/Pictures.h"

namespace zorbo::editor {

// The last column any cell of the level uses (not plain background), at least the width of
// one screen.
int32_t LastUsedColumn(const LevelDocument& doc, int32_t level);

// The level's picture at zoom 1, from column 1 to one column past the last used one.
Surface RenderLevelMap(const LevelDocument& doc, const Pictures& pictures, int32_t level);

} // namespace zorbo::editor
