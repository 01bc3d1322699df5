#include "editor/CheckList.h"

namespace zorbo::editor {

CheckList CheckRows(const LevelDocument& doc)
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
