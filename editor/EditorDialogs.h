#pragma once
// Every message box of the editor goes through these two, so that none runs off the screen.
#include "launcher/MessageText.h"

#include <FL/fl_ask.H>

#include <string>

namespace zorbo::editor {

inline void Alert(const char* title, const std::string& text)
{
    fl_message_title(title);
    fl_alert("%s", FitToScreen(text).c_str());
}

// The button pressed: 0, 1 or 2 (Escape gives 0).
inline int Choice(const char* title, const std::string& text, const char* b0, const char* b1, const char* b2)
{
    fl_message_title(title);
    return fl_choice("%s", b0, b1, b2, FitToScreen(text).c_str());
}

} // namespace zorbo::editor
