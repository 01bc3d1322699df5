// Any bytes at all, as a level editor's recovery copy: reading them must neither crash nor
// give a path or text that is not in the bytes as the copy's layout places them.
#include "editor/Recovery.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace zorbo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<editor::RecoveredSet> set = editor::ReadRecoveryBytes(bytes);
    if (!set)
        return 0;
    // The text is the end of the bytes, the path the line before it, ended by a line break.
    if (set->text.size() + set->path.size() + 1 > bytes.size() ||
        bytes.substr(bytes.size() - set->text.size()) != set->text ||
        bytes.substr(bytes.size() - set->text.size() - set->path.size() - 1, set->path.size()) != set->path)
        std::abort();
    return 0;
}
