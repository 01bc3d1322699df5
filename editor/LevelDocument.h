#pragma once
// A level set being edited: every cell's code, every change undoable, and the file written
// back exactly as it was read except for the cells that were changed.
#include "level/LevelCheck.h"
#include "level/Rules.h"
#include "media/FileLock.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorbo::editor {

constexpr int32_t Levels = TileMap::Levels;
constexpr int32_t Rows = MapRows;
constexpr int32_t Columns = LastMapColumn; // map columns 1..1000

// A rectangle of cells in one level: rows row .. row + rows - 1, columns col .. col + cols - 1
// (columns count from 1, rows from 0, levels from 0).
struct CellRect {
    int32_t level = 0;
    int32_t row = 0;
    int32_t col = 1;
    int32_t rows = 1;
    int32_t cols = 1;
};

// Codes cut or copied out of a level, row by row.
struct Clip {
    int32_t rows = 0;
    int32_t cols = 0;
    std::vector<int32_t> codes; // rows * cols, row-major
};

struct CellPos {
    int32_t level = 0;
    int32_t row = 0;
    int32_t col = 1;
};

// What a level-set file was when the editor last read or wrote it, to tell a change made by
// someone else before it is saved over.
struct DiskState {
    bool exists = false;
    uint64_t size = 0;
    uint64_t hash = 0; // of the bytes read or written
    // The edits were made to an older file than this (a recovery copy older than the file):
    // the file counts as changed until it is saved over or reloaded.
    bool stale = false;
};

// How the file stands against the DiskState a document remembers.
enum class DiskChange : uint8_t { Same, Changed, Deleted };

class LevelDocument {
public:
    // A new set of ten empty levels (LF line ends, no byte-order mark).
    LevelDocument();

    // Reads a level set from the bytes of its file. Only a file the game itself refuses
    // (a byte that is no tile code, a map row before the first level) cannot be edited:
    // then nullopt and error says why, with line and column.
    static std::optional<LevelDocument> FromBytes(std::string_view bytes, std::string& error);
    // Reads a level set from its file and keeps the file locked (FileLock) while the
    // document lives, so a second Zorbo editor on it is refused ("... is already open in
    // another Zorbo editor") instead of silently replacing this one's saves.
    static std::optional<LevelDocument> Load(const std::string& path, std::string& error);
    // Load, except that a file that does not exist, in a folder that does and may be
    // searched, starts a new empty set to be saved there (isNew). Any other reason the file
    // cannot be read (permission denied, a path through a file, a name too long) refuses it.
    static std::optional<LevelDocument> LoadOrNew(const std::string& path, bool& isNew, std::string& error);

    // The file as it would be saved: untouched lines byte for byte, the same line ends and
    // byte-order mark as read.
    std::string ToBytes() const;
    // Writes ToBytes() to a temporary file beside path, then renames it over path, so a
    // failed or interrupted save leaves the old file whole. Clears Modified() on success,
    // and the document then holds path's lock; a path another editor has open is refused.
    bool Save(const std::string& path, std::string& error);

    // Why the file could not be locked against other editors when it was read or saved
    // (empty when it is locked, or for a set never saved).
    const std::string& LockProblem() const { return unlocked_; }
    // The file as this document last read or wrote it (exists is false for a new set).
    const DiskState& Disk() const { return disk_; }
    // Whether the file at path is still as Disk() says, read just before a save: its size,
    // then its bytes' hash (a touched file with the same bytes is the same). A file that
    // appeared where a new set is to go counts as Changed. Same for a path other than the
    // one read or written last (Save as to another file).
    DiskChange ChangedOnDisk(const std::string& path) const;
    // A document of the recovered bytes of an unsaved edit of onDisk (the file as loaded):
    // it remembers onDisk's file, takes over its lock, and is Modified() until saved; when
    // the copy is olderThanFile, the file counts as Changed at the next save.
    // nullopt when the bytes do not read as a level set.
    static std::optional<LevelDocument> Recovered(LevelDocument& onDisk, std::string_view bytes,
                                                  std::string& error, bool olderThanFile = false);

    // The code of a cell; 0 outside the map or past the end of a short row.
    int32_t Code(int32_t level, int32_t row, int32_t col) const;
    // One level's codes, as the shared rules of level/Rules.h read a map.
    CodeAt CodesOf(int32_t level) const
    {
        return [this, level](int32_t row, int32_t col) { return Code(level, row, col); };
    }
    // The last column any row of the level reaches (0 for an empty level).
    int32_t Length(int32_t level) const;
    // The bytes of a level's map row in the file; -1 when the file has no line for it.
    int32_t RowLength(int32_t level, int32_t row) const;

    // A level's title: its separator line's text without the leading number (level/Rules.h);
    // empty for a level the file does not have yet.
    std::string Title(int32_t level) const;
    // Rewrites only the title part of the level's separator line, as one step; the leading
    // '*' and number stay (a line without a number gets the level's). Line breaks in title
    // become spaces. False, with nothing changed, for no such level or the same title.
    bool SetTitle(int32_t level, std::string_view title);

