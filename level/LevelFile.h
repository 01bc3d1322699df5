#pragma once
// The level-set file format: one reader for the game's loader and for the level-set check.
#include "level/Codes.h" // the tile codes, for every reader of level files
#include "level/LevelCheck.h"
#include "level/TileMap.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zorbo {

namespace LevelFormat {
constexpr int32_t Levels = TileMap::Levels;
constexpr int32_t RowsPerLevel = TileMap::Rows;
constexpr int32_t MaxRowLength = TileMap::Columns - 1; // a row's bytes fill columns 1..1000
constexpr uint8_t FirstByte = 97;   // 'a', code 0
static_assert(FirstByte + Tile::Count - 1 <= 255, "every code has a byte");
constexpr uint8_t LastByte = FirstByte + Tile::Count - 1; // the last code of kCodes
constexpr size_t MaxFileBytes = 4u << 20;
constexpr int ListedLongRows = 10;  // rows longer than the map named one by one
} // namespace LevelFormat

// One map row as the loader stores it.
struct LevelRow {
    int32_t level = 0;     // 0..9
    int32_t row = 0;       // 0..14, the file-wide row counter
    int line = 0;          // from 1
    std::string_view text; // at most 1000 bytes
};

// What one pass over a file found besides its rows.
struct LevelFileSummary {
    std::vector<LevelProblem> problems; // bad bytes, rows before the first separator (errors)
                                        // and rows longer than the map (warnings)
    bool tooManyProblems = false;       // further bad bytes were not listed
    int lines = 0;
    int separators = 0;                 // all of them, also those after the tenth level
    std::array<int, LevelFormat::Levels> separatorLine{};  // line of the separator opening level n
    std::array<int, LevelFormat::Levels> sectionRows{};    // map rows read for level n
    std::array<std::string, LevelFormat::Levels> titles;   // level n's SeparatorTitle ("" if none)
    int trailingEmptyRows = 0;          // empty rows at the end of the tenth level
    int leadingEmptyRows = 0;           // empty rows before the first separator
    int ignoredLines = 0;               // lines after the eleventh separator
    int longRows = 0;                   // map rows cut at the map's last column
    bool valid() const;                 // no error: the loader may store the file
};

// Reads a whole level-set file held in memory: CR, CR LF and LF all end a line, a UTF-8
// byte-order mark at the start is skipped, rows are cut to 1000 bytes (the first few cut
// rows are warned about). Each row that belongs to level 0..9 is handed to onRow (when
// given) in file order, bad bytes and all; callers that store rows check valid() first.
LevelFileSummary ReadLevelSet(std::string_view bytes, const std::function<void(const LevelRow&)>& onRow = {});

// Stores one row into the tables as the loader does: codes into Map from column 1 on,
// warp ends into Warps (stored as the marker code).
void StoreLevelRow(const LevelRow& row, TileMap& map, WarpTable& warps);

// Reads a level-set file into memory; false with a reason when it cannot be opened or read,
// is not a regular file (a FIFO is refused without waiting for a writer) or is far too
// large to be a level set.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& reason);

// The level-set check over bytes already in memory.
LevelCheckResult CheckLevelSetBytes(std::string_view bytes);

} // namespace zorbo
