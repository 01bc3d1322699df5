// Any bytes at all, as the launcher's settings file: reading them must neither crash nor
// accept a value the launcher cannot show, and accepted choices must come back whole
// through the file's own text.
#include "launcher/SavedChoices.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace zorbo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const SavedChoicesRead read = ReadSavedChoices(bytes);
    if (read.problems.size() > SavedChoicesFormat::MaxListedProblems)
        std::abort();
    (void)read.FirstProblem();
    if (!read.valid())
        return 0;
    const SavedChoices& c = read.choices;
    if (c.level < 1 || c.level > 10 || c.levelSet.empty() || c.levelSet.size() > SavedChoicesFormat::MaxNameBytes)
        std::abort();
    const SavedChoicesRead again = ReadSavedChoices(SavedChoicesText(c));
    if (!again.valid() || !(again.choices == c))
        std::abort();
    return 0;
}
