#include "level/LevelFile.h"

#include "level/Rules.h"
#include "media/RegularFile.h"

#include <cstdio>

namespace zorbo {

namespace {

constexpr size_t kMaxListedProblems = 100;

std::string DescribeByte(uint8_t b)
{
    char text[48];
    if (b >= 32 && b < 127 && b != '\'')
        std::snprintf(text, sizeof text, "byte %u ('%c')", static_cast<unsigned>(b), b);
    else
        std::snprintf(text, sizeof text, "byte %u", static_cast<unsigned>(b));
    return text;
}

void AddProblem(LevelFileSummary& s, int line, int column, int level, std::string message)
{
    if (s.problems.size() >= kMaxListedProblems) {
        s.tooManyProblems = true;
        return;
    }
    s.problems.push_back(LevelProblem{true, line, column, level, std::move(message)});
}

// Reports the first byte of a row that gives no tile code; the rest of the row is only
// counted, so a binary file cannot flood the report.
void CheckRowBytes(LevelFileSummary& s, const LevelRow& row)
{
    int bad = 0;
    size_t first = 0;
    for (size_t j = 0; j < row.text.size(); ++j) {
        const auto b = static_cast<uint8_t>(row.text[j]);
        if (b < LevelFormat::FirstByte || b > LevelFormat::LastByte) {
            if (bad == 0)
                first = j;
            ++bad;
        }
    }
    if (bad == 0)
        return;
    std::string message = DescribeByte(static_cast<uint8_t>(row.text[first])) +
                          " gives no tile code (map rows hold the bytes " + std::to_string(LevelFormat::FirstByte) +
                          " 'a' to " + std::to_string(LevelFormat::LastByte) + ")";
    if (bad > 1)
        message += "; " + std::to_string(bad - 1) + " more such byte" + (bad > 2 ? "s" : "") +
                   " in this line";
    AddProblem(s, row.line, static_cast<int>(first) + 1, row.level + 1, std::move(message));
}

} // namespace

bool LevelFileSummary::valid() const
{
    if (tooManyProblems)
        return false;
    for (const LevelProblem& p : problems)
        if (p.error)
            return false;
    return true;
}

LevelFileSummary ReadLevelSet(std::string_view bytes, const std::function<void(const LevelRow&)>& onRow)
{
    LevelFileSummary s;
    LineSplitter lines(bytes);
    // Kept on purpose: one row counter for the whole file, not reset by a separator, so a
    // section of 14 or 16 rows shifts every later level (level files rely on it).
    RowCounter rows;
    int emptyRun = 0; // empty rows at the end of the current section
    FileLine line;
    while (lines.Next(line)) {
        std::string_view text = line.text;
        ++s.lines;
        const size_t fullLength = text.size();
        if (text.size() > static_cast<size_t>(LevelFormat::MaxRowLength))
            text = text.substr(0, LevelFormat::MaxRowLength);

        if (IsSeparator(text)) {
            if (s.separators < LevelFormat::Levels) {
                s.separatorLine[static_cast<size_t>(s.separators)] = s.lines;
                s.titles[static_cast<size_t>(s.separators)] = SeparatorTitle(text);
            }
            if (s.separators < 1000000)
                ++s.separators;
            emptyRun = 0;
            continue;
        }
        if (s.separators > LevelFormat::Levels) {
            ++s.ignoredLines;
            continue;
        }
        const int32_t mapRow = rows.Next();
        if (s.separators == 0) {
            // Such a row has no level to go to; an empty one still moves the row counter.
            if (text.empty())
                ++s.leadingEmptyRows;
            else
                AddProblem(s, s.lines, 1, 0,
                           "map row before the first level separator (a line starting with '*')");
        } else {
            LevelRow row;
            row.level = s.separators - 1;
            row.row = mapRow;
            row.line = s.lines;
            row.text = text;
            CheckRowBytes(s, row);
            if (fullLength > static_cast<size_t>(LevelFormat::MaxRowLength) && ++s.longRows <= LevelFormat::ListedLongRows)
                s.problems.push_back(LevelProblem{
                    false, s.lines, LevelFormat::MaxRowLength + 1, row.level + 1,
                    "this map row is " + std::to_string(fullLength) + " bytes long; the map ends at column " +
                        std::to_string(LevelFormat::MaxRowLength) + ", so the rest is ignored"});
            ++s.sectionRows[static_cast<size_t>(row.level)];
            emptyRun = text.empty() ? emptyRun + 1 : 0;
            if (row.level == LevelFormat::Levels - 1)
                s.trailingEmptyRows = emptyRun;
            if (onRow)
                onRow(row);
        }
    }
    return s;
}

void StoreLevelRow(const LevelRow& row, TileMap& map, WarpTable& warps)
{
    if (row.level < 0 || row.level >= LevelFormat::Levels)
        return;
    auto& levelWarps = warps[static_cast<size_t>(row.level)];
    for (size_t i = 0; i < row.text.size() && i < static_cast<size_t>(LevelFormat::MaxRowLength); ++i) {
        const int32_t j = static_cast<int32_t>(i) + 1;
        int32_t code = static_cast<int32_t>(static_cast<uint8_t>(row.text[i])) - LevelFormat::FirstByte;
        if (code >= Tile::FirstWarp && code <= Tile::WarpMarker) {
            WarpRecord& w = levelWarps[static_cast<size_t>(code - Tile::FirstWarp)];
            // Kept on purpose: a third end changes no pipe but still becomes a marker (level
            // files rely on it; a used pipe is filled again by the next reload).
            if (w.WarpState == WarpEnds::First) {
                w.X2 = (j - 1) * 16;
                w.Y2 = row.row * 16;
                w.WarpState = WarpEnds::Both;
            } else if (w.WarpState != WarpEnds::Both) {
                w.X1 = (j - 1) * 16;
                w.Y1 = row.row * 16;
                w.WarpState = WarpEnds::First;
            }
            code = Tile::WarpMarker;
        }
        map.Set(row.level, row.row, j, code);
    }
}

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& reason)
{
    const FileError error = ReadRegularFile(path, LevelFormat::MaxFileBytes, bytes, reason);
    if (error == FileError::TooLarge)
        reason += ", far more than ten levels can hold";
    return error == FileError::None;
}

} // namespace zorbo
