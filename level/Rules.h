#pragma once
// The level rules the game, the level check and the editor share, each written once: the
// map's size, the first view, what an emptied cell becomes, how elevator ends pair up, and
// how a level file splits into lines and map rows.
#include "level/Codes.h"
#include "level/TileMap.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorbo {

// ---- the map

// Rows of a level, and the last column a level file can fill (column 0 is never written).
constexpr int32_t MapRows = TileMap::Rows;
constexpr int32_t LastMapColumn = TileMap::Columns - 1;

// Columns the screen shows whole; the drawing pass visits one more, the column partly
// scrolled out at the left, so that its objects exist before they scroll in.
constexpr int32_t ScreenColumns = 20;
constexpr int32_t ViewColumns = ScreenColumns + 1;
// Drawing stops once the view's first column gets here, so a level must end before it.
constexpr int32_t DrawLimitColumn = LastMapColumn - ScreenColumns;

// A code read at (row, col) of one level; outside the map it reads 0.
using CodeAt = std::function<int32_t(int32_t row, int32_t col)>;

// ---- the first view

// Where the hero stands within the screen at most: a start further right scrolls the view.
constexpr int32_t StartScreenX = 160;

struct StartView {
    int32_t viewX; // the view's world x
    int32_t heroX; // the hero's screen x
};

// The view a hero start at world x (its column's left edge) begins with.
constexpr StartView ViewOfStart(int32_t worldX)
{
    return worldX > StartScreenX ? StartView{worldX - StartScreenX, StartScreenX} : StartView{0, worldX};
}

// The screen's left edge is covered by a border strip one column (16 pixels) wide, so a hero
// standing in the map's first column is hidden under it until he moves. A level tried out
// from a column begins no further left than this one (a level's own start is where its file
// puts it; the check warns about one in the first column).
constexpr int32_t FirstOpenColumn = 2;
constexpr int32_t TestStartColumn(int32_t col) { return col < FirstOpenColumn ? FirstOpenColumn : col; }

// The first column of the first screen that a hero start in column startCol gives.
constexpr int32_t FirstScreenColumn(int32_t startCol)
{
    return ViewOfStart((startCol - 1) * 16).viewX / 16 + 1;
}

// The draw pass visits the view's column (ViewX / 16) and ScreenColumns more, so a column
// comes into view, and its object goes live, once the view's column reaches this.
constexpr int32_t ViewColumnShowing(int32_t col) { return col - ScreenColumns; }

// A later hero start is a checkpoint: it moves the restart point as it comes into view.
// The hero then stands in this column, the view scrolling with him StartScreenX into the
// screen.
constexpr int32_t CheckpointTakenFrom(int32_t col)
{
    return (ViewColumnShowing(col) * 16 + StartScreenX) / 16 + 1;
}

// What a restart at a checkpoint in column col brings to life at once: the columns its view
// visits, the first of them wholly left of the screen (a start at that column gives the
// same view).
struct ColumnSpan {
    int32_t first = 0;
    int32_t last = 0;
};
constexpr ColumnSpan RestartViewColumns(int32_t col)
{
    const int32_t first = FirstScreenColumn(col) - 1;
    return {first, first + ScreenColumns};
}

// Safe ground for a checkpoint in column col, so that a restart never lands the hero ahead
// of a danger he has not passed, nor beside an enemy:
// - no pit from CheckpointTakenFrom(col) to col, the stretch he may still fall in once the
//   restart point has moved;
// - no enemy or hazard from the restart view's first column to CheckpointClearAhead columns
//   past col: all of them come to life at once, behind him or just in front;
// - nothing further on in the restart view reaches a hero who stands still for
//   CheckpointQuietSeconds (a test plays each Standard checkpoint so).
constexpr int32_t CheckpointClearAhead = 5;
constexpr int32_t CheckpointQuietSeconds = 4;
constexpr ColumnSpan CheckpointPitFree(int32_t col) { return {CheckpointTakenFrom(col), col}; }
constexpr ColumnSpan CheckpointEnemyFree(int32_t col) { return {RestartViewColumns(col).first, col + CheckpointClearAhead}; }

// The hero start the first view finds (top row first, columns 1..20); nullopt without one.
struct MapCell {
    int32_t row = 0;
    int32_t col = 1;
    bool operator==(const MapCell&) const = default;
};
std::optional<MapCell> FirstViewStart(const CodeAt& codeAt);

// Every hero start but the first view's, and the column the hero is in when it comes into
// view and moves the restart point (0 when the first view shows it already, which moves
// the restart point at once).
struct Checkpoint {
    MapCell cell;
    int32_t takenFrom = 0;
};
// A level's checkpoints up to lastCol, left to right and each column from the top.
std::vector<Checkpoint> LevelCheckpoints(const CodeAt& codeAt, int32_t lastCol);

// A checkpoint's flag (IsCheckpointFlag) stands just left of it, in its row, and nowhere
// else, so that players see where they will come back.
constexpr MapCell CheckpointFlagCell(MapCell checkpoint) { return {checkpoint.row, checkpoint.col - 1}; }