    // Edits. Each call that changes anything is one step of the undo history and clears
    // the redo history; one that changes nothing (painting a cell with its own code) is
    // no step. Cells outside the map are left alone.
    void Paint(int32_t level, int32_t row, int32_t col, int32_t code);
    void Fill(const CellRect& r, int32_t code);
    Clip Copy(const CellRect& r) const;
    void Paste(int32_t level, int32_t row, int32_t col, const Clip& clip);
    // Moves the cells of r by (dRow, dCol); the cells they leave become 0 (background).
    void Move(const CellRect& r, int32_t dRow, int32_t dCol);
    // Insert count empty columns before col in every row of the level (the rest shifts
    // right), or delete count columns from col (the rest shifts left). False, with
    // nothing changed, when an insert would push a non-empty cell past column 1000.
    bool InsertColumns(int32_t level, int32_t col, int32_t count, std::string& error);
    void DeleteColumns(int32_t level, int32_t col, int32_t count);

    // Between BeginGroup and EndGroup every edit joins one step of the history, so a
    // stroke of the brush is undone as a whole. Undo and Redo end an open group.
    void BeginGroup();
    void EndGroup();

    bool Undo();
    bool Redo();
    bool CanUndo() const;
    bool CanRedo() const;
    // Changed since loaded or last saved (an undo back to the saved state is unchanged).
    bool Modified() const;

    // The level-set check of the text as it would be saved.
    LevelCheckResult Check() const;
    // The cell a problem's line and column point at; nullopt when the line is not a map
    // row of a level.
    std::optional<CellPos> CellAt(int line, int column) const;
    // The line (from 1) that holds a level's map row in the text as it would be saved; 0
    // when the file has no line for it yet (a short level: the line is added by the first
    // edit that puts a code other than 0 into that row).
    int LineOf(int32_t level, int32_t row) const;

private:
    // How a line ends; a last line may have no ending.
    using End = LineEnd;
    struct Line {
        std::string text;
        End end = End::LF;
    };
    // One change to the lines. A step of the history is a list of them, applied in order
    // and undone in reverse. A splice keeps only the bytes that differ, so a painted cell
    // costs a few bytes of history however long its row is.
    struct Change {
        enum class Kind : uint8_t { Splice, AddLine, SetEnd };
        Kind kind = Kind::Splice;
        End endBefore = End::None; // SetEnd: the old ending
        End endAfter = End::None;  // SetEnd: the new ending; AddLine: the new empty line's
        int32_t line = 0;          // index into lines_
        size_t at = 0;             // Splice: where the bytes start in the line's text
        std::string before;        // Splice: the bytes taken out
        std::string after;         // Splice: the bytes put in
    };
    using Step = std::vector<Change>;
    class RowEdit;

    // ---- editor/LevelDocument.cpp
    void Reindex();
    const std::string* RowText(int32_t level, int32_t row) const;
    void Record(Change change, Step& step);
    void Apply(const Change& change, bool forward);
    void Push(Step&& step);
    End EndingAfter(int32_t index) const;
    void AddLine(int32_t index, const std::string& text, Step& step);
    int32_t EnsureRow(int32_t level, int32_t row, Step& step);
    void SetRowText(int32_t level, int32_t row, const std::string& text, Step& step);
    void SpliceLine(int32_t index, const std::string& text, Step& step);
    void KeepLineApart(int32_t index, Step& step);

    bool bom_ = false;
    End newline_ = End::LF; // the file's first line ending, for a line added with none before it
    std::vector<Line> lines_;

    // Where the levels are, derived from lines_ by Reindex() after every change of lines.
    int32_t leading_ = 0;        // empty lines before the first separator (they move every row)
    int32_t separators_ = 0;     // separator lines that open a level, at most ten
    std::array<int32_t, Levels> separatorLine_{}; // line index of each level's separator, -1 when missing
    std::array<int32_t, Levels> sectionEnd_{};   // line index just past each level's lines
    std::array<int32_t, Levels> sectionLines_{}; // lines between a level's separator and the next
    std::array<std::array<int32_t, Rows>, Levels> home_{}; // line index of each row, -1 when missing
    std::vector<int16_t> rowOfLine_; // level * Rows + row of each map line, -1 for other lines

    std::vector<Step> history_;
    size_t done_ = 0;  // steps of history_ in effect; the rest can be redone
    bool grouping_ = false;     // edits join one step
    bool groupStarted_ = false; // ... and that step is history_[done_ - 1]
    size_t saved_ = 0; // done_ when loaded or saved; npos once that state cannot come back
    FileLock lock_;    // the file this document was loaded from or last saved to
    std::string unlocked_; // why lock_ could not be taken
    std::string diskPath_; // the file last read or written; empty for a set never saved
    DiskState disk_;
};

} // namespace zorbo::editor
