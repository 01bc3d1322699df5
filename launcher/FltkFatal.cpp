#include "launcher/FltkFatal.h"

#include <FL/Fl.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace zorbo {

namespace {

// FLTK's handler takes no context of its own.
const char* gProgram = "zorbo";
const char* gHint = nullptr;

[[noreturn]] void Fatal(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::fprintf(stderr, "%s: ", gProgram);
    std::vfprintf(stderr, format, args);
    va_end(args);
    if (gHint != nullptr)
        std::fprintf(stderr, " (%s)", gHint);
    std::fputs("\n", stderr);
    std::exit(1);
}

} // namespace

void EndOnFltkFatal(const char* program, const char* hint)
{
    gProgram = program;
    gHint = hint;
    Fl::fatal = Fatal;
}

} // namespace zorbo