// ---- restart points

// The most columns from one restart point (the level's start or a checkpoint) to the next
// or to the level's end, so that a death never costs a long stretch played again.
constexpr int32_t MaxRestartStretch = 150;

// The first column holding a level end up to lastCol; 0 without one.
int32_t FirstLevelEndColumn(const CodeAt& codeAt, int32_t lastCol);

// The stretches longer than MaxRestartStretch from one restart point to the next or to the
// first level end (`to` is its column).
struct Stretch {
    int32_t from = 0; // the restart point's column
    int32_t to = 0;
    bool toEnd = false; // `to` is the level end, not a checkpoint
};
std::vector<Stretch> LongStretches(const CodeAt& codeAt, int32_t lastCol);

// ---- emptied cells

// Which neighbours decide what an emptied cell becomes. An object's cell, and a brick a
// shell breaks, look left, right and above; a brick the hero's head breaks looks only below
// it (kept on purpose: recordings see the map it leaves).
enum class EmptiedBy : uint8_t { Object, HeroHead };

// The code an emptied area of cells (rows x cols from row, col) takes: the second
// background (9) where it borders on it, else the first (0).
int32_t EmptiedCode(const CodeAt& codeAt, int32_t row, int32_t col, EmptiedBy by = EmptiedBy::Object,
                    int32_t rows = 1, int32_t cols = 1);

// The code a cell holds once its object is live (or its brick is broken), by its row of
// kCodes; a code that stays is returned unchanged.
int32_t BecomesCode(int32_t code, const CodeAt& codeAt, int32_t row, int32_t col, EmptiedBy by = EmptiedBy::Object);

// ---- elevators

// How a new elevator end joins the waiting one: in the same column it makes an up-and-down
// platform, else in the same row a sideways one; an end sharing neither is dropped (kept
// on purpose: level files rely on it). The
// game compares screen pixels, the check and the editor cells: the same relation.
enum class ElevatorLink : uint8_t { UpDown, Sideways, Dropped };
constexpr ElevatorLink LinkElevatorEnds(int32_t waitingX, int32_t waitingY, int32_t x, int32_t y)
{
    if (waitingX == x)
        return ElevatorLink::UpDown;
    if (waitingY == y)
        return ElevatorLink::Sideways;
    return ElevatorLink::Dropped;
}

// Elevator ends in the order the game meets them: the first view row by row, then each new
// column from the top, up to lastCol.
std::vector<MapCell> ElevatorEndsInOrder(const CodeAt& codeAt, int32_t lastCol);

struct ElevatorPairs {
    struct Pair {
        MapCell first; // where the platform starts
        MapCell second;
    };
    struct Drop {
        MapCell end;
        MapCell waiting; // the end it shared neither row nor column with
    };
    std::vector<Pair> pairs;
    std::vector<Drop> dropped;
    std::optional<MapCell> waiting; // an end left without a partner
};
// Each end in turn against the one waiting, as the game's activation pairs them.
ElevatorPairs PairElevatorEnds(const std::vector<MapCell>& ends);

// ---- lines and rows of a level file

enum class LineEnd : uint8_t { None, LF, CRLF, CR };
std::string_view LineEndBytes(LineEnd end);

struct FileLine {
    std::string_view text;
    LineEnd end = LineEnd::None; // None: the last line, with no ending
};

// Splits a level file as the game reads it: CR, CR LF and LF each end a line, and a UTF-8
// byte-order mark at the start is skipped.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view bytes);
    bool HadByteOrderMark() const { return bom_; }
    // The next line; false at the end of the bytes.
    bool Next(FileLine& line);

private:
    std::string_view bytes_;
    size_t pos_ = 0;
    bool bom_ = false;
};

// A line opens a level when it starts with '*'; the rest of it is free text, by custom the
// level's number and title ("*3 Glowworm Cave"). The title is that text without the leading
// number and the spaces around it (empty when the line has none).
constexpr bool IsSeparator(std::string_view line) { return !line.empty() && line.front() == '*'; }
std::string_view SeparatorTitle(std::string_view line);
// A title as text for a window or a list: a level file is bytes, not always UTF-8, so every
// byte that does not belong to a well-formed UTF-8 sequence is read as Latin-1.
std::string TitleText(std::string_view title);
// How the game's caption and the editor's chooser name a level (0..9): "3 · Glowworm Cave",
// or "3" for a level without a title.
std::string LevelName(int32_t level, std::string_view title);

// The map row each line fills. The game's counter runs over every line of the file that
// is no separator (empty lines before the first level included) and wraps after row 14.
class RowCounter {
public:
    explicit RowCounter(int64_t linesBefore = 0) : next_(static_cast<int32_t>(linesBefore % MapRows)) {}
    int32_t Next()
    {
        const int32_t row = next_;
        if (++next_ >= MapRows)
            next_ = 0;
        return row;
    }

private:
    int32_t next_;
};

} // namespace zorbo
