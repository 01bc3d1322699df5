#include "editor/TextWidth.h"

#include <FL/fl_draw.H>

namespace zorbo::editor {

int TextWidth(std::string_view text, int font, int size)
{
    fl_font(font, size);
    return static_cast<int>(fl_width(text.data(), static_cast<int>(text.size())));
}

} // namespace zorbo::editor
