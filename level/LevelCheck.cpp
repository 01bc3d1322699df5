#include "level/LevelCheck.h"
#include "level/LevelFile.h"
#include "level/Rules.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

namespace zorbo {

namespace {

using Cell = MapCell;

// Raw codes as written in the file (warp ends keep their pipe) and the line of each row.
struct RawLevels {
    TileMap codes;
    std::array<std::array<int, LevelFormat::RowsPerLevel>, LevelFormat::Levels> line{};
    std::array<int32_t, LevelFormat::Levels> lastColumn{}; // the longest row's length
};

class Checker {
public:
    Checker(LevelCheckResult& r, const RawLevels& raw, const LevelFileSummary& s) : r_(r), raw_(raw), s_(s) {}

    void Add(bool error, int line, int column, int level, std::string message)
    {
        r_.problems.push_back(LevelProblem{error, line, column, level, std::move(message)});
    }

    int LineOf(int32_t level, int32_t row) const
    {
        return raw_.line[static_cast<size_t>(level)][static_cast<size_t>(row)];
    }
    void AddAt(bool error, int32_t level, Cell c, std::string message)
    {
        Add(error, LineOf(level, c.row), c.col, level + 1, std::move(message));
    }
    std::string Where(int32_t level, Cell c) const
    {
        return "line " + std::to_string(LineOf(level, c.row)) + ", column " + std::to_string(c.col);
    }

    // Cells of one code in reading order: top row first, left to right.
    std::vector<Cell> Find(int32_t level, int32_t code, int32_t lastCol = TileMap::Columns - 1) const
    {
        std::vector<Cell> cells;
        lastCol = std::min(lastCol, raw_.lastColumn[static_cast<size_t>(level)]);
        for (int32_t row = 0; row < LevelFormat::RowsPerLevel; ++row)
            for (int32_t col = 1; col <= lastCol; ++col)
                if (raw_.codes.At(level, row, col) == code)
                    cells.push_back({row, col});
        return cells;
    }

    void CheckSections()
    {
        if (s_.leadingEmptyRows > 0)
            Add(false, 1, 1, 0,
                std::to_string(s_.leadingEmptyRows) +
                    " empty line(s) before the first level separator move every level down");
        const int levels = std::min(s_.separators, LevelFormat::Levels);
        if (levels < LevelFormat::Levels)
            Add(true, 0, 0, 0,
                "the file holds " + std::to_string(levels) + " level" + (levels == 1 ? "" : "s") +
                    "; a level set needs ten, each opened by a line starting with '*'");
        for (int n = 0; n < levels; ++n) {
            int rows = s_.sectionRows[static_cast<size_t>(n)];
            // Empty lines at the end of the file change nothing.
            if (n == LevelFormat::Levels - 1 && rows > LevelFormat::RowsPerLevel)
                rows = std::max(LevelFormat::RowsPerLevel, rows - s_.trailingEmptyRows);
            if (rows != LevelFormat::RowsPerLevel)
                Add(true, s_.separatorLine[static_cast<size_t>(n)], 1, n + 1,
                    "level " + std::to_string(n + 1) + " has " + std::to_string(rows) +
                        (rows == 1 ? " map row" : " map rows") + "; every level needs exactly 15");
        }
        if (s_.longRows > LevelFormat::ListedLongRows)
            Add(false, 0, 0, 0,
                std::to_string(s_.longRows - LevelFormat::ListedLongRows) + " more map row(s) are longer than " +
                    std::to_string(LevelFormat::MaxRowLength) + " bytes; their ends are ignored");
        if (s_.ignoredLines > 0)
            Add(false, 0, 0, 0,
                std::to_string(s_.ignoredLines) + " line(s) after the tenth level are ignored");
    }

