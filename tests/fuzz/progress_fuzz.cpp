// Any bytes at all, as the progress file: reading them must neither crash nor accept a
// level or a level set the launcher cannot show, and what is accepted must come back whole
// through the file's own text, where a level reached is never taken back.
#include "game/Progress.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace zorbo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ProgressRead read = ReadProgress(bytes);
    if (read.problems.size() > ProgressFormat::MaxListedProblems)
        std::abort();
    (void)read.FirstProblem();
    if (!read.valid()) {
        if (!read.reached.empty())
            std::abort();
        return 0;
    }
    for (const auto& [key, level] : read.reached)
        if (key.empty() || key.size() > ProgressFormat::MaxKeyBytes || level < 1 || level > ProgressFormat::Finished)
            std::abort();
    const ProgressRead again = ReadProgress(ProgressText(read.reached));
    if (!again.valid() || again.reached != read.reached)
        std::abort();
    // Every kept level raised by one less, by itself and by one more: only the last moves it.
    Progress raised = read.reached;
    for (const auto& [key, level] : read.reached)
        if (RaiseProgress(raised, key, level - 1) || RaiseProgress(raised, key, level) ||
            RaiseProgress(raised, key, level + 1) != (level < ProgressFormat::Finished))
            std::abort();
    return 0;
}
