#pragma once
// The text of a message box, the launcher's and the level editor's, kept within the screen:
// FLTK draws a line as wide as it comes, so a long path would run off the screen's edge.
#include <cstddef>
#include <string>
#include <string_view>

namespace zorbo {

// Breaks text into lines of at most maxChars characters (UTF-8 characters, not bytes):
// between words where it can, and inside a word longer than a line (a path), after its
// last '/' that fits if there is one. Its own line breaks stay, and nothing else changes:
// the result less the breaks it adds is the text, every blank kept (blanks before a break
// end its line).
std::string WrapMessage(std::string_view text, size_t maxChars);

// WrapMessage to at most 60% of the screen's width in the message font (opens the display).
std::string FitToScreen(std::string_view text);

} // namespace zorbo
