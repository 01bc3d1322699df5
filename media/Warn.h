#pragma once
#include <functional>
#include <string>

namespace zorbo {

// "Warn and go on": one line on stderr that names what is wrong and what the game does
// instead ("bitmap F: cannot be opened: permission denied; it is not drawn"). Faults the
// game cannot go on from take the other way, GameWindow::Fail.
void Warn(const std::string& message);

// Where warnings go instead of stderr (tests collect them); an empty sink sends them back
// to stderr. Returns the sink it replaces.
using WarnSink = std::function<void(const std::string& message)>;
WarnSink SetWarnSink(WarnSink sink);

} // namespace zorbo
