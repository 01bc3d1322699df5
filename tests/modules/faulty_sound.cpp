// Sound modules that a damaged or mismatched build could leave behind, for the loader's
// tests: an entry that is a function, and one of this version with a function missing.
#include "media/SoundModule.h"

#if defined(ZORBO_ENTRY_IS_A_FUNCTION)
extern "C" __attribute__((visibility("default"))) int zorbo_sound_entry()
{
    return 42;
}
#else
// Every function left null, however many the entry grows to.
constexpr zorbo::SoundModuleEntry VersionAlone()
{
    zorbo::SoundModuleEntry entry{};
    entry.version = ZORBO_VERSION;
    return entry;
}
extern "C" __attribute__((visibility("default"))) const zorbo::SoundModuleEntry zorbo_sound_entry = VersionAlone();
#endif
