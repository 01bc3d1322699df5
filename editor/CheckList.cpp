#include "editor/CheckList.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sstream>

namespace zorbo::editor {

namespace {

void AddWarning(CheckList& list, int32_t level, std::optional<CellPos> cell, std::string message)
{
    list.rows.push_back(CheckRow{false, level + 1, cell, std::move(message)});
    ++list.warnings;
}

// "4.5" or "3": the figure as people write it.
std::string ContrastWords(double ratio)
{
    char text[16];
    std::snprintf(text, sizeof text, "%g", ratio);
    return text;
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
             " (it needs dark tiles there, a contrast of " + ContrastWords(HudMinContrast) + " : 1)");
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

std::string Join(const std::vector<std::string>& names)
{
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

// "2@57>140,3@150>20" as "pipe 2 (column 57 to 140) and pipe 3 (column 150 to 20)".
std::string WarpWords(const std::string& machine)
{
    std::vector<std::string> pipes;
    std::stringstream in(machine);
    std::string one;
    while (std::getline(in, one, ',')) {
        const size_t at = one.find('@'), to = one.find('>');
        if (at == std::string::npos || to == std::string::npos || to < at)
            continue;
        pipes.push_back("pipe " + one.substr(0, at) + " (column " + one.substr(at + 1, to - at - 1) + " to " +
                        one.substr(to + 1) + ")");
    }
    return Join(pipes);
}

// Not found at some difficulties: the best column said once when it is the same for all.
std::string NotFoundWords(const std::vector<std::pair<std::string, int>>& missing)
{
    const bool alike = std::all_of(missing.begin(), missing.end(),
                                   [&](const auto& m) { return m.second == missing.front().second; });
    std::vector<std::string> names;
    for (const auto& [name, best] : missing)
        names.push_back(alike ? name : name + " (best: column " + std::to_string(best) + ")");
    return "not found at " + Join(names) +
           (alike ? " (best: column " + std::to_string(missing.front().second) + ")" : "");
}

// One start's proofs at each difficulty: "finishable at Easy and Normal (through pipe 2
// (column 57 to 140)); not found at Crazy (best: column 212)".
std::string StartSummary(const ProofRuns& runs, int32_t column)
{
    std::vector<std::string> found, unfinished;
    std::vector<std::pair<std::string, int>> missing;
    std::string warps, failed;
    for (size_t d = 0; d < runs.size(); ++d) {
        const std::string name = kProofDifficulties[d].shown;
        const std::vector<ProofRun>& starts = runs[d].starts;
        const auto r = std::find_if(starts.begin(), starts.end(),
                                    [column](const ProofRun& run) { return run.startColumn == column; });
        const ProofState state = r == starts.end() ? ProofState::Waiting : r->state;
        if (state == ProofState::Solved) {
            found.push_back(name);
            if (warps.empty() && r->warps != "none")
                warps = WarpWords(r->warps);
        } else if (state == ProofState::NotFound) {
            missing.emplace_back(name, r->bestColumn);
        } else {
            if (state == ProofState::Failed)
                failed = r->problem;
            unfinished.push_back(name);
        }
    }
    std::vector<std::string> parts;
    if (!found.empty())
        parts.push_back("finishable at " + Join(found) + (warps.empty() ? "" : " (through " + warps + ")"));
    if (!missing.empty())
        parts.push_back(NotFoundWords(missing));
    if (!unfinished.empty())
        parts.push_back("not proved at " + Join(unfinished) + (failed.empty() ? "" : " (" + failed + ")"));
    std::string text;
    for (const std::string& p : parts)
        text += (text.empty() ? "" : "; ") + p;
    return text;
}

// "the start and the checkpoint at column 120", "the checkpoints at columns 120 and 200",
// "the start and both checkpoints" (columns in order, 0 for the level's start).
std::string StartsWords(const std::vector<int32_t>& columns, size_t checkpointCount)
{
    const bool start = columns.front() == 0;
    const size_t later = columns.size() - (start ? 1 : 0);
    if (start && later == checkpointCount && later >= 2)
        return later == 2 ? "the start and both checkpoints"
                          : "the start and all " + std::to_string(later) + " checkpoints";
    std::vector<std::string> numbers;
    for (const int32_t col : columns)
        if (col != 0)
            numbers.push_back(std::to_string(col));
    const std::string checkpoints = later == 0   ? ""
                                    : later == 1 ? "the checkpoint at column " + numbers.front()
                                                 : "the checkpoints at columns " + Join(numbers);
    if (!start)
        return checkpoints;
    return later == 0 ? "the start" : "the start and " + checkpoints;
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

std::vector<std::string> ProofSentences(const ProofRuns& runs, bool stale)
{
    // The starts every difficulty's solver proves, in order; the level's own start first.
    std::vector<int32_t> columns;
    for (const DifficultyProof& proof : runs)
        for (const ProofRun& r : proof.starts)
            if (std::find(columns.begin(), columns.end(), r.startColumn) == columns.end())
                columns.push_back(r.startColumn);
    std::vector<std::string> sentences;
    if (columns.size() == 1) {
        sentences.push_back(StartSummary(runs, columns.front()));
    } else {
        // Starts with the same results are said once, where the first of them is.
        std::vector<std::pair<std::string, std::vector<int32_t>>> alike;
        for (const int32_t col : columns) {
            const std::string said = StartSummary(runs, col);
            const auto same = std::find_if(alike.begin(), alike.end(), [&](const auto& a) { return a.first == said; });
            if (same == alike.end())
                alike.push_back({said, {col}});
            else
                same->second.push_back(col);
        }
        for (const auto& [said, cols] : alike)
            sentences.push_back("From " + StartsWords(cols, columns.size() - 1) + ": " + said);
    }
    if (stale)
        sentences.back() += " (stale: the level changed since)";
    return sentences;
}

std::string ProofSummary(const ProofRuns& runs, bool stale)
{
    std::string text;
    for (const std::string& sentence : ProofSentences(runs, stale))
        text += (text.empty() ? "" : ". ") + sentence;
    return text;
}

std::vector<std::string> WrapText(const std::string& text, int width, const std::function<int(std::string_view)>& measure)
{
    std::vector<std::string> lines;
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        const size_t space = text.find(' ', at);
        const std::string word = text.substr(at, space == std::string::npos ? std::string::npos : space - at);
        at = space == std::string::npos ? text.size() : space + 1;
        if (word.empty())
            continue;
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && measure(longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.empty() || lines.empty())
        lines.push_back(line);
    return lines;
}

} // namespace zorbo::editor
