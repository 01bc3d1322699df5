#include "game/GameWindow.h"
#include "level/LevelFile.h"
#include "media/WhileLoading.h"

namespace zorbo {

bool GameWindow::LoadLevelData()
{
    const std::string path = LevelSetPathOf(DataPath, LevelSetFolder, gLevelSet);
    try {
        return LoadLevelSet(path);
    } catch (const std::bad_alloc&) {
        Fail(NotEnoughMemoryText(path));
        return false;
    }
}

bool GameWindow::LoadLevelSet(const std::string& path)
{
    std::string bytes, reason;
    LevelCheckResult failure;
    if (!ReadFileBytes(path, bytes, reason)) {
        failure.problems.push_back(LevelProblem{true, 0, 0, 0, "the file " + reason});
    } else {
        // The whole file is read once to be sure of it before any cell is written, so a
        // broken file never leaves a half-loaded level behind.
        const LevelFileSummary summary = ReadLevelSet(bytes);
        if (summary.valid()) {
            ReadLevelSet(bytes, [this](const LevelRow& row) { StoreLevelRow(row, Map, Warps); });
            LevelTitles = summary.titles;
            ShowLevelTitle();
            return true;
        }
        failure.readable = true;
        failure.problems = summary.problems;
    }
    // The set was checked before the game started, so the file changed under the game:
    // say what is wrong and end instead of playing on a broken map.
    Fail(failure.FirstError(path));
    return false;
}

} // namespace zorbo
