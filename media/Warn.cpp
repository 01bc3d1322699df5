#include "media/Warn.h"

#include <cstdio>

namespace zorbo {

void Warn(const std::string& message)
{
    std::fprintf(stderr, "zorbo: warning: %s\n", message.c_str());
}

} // namespace zorbo