    void CheckLevel(int32_t level)
    {
        const int sepLine = s_.separatorLine[static_cast<size_t>(level)];
        const std::string name = "level " + std::to_string(level + 1);

        const std::optional<MapCell> start =
            FirstViewStart([&](int32_t row, int32_t col) { return raw_.codes.At(level, row, col); });
        if (start && start->col < FirstOpenColumn)
            AddAt(false, level, *start,
                  name + ": the hero start in column 1 stands under the screen's left border, hidden until he "
                         "moves; put it in column " + std::to_string(FirstOpenColumn) + " or further right");
        if (!start) {
            const std::vector<Cell> far = Find(level, Tile::HeroStart);
            if (far.empty())
                Add(true, sepLine, 1, level + 1, name + " has no hero start (code 44, byte 141)");
            else
                AddAt(true, level, far.front(),
                      name + ": the hero start is in column " + std::to_string(far.front().col) +
                          "; the first view only finds it in columns 1 to 20");
        }

        if (Find(level, Tile::LevelEnd, DrawLimitColumn - 1).empty())
            Add(false, sepLine, 1, level + 1,
                name + " has no level-end tile (code 58, byte 155) before column 980; it cannot be finished");

        CheckWarps(level);
        CheckElevators(level);
        CheckRestartPoints(level);
    }

    // Checkpoints a player can see, and no long way back after a death.
    void CheckRestartPoints(int32_t level)
    {
        const auto codeAt = [&](int32_t row, int32_t col) { return raw_.codes.At(level, row, col); };
        const int32_t lastCol = raw_.lastColumn[static_cast<size_t>(level)];
        const std::vector<Checkpoint> checkpoints = LevelCheckpoints(codeAt, lastCol);
        for (const Checkpoint& c : checkpoints)
            if (!IsCheckpointFlag(codeAt(c.cell.row, c.cell.col - 1)))
                AddAt(false, level, c.cell,
                      "this checkpoint has no flag just left of it (code 23, or 18 on night), so players cannot "
                      "see it");
        for (int32_t row = 0; row < LevelFormat::RowsPerLevel; ++row)
            for (int32_t col = 1; col <= lastCol; ++col) {
                if (!IsCheckpointFlag(codeAt(row, col)))
                    continue;
                const bool beside = std::any_of(checkpoints.begin(), checkpoints.end(), [&](const Checkpoint& c) {
                    return CheckpointFlagCell(c.cell) == Cell{row, col};
                });
                if (!beside)
                    AddAt(false, level, Cell{row, col},
                          "this checkpoint flag stands beside no checkpoint (a later hero start just right of it); "
                          "players would take it for one");
            }
        for (const Stretch& s : LongStretches(codeAt, lastCol))
            Add(false, s_.separatorLine[static_cast<size_t>(level)], 1, level + 1,
                "level " + std::to_string(level + 1) + " runs " + std::to_string(s.to - s.from) +
                    " columns from its restart point in column " + std::to_string(s.from) + " to " +
                    (s.toEnd ? "its end" : "the next checkpoint") + " in column " + std::to_string(s.to) +
                    "; a checkpoint at least every " + std::to_string(MaxRestartStretch) +
                    " columns spares players a long way back");
    }

    void CheckWarps(int32_t level)
    {
        std::vector<Cell> all;
        for (int32_t pipe = 0; pipe < 4; ++pipe) {
            const std::vector<Cell> ends = Find(level, Tile::FirstWarp + pipe);
            if (!ends.empty() && ends.size() != 2)
                AddAt(true, level, ends.size() > 2 ? ends[2] : ends[0],
                      "warp pipe " + std::to_string(pipe + 1) + " of level " + std::to_string(level + 1) +
                          " has " + std::to_string(ends.size()) + " end" + (ends.size() == 1 ? "" : "s") +
                          "; a pipe needs exactly two (bytes " + std::to_string(173 + pipe) + ")");
            all.insert(all.end(), ends.begin(), ends.end());
        }
        std::sort(all.begin(), all.end(), [](Cell a, Cell b) { return a.col < b.col || (a.col == b.col && a.row < b.row); });
        for (size_t i = 1; i < all.size(); ++i)
            if (all[i].col - all[i - 1].col < ViewColumns)
                AddAt(true, level, all[i],
                      "this warp end and the one at " + Where(level, all[i - 1]) +
                          " are within one screen width; only one of them can be used");
    }

