#include "media/Warn.h"

#include <cstdio>
#include <utility>

namespace zorbo {

namespace {
WarnSink& Sink()
{
    static WarnSink sink;
    return sink;
}
} // namespace

void Warn(const std::string& message)
{
    if (Sink())
        Sink()(message);
    else
        std::fprintf(stderr, "zorbo: warning: %s\n", message.c_str());
}

WarnSink SetWarnSink(WarnSink sink)
{
    return std::exchange(Sink(), std::move(sink));
}

} // namespace zorbo
