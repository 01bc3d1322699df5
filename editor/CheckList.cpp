#include "editor/CheckList.h"

#include <algorithm>

namespace zorbo::editor {

namespace {

void AddWarning(CheckList& list, int32_t level, std::optional<CellPos> cell, std::string message)
{
    list.rows.push_back(CheckRow{false, level + 1, cell, std::move(message)});
    ++list.warnings;
}

// The lives and coins text stands over the top row wherever the view is.
void CheckTopRow(const LevelDocument& doc, int32_t level, const BandTable& bands, CheckList& list)
{
    const ColumnRun faint = FaintHudColumns(doc.CodesOf(level), doc.Length(level), bands);
    if (faint.count == 0)
        return;
    AddWarning(list, level, CellPos{level, 0, faint.first},
         "the top row is too light for the lives and coins text in " + std::to_string(faint.count) +
             (faint.count == 1 ? " column" : " columns") + " from column " + std::to_string(faint.first) +
             " (it needs dark tiles there, a contrast of 3 : 1)");
}

// Rows of different lengths are legal, but usually a slip: a row cut short shows sky past
// its end however the rows around it go on.
void CheckRowLengths(const LevelDocument& doc, int32_t level, CheckList& list)
{
    int32_t shortRow = -1, shortest = 0, longest = -1;
    for (int32_t row = 0; row < Rows; ++row) {
        const int32_t length = doc.RowLength(level, row);
        if (length < 0)
            continue;
        if (shortRow < 0 || length < shortest) {
            shortRow = row;
            shortest = length;
        }
        longest = std::max(longest, length);
    }
    if (shortRow < 0 || shortest == longest)
        return;
    std::optional<CellPos> end;
    if (shortest < Columns)
        end = CellPos{level, shortRow, shortest + 1};
    AddWarning(list, level, end,
         "level " + std::to_string(level + 1) + " has rows of different lengths: the shortest (row " +
             std::to_string(shortRow) + ") " + std::to_string(shortest) + " columns, the longest " +
             std::to_string(longest));
}

} // namespace

CheckList CheckRows(const LevelDocument& doc, const BandTable* bands)
{
    CheckList list;
    for (const LevelProblem& p : doc.Check().problems) {
        CheckRow row;
        row.error = p.error;
        row.level = p.level;
        row.message = p.message;
        if (p.line > 0 && p.column > 0)
            row.cell = doc.CellAt(p.line, p.column);
        if (row.cell)
            row.level = row.cell->level + 1;
        (p.error ? list.errors : list.warnings) += 1;
        list.rows.push_back(std::move(row));
    }
    for (int32_t level = 0; level < Levels; ++level) {
        if (bands != nullptr)
            CheckTopRow(doc, level, *bands, list);
        CheckRowLengths(doc, level, list);
    }
    return list;
}

std::string RowText(const CheckRow& row)
{
    std::string text = row.error ? "error" : "warning";
    text += "\t";
    if (row.level > 0)
        text += "level " + std::to_string(row.level);
    text += "\t";
    if (row.cell)
        text += "row " + std::to_string(row.cell->row) + "\tcolumn " + std::to_string(row.cell->col);
    else
        text += "\t";
    return text + "\t" + row.message;
}

std::string Summary(const CheckList& list)
{
    if (list.rows.empty())
        return "Check: no problems";
    auto count = [](int n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
    std::string s = "Check: ";
    if (list.errors > 0)
        s += count(list.errors, "error") + (list.warnings > 0 ? ", " : "");
    if (list.warnings > 0)
        s += count(list.warnings, "warning");
    return s + (list.errors > 0 ? " (the game refuses the set until the errors are fixed)" : " (the game plays the set)");
}

} // namespace zorbo::editor
