#pragma once
#include <SDL_scancode.h>

namespace zorbo {

// The game's scan code (0..255) for an SDL scancode; 0 for keys the game has no number for.
int GameScanCode(SDL_Scancode sdl);

} // namespace zorbo