    // Elevator ends pair up as the game meets them (level/Rules.h).
    void CheckElevators(int32_t level)
    {
        const auto codeAt = [&](int32_t row, int32_t col) { return raw_.codes.At(level, row, col); };
        const ElevatorPairs found =
            PairElevatorEnds(ElevatorEndsInOrder(codeAt, raw_.lastColumn[static_cast<size_t>(level)]));
        for (const ElevatorPairs::Drop& drop : found.dropped)
            AddAt(true, level, drop.end,
                  "this elevator end shares neither a row nor a column with the waiting end at " +
                      Where(level, drop.waiting) + "; it would be dropped");
        if (found.waiting)
            AddAt(false, level, *found.waiting, "this elevator end has no partner; no elevator is made from it");
    }

private:
    LevelCheckResult& r_;
    const RawLevels& raw_;
    const LevelFileSummary& s_;
};

std::string Place(const LevelProblem& p)
{
    char text[32] = "";
    if (p.line > 0 && p.column > 0)
        std::snprintf(text, sizeof text, ":%d:%d", p.line, p.column);
    else if (p.line > 0)
        std::snprintf(text, sizeof text, ":%d", p.line);
    return text;
}

} // namespace

bool LevelCheckResult::ok() const
{
    if (!readable)
        return false;
    return std::none_of(problems.begin(), problems.end(), [](const LevelProblem& p) { return p.error; });
}

std::string LevelCheckResult::Report(const std::string& fileName) const
{
    std::string out;
    for (const LevelProblem& p : problems)
        out += fileName + Place(p) + (p.error ? ": error: " : ": warning: ") + p.message + "\n";
    return out;
}

std::string LevelCheckResult::Summary(const std::string& fileName) const
{
    if (!readable)
        return {}; // the report's one line says why
    const auto errors = std::count_if(problems.begin(), problems.end(), [](const LevelProblem& p) { return p.error; });
    const auto warnings = static_cast<long>(problems.size()) - errors;
    auto count = [](long n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); };
    std::string s = fileName + ": " + count(levels, "level") + ", ";
    if (problems.empty())
        return s + "no problems";
    if (errors > 0)
        s += count(errors, "error") + (warnings > 0 ? ", " : "");
    if (warnings > 0)
        s += count(warnings, "warning");
    return s + (errors > 0 ? "; the game refuses it" : "; the game plays it");
}

std::string LevelCheckResult::FirstError(const std::string& fileName) const
{
    for (const LevelProblem& p : problems) {
        if (!p.error)
            continue;
        std::string s = "The level set " + fileName;
        if (p.line > 0) {
            s += ", line " + std::to_string(p.line);
            if (p.column > 0)
                s += ", column " + std::to_string(p.column);
        }
        return s + ": " + p.message + ".";
    }
    return {};
}

LevelCheckResult CheckLevelSetBytes(std::string_view bytes)
{
    LevelCheckResult result;
    result.readable = true;
    auto raw = std::make_unique<RawLevels>();
    const LevelFileSummary summary = ReadLevelSet(bytes, [&raw](const LevelRow& row) {
        raw->line[static_cast<size_t>(row.level)][static_cast<size_t>(row.row)] = row.line;
        int32_t& last = raw->lastColumn[static_cast<size_t>(row.level)];
        last = std::max(last, static_cast<int32_t>(row.text.size()));
        for (size_t i = 0; i < row.text.size(); ++i)
            raw->codes.Set(row.level, row.row, static_cast<int32_t>(i) + 1,
                           static_cast<int32_t>(static_cast<uint8_t>(row.text[i])) - LevelFormat::FirstByte);
    });
    result.problems = summary.problems;
    if (summary.tooManyProblems)
        result.problems.push_back(
            LevelProblem{true, 0, 0, 0, "too many bytes that give no tile code; the rest are not listed"});

    Checker check(result, *raw, summary);
    check.CheckSections();
    const int levels = std::min(summary.separators, LevelFormat::Levels);
    result.levels = levels;
    for (int32_t level = 0; level < levels; ++level)
        check.CheckLevel(level);

    // File order; findings about the whole file come last.
    std::stable_sort(result.problems.begin(), result.problems.end(), [](const LevelProblem& a, const LevelProblem& b) {
        const long la = a.line > 0 ? a.line : 0x7fffffff, lb = b.line > 0 ? b.line : 0x7fffffff;
        return la < lb || (la == lb && a.column < b.column);
    });
    return result;
}

LevelCheckResult CheckLevelSet(const std::string& path)
{
    std::string bytes, reason;
    if (!ReadFileBytes(path, bytes, reason)) {
        LevelCheckResult result;
        result.readable = false;
        result.problems.push_back(LevelProblem{true, 0, 0, 0, "the file " + reason});
        return result;
    }
    return CheckLevelSetBytes(bytes);
}

} // namespace zorbo
