#pragma once
// The width of a text as the toolkit draws it, kept out of the window's own file: the
// drawing header brings the X11 names (None, Status) along.
#include <string_view>

namespace zorbo::editor {

// The text's width in pixels in the font and size given; needs an open display.
int TextWidth(std::string_view text, int font, int size);

} // namespace zorbo::editor
