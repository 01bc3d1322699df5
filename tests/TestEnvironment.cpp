// The tests never need a desktop or a sound card: SDL's dummy drivers stand in, unless
// the caller names others. They never read or write the player's own settings or progress
// either, nor list the player's own level sets: their config, state, data and home folders
// are the build's.
#include <cstdlib>

namespace {
const bool kDummyDrivers = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("XDG_CONFIG_HOME", ZORBO_TEST_HOME "/config", 1);
    setenv("XDG_STATE_HOME", ZORBO_TEST_HOME "/state", 1);
    setenv("XDG_DATA_HOME", ZORBO_TEST_HOME "/data", 1);
    setenv("HOME", ZORBO_TEST_HOME, 1);
    return true;
}();
} // namespace
