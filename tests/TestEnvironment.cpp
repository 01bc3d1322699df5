// The tests never need a desktop or a sound card: SDL's dummy drivers stand in, unless
// the caller names others.
#include <cstdlib>

namespace {
const bool kDummyDrivers = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    return true;
}();
} // namespace
