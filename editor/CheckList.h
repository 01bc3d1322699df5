#pragma once
// The check list: the level-set check of the text as it would be saved, each finding
// placed on the cell it is about, and the editor's own warnings about how a level looks.
#include "editor/LevelDocument.h"
#include "editor/Prover.h"
#include "game/Hud.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorbo::editor {

struct CheckRow {
    bool error = false;
    int level = 0;                // 1..10; 0 when about the whole file
    std::optional<CellPos> cell;  // the cell a click jumps to, when the finding has one
    std::string message;
};

struct CheckList {
    std::vector<CheckRow> rows;
    int errors = 0;
    int warnings = 0;
};

// With the tiles' band luminances (game/Hud.h), a level whose top row leaves the lives and
// coins text too faint is warned about too; without them that is not judged.
CheckList CheckRows(const LevelDocument& doc, const BandTable* bands = nullptr);

// "error  level 1  row 3  column 229  message", columns apart by tabs.
std::string RowText(const CheckRow& row);
// One line for above the list: "No problems", or the counts and whether the game plays it.
std::string Summary(const CheckList& list);

// What the proofs found, for the check list: "finishable at Easy and Normal; not found at
// Crazy (best: column 212)", with the pipes the routes took, said for each start ("From the
// start: ... From the checkpoint at column 120: ...") or once for the starts alike;
// "(stale: ...)" when the level changed.
std::string ProofSummary(const ProofRuns& runs, bool stale);
// The same as its sentences, for the check list, which shows each on lines of its own.
std::vector<std::string> ProofSentences(const ProofRuns& runs, bool stale);

// Breaks text at its spaces into lines no wider than width, as measure tells; a word wider
// than that stands alone on its line.
std::vector<std::string> WrapText(const std::string& text, int width,
                                  const std::function<int(std::string_view)>& measure);

} // namespace zorbo::editor
