#pragma once
// The solver's command line as text and its exit statuses: printed by --help and turned
// into its manual page, so the two never disagree.
#include "Solver.h"

#include <string>
#include <vector>

namespace zorbo {

constexpr int kSolveProved = 0;    // every proof asked for was found (and its files written)
constexpr int kSolveFailed = 1;    // a level was not finished, or a file could not be written
constexpr int kSolveUsage = 2;     // the command line was refused
constexpr int kSolveCancelled = 3; // SIGINT or SIGTERM stopped the search; nothing was written

std::string SolveUsageText();

// The machine-readable lines of --progress, without their newline.
std::string ProgressLine(const SearchProgress& p);
std::string ResultLine(const LevelResult& r);
// "2@57>140,3@150>20" (machine, "none" for none) or "warp 2 at column 57 -> column 140, ...".
std::string WarpList(const std::vector<WarpTaken>& warps, bool machine);

} // namespace zorbo
