#pragma once
// Small helpers the SDL side of the platform shares (the window and the sound).
#include <string>

struct SDL_RWops;

namespace zorbo {

// Whether an environment variable is set to something.
bool EnvironmentSet(const char* name);

// Reads a bitmap or wave without blocking on a FIFO; SDL gets the bytes from memory, so
// `bytes` must outlive the stream. Null with the reason in `error`.
SDL_RWops* OpenMediaFile(const std::string& file, std::string& bytes, std::string& error);

} // namespace zorbo
