#pragma once
// One way to end on FLTK's fatal errors, for the launcher and the level editor.

namespace zorbo {

// From now on a fatal FLTK error (above all "Can't open display") ends the program with
// one clear line, "PROGRAM: what FLTK says (HINT)", and exit status 1, instead of FLTK's
// bare text. Both strings must outlive the program; hint may be null.
void EndOnFltkFatal(const char* program, const char* hint = nullptr);

} // namespace zorbo
