#pragma once
#include <string>
#include <vector>

namespace zorbo {

// One finding of the level-set check. Lines and columns count from 1; 0 when the finding
// is about the whole file or a whole level.
struct LevelProblem {
    bool error = false;   // errors refuse the file; warnings leave it playable
    int line = 0;
    int column = 0;
    int level = 0;        // 1..10, 0 when not about one level
    std::string message;
};

struct LevelCheckResult {
    bool readable = false;                 // the file could be opened and read
    int levels = 0;                        // levels found, at most ten
    std::vector<LevelProblem> problems;    // in file order
    bool ok() const;                       // readable and no errors
    // "FILE:LINE:COLUMN: error: message" lines, one per problem.
    std::string Report(const std::string& fileName) const;
    // One line that sums the check up: "FILE: 10 levels, no problems", or the number of
    // errors and warnings and whether the game plays the file. Empty for an unreadable file.
    std::string Summary(const std::string& fileName) const;
    // The first error as one sentence naming the file, line and column.
    std::string FirstError(const std::string& fileName) const;
};

// Checks a level-set file without loading it into a game.
LevelCheckResult CheckLevelSet(const std::string& path);

} // namespace zorbo
