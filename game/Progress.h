#pragma once
// The furthest level the player has reached by playing, for each level set, kept between
// games in a small text file beside the player's other state:
//
//   # Zorbo: the furthest level reached by playing, in each level set
//   4 Standard.txt
//   finished user:My Hard Set.txt
//
// Each line is the level (1 to 10, or "finished" once the last level is done), one space
// and the level set's key: the rest of the line, so a key may hold spaces. Empty lines and
// lines starting with '#' are skipped. The key is the set's file name (ProgressKey).
#include "level/LevelSets.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zorbo {

namespace ProgressFormat {
// The level after the last: the set has been played to its end.
constexpr int32_t Finished = 11;
constexpr size_t MaxFileBytes = 32768;
constexpr size_t MaxKeyBytes = 255; // a file name's limit on Linux
constexpr size_t MaxListedProblems = 10;
} // namespace ProgressFormat

// Each level set's key with the furthest level reached in it, 1..Finished.
using Progress = std::map<std::string, int32_t, std::less<>>;

struct ProgressProblem {
    int line = 0; // from 1; 0 for the file as a whole
    std::string message;
};

struct ProgressRead {
    Progress reached;
    std::vector<ProgressProblem> problems;
    bool valid() const { return problems.empty(); }
    // The first problem as "line 3: ..." for a message.
    std::string FirstProblem() const;
};

// Reads the file's bytes. Any problem makes the whole file untrusted: callers use what it
// says only when valid().
ProgressRead ReadProgress(std::string_view bytes);

// The file's text; ReadProgress gives the progress back. Keys the format cannot hold (empty,
// too long, a control byte in them) and levels out of range are left out.
std::string ProgressText(const Progress& progress);

// The key a level set's progress is kept by: a data folder set's file name, "user:" and the
// file name for one of the player's own folder (so that his copy of a set and the set itself
// keep apart), and empty, keeping nothing, for a file named by its path elsewhere.
std::string ProgressKey(const std::string& file, SetPlace place);

// Keeps `reached` for the key when it is further than what is kept; a level is never taken
// back. True when the kept value changed.
bool RaiseProgress(Progress& progress, const std::string& key, int32_t reached);

// The level the launcher shows for a kept value: a finished set shows its last level.
constexpr int32_t ShownLevel(int32_t reached) { return reached < 1 ? 1 : reached > 10 ? 10 : reached; }

// $XDG_STATE_HOME/zorbo/progress, else ~/.local/state/zorbo/progress; empty when neither
// variable names an absolute folder (then nothing is kept).
std::string ProgressPath();

// What LoadProgress found: no file, a good one, a damaged one (bad bytes, too large: the
// next write replaces it) or one it may not read (a folder, a FIFO, no permission: never
// written over).
enum class ProgressFound { Missing, Read, Damaged, Unreadable };

// The progress kept at path; none when there is no file. A file that cannot be read or is
// damaged is read as empty and, when `warn` is set, named in one warning.
Progress LoadProgress(const std::string& path, bool warn = true, ProgressFound* found = nullptr);

// Writes the progress to path whole or not at all (its folder is made, for this user only,
// when missing); false with a reason to follow the file's name.
bool SaveProgress(const std::string& path, const Progress& progress, std::string& reason);

// Keeps the levels one game reaches in one level set: each level reached is raised into
// the file as it stands then (another game may have written it meanwhile), and the file is
// written only when that changes it. A damaged file is replaced, one that may not be read is
// left alone; either is warned about once when `warnBadFile` is set (a game started from
// the launcher leaves it unset: the launcher has named the file already). A write that fails
// is warned about once.
class ProgressKeeper {
public:
    ProgressKeeper(std::string path, std::string key, bool warnBadFile);
    void Reached(int32_t level);

private:
    std::string path_, key_;
    bool warnBadFile_;
    bool warnedWrite_ = false;
};

} // namespace zorbo
