#include "editor/TestLevel.h"

#include "level/LevelFile.h"

#include <algorithm>

namespace zorbo::editor {

LevelToTry LevelAlone(const LevelDocument& doc, int32_t level)
{
    std::string rows;
    for (int32_t row = 0; row < Rows; ++row) {
        const int32_t length = std::min(doc.RowLength(level, row), Columns);
        for (int32_t col = 1; col <= length; ++col)
            rows += static_cast<char>(doc.Code(level, row, col) + LevelFormat::FirstByte);
        rows += '\n';
    }
    const std::string title = doc.Title(level);
    LevelToTry out;
    for (int32_t place = 1; place <= Levels; ++place) {
        out.text += '*';
        out.text.append(std::to_string(place)).append(1, ' ').append(title).append(1, '\n').append(rows);
    }
    // Each place holds the same level: the findings of its own place are the level's.
    const LevelCheckResult check = CheckLevelSetBytes(out.text);
    for (const LevelProblem& p : check.problems)
        if (p.error && (p.level == 0 || p.level == level + 1)) {
            if (out.errors++ == 0)
                out.firstError = p.message;
        }
    return out;
}

} // namespace zorbo::editor
