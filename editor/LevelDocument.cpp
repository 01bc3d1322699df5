#include "editor/LevelDocument.h"

#include "media/AtomicFile.h"
#include "media/Fnv1a.h"
#include "media/RegularFile.h"
#include "level/LevelFile.h"
#include "level/Rules.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

namespace zorbo::editor {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr char kEmptyByte = static_cast<char>(LevelFormat::FirstByte); // code 0
constexpr size_t kMapBytes = static_cast<size_t>(Columns);             // bytes of a row the game reads
constexpr size_t kNoState = static_cast<size_t>(-1);

char ByteOf(int32_t code) { return static_cast<char>(code + LevelFormat::FirstByte); }
int32_t CodeOf(char b) { return static_cast<int32_t>(static_cast<uint8_t>(b)) - LevelFormat::FirstByte; }
bool InMap(int64_t row, int64_t col) { return row >= 0 && row < Rows && col >= 1 && col <= Columns; }

// The part of a rectangle inside the map, as inclusive bounds.
struct Area {
    int32_t level = 0;
    int32_t row0 = 0, row1 = -1;
    int32_t col0 = 1, col1 = 0;
    bool Empty() const { return row1 < row0 || col1 < col0; }
    int32_t Rows() const { return row1 - row0 + 1; }
    int32_t Cols() const { return col1 - col0 + 1; }
};

Area InsideMap(const CellRect& r)
{
    Area a;
    if (r.level < 0 || r.level >= Levels || r.rows <= 0 || r.cols <= 0)
        return a;
    a.level = r.level;
    a.row0 = static_cast<int32_t>(std::max<int64_t>(r.row, 0));
    a.row1 = static_cast<int32_t>(std::min<int64_t>(int64_t{r.row} + r.rows - 1, Rows - 1));
    a.col0 = static_cast<int32_t>(std::max<int64_t>(r.col, 1));
    a.col1 = static_cast<int32_t>(std::min<int64_t>(int64_t{r.col} + r.cols - 1, Columns));
    return a;
}

// The file's state after its bytes were read or written. The modification time is left
// out: a file touched with the same bytes is no change, and one rewritten within the
// clock's step is told by its bytes.
DiskState StateAfter(std::string_view bytes)
{
    return DiskState{true, bytes.size(), Fnv1aOf(bytes)};
}

} // namespace

// The new texts of one level's rows, gathered cell by cell, so that one edit becomes one
// step however many rows it touches.
class LevelDocument::RowEdit {
public:
    RowEdit(LevelDocument& doc, int32_t level) : doc_(doc), level_(level) {}

    std::string& Text(int32_t row)
    {
        std::optional<std::string>& slot = rows_[static_cast<size_t>(row)];
        if (!slot) {
            const std::string* current = doc_.RowText(level_, row);
            slot = current ? *current : std::string();
        }
        return *slot;
    }

    // A row grows with code 0 up to a cell given another code; a cell that keeps its code
    // leaves the row as it is, so painting 0 past a row's end adds nothing.
    void Set(int64_t row, int64_t col, int32_t code)
    {
        if (!InMap(row, col) || !IsCode(code))
            return;
        std::string& text = Text(static_cast<int32_t>(row));
        const auto i = static_cast<size_t>(col - 1);
        if (i >= text.size()) {
            if (code == Tile::Background)
                return;
            text.resize(i + 1, kEmptyByte);
        }
        text[i] = ByteOf(code);
    }

    void Paste(int64_t row, int64_t col, const Clip& clip)
    {
        if (clip.rows <= 0 || clip.cols <= 0 ||
            clip.codes.size() < static_cast<size_t>(clip.rows) * static_cast<size_t>(clip.cols))
            return;
        const int64_t i0 = std::max<int64_t>(0, -row), i1 = std::min<int64_t>(clip.rows, Rows - row);
        const int64_t j0 = std::max<int64_t>(0, 1 - col), j1 = std::min<int64_t>(clip.cols, Columns + 1 - col);
        for (int64_t i = i0; i < i1; ++i)
            for (int64_t j = j0; j < j1; ++j)
                Set(row + i, col + j, clip.codes[static_cast<size_t>(i * clip.cols + j)]);
    }

    void Commit()
    {
        KeepRowsEven();
        Step step;
        for (int32_t row = 0; row < Rows; ++row)
            if (rows_[static_cast<size_t>(row)])
                doc_.SetRowText(level_, row, *rows_[static_cast<size_t>(row)], step);
        doc_.Push(std::move(step));
    }

private:
    // A level whose rows were all one length stays so when an edit lengthens some of them:
    // the others grow with code 0 to match, as the file's layout rule asks. A level whose
    // rows already differ is left as its maker wrote it.
    void KeepRowsEven()
    {
        size_t before = 0, longest = 0;
        for (int32_t row = 0; row < Rows; ++row) {
            const std::string* current = doc_.RowText(level_, row);
            const size_t length = current ? current->size() : 0;
            if (row == 0)
                before = length;
            else if (length != before)
                return;
            if (rows_[static_cast<size_t>(row)])
                longest = std::max(longest, rows_[static_cast<size_t>(row)]->size());
        }
        if (longest <= before)
            return;
        for (int32_t row = 0; row < Rows; ++row) {
            std::string& text = Text(row);
            if (text.size() < longest)
                text.resize(longest, kEmptyByte);
        }
    }

    LevelDocument& doc_;
    int32_t level_;
    std::array<std::optional<std::string>, Rows> rows_;
};

// ---- reading and writing

LevelDocument::LevelDocument()
{
    for (int32_t n = 0; n < Levels; ++n) {
        lines_.push_back(Line{"*Level " + std::to_string(n + 1), End::LF});
        for (int32_t row = 0; row < Rows; ++row)
            lines_.push_back(Line{"", End::LF});
    }
    Reindex();
}

std::optional<LevelDocument> LevelDocument::FromBytes(std::string_view bytes, std::string& error)
{
    const LevelFileSummary summary = ReadLevelSet(bytes);
    if (!summary.valid()) {
        const auto first = std::find_if(summary.problems.begin(), summary.problems.end(),
                                        [](const LevelProblem& p) { return p.error; });
        if (first == summary.problems.end())
            error = "too many bytes that give no tile code";
        else
            error = "line " + std::to_string(first->line) + ", column " + std::to_string(first->column) + ": " +
                    first->message;
        return std::nullopt;
    }

    // Lines are split exactly as the game's reader splits them, so line numbers agree.
    LevelDocument doc;
    doc.lines_.clear();
    LineSplitter lines(bytes);
    doc.bom_ = lines.HadByteOrderMark();
    bool sawEnding = false;
    FileLine line;
    while (lines.Next(line)) {
        if (line.end != LineEnd::None && !sawEnding) {
            doc.newline_ = line.end;
            sawEnding = true;
        }
        doc.lines_.push_back(Line{std::string(line.text), line.end});
    }
    doc.Reindex();
    return doc;
}

namespace {

// Takes path's lock for a document. Only another editor holding it refuses the file: one
// that cannot be locked at all is still edited, as before there were locks, with the
// reason in `unlocked` (the question before a save still guards it).
bool LockFor(const std::string& path, FileLock& lock, std::string& error, std::string& unlocked)
{
    std::string reason;
    unlocked.clear();
    if (lock.Acquire(path, reason))
        return true;
    if (!lock.Busy()) {
        unlocked = reason;
        return true;
    }
    error = path + " is already open in another Zorbo editor";
    return false;
}

} // namespace

std::optional<LevelDocument> LevelDocument::Load(const std::string& path, std::string& error)
{
    FileLock lock;
    std::string unlocked;
    if (!LockFor(path, lock, error, unlocked))
        return std::nullopt;
    std::string bytes, reason;
    if (!ReadFileBytes(path, bytes, reason)) {
        error = path + " " + reason;
        return std::nullopt;
    }
    std::optional<LevelDocument> doc = FromBytes(bytes, reason);
    if (!doc) {
        error = path + ": " + reason;
        return doc;
    }
    doc->lock_ = std::move(lock);
    doc->unlocked_ = std::move(unlocked);
    doc->diskPath_ = path;
    doc->disk_ = StateAfter(bytes);
    return doc;
}

std::optional<LevelDocument> LevelDocument::LoadOrNew(const std::string& path, bool& isNew, std::string& error)
{
    isNew = false;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        return Load(path, error);
    const int why = errno;
    // Only ENOENT says the file is not there; a folder the user may not search gives EACCES.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    const std::string folderName = folder.empty() ? "." : folder.string();
    struct stat folderSt {};
    if (why != ENOENT) {
        error = path + " cannot be opened: " + ErrorText(why);
        return std::nullopt;
    }
    if (::stat(folderName.c_str(), &folderSt) != 0 || !S_ISDIR(folderSt.st_mode)) {
        error = path + " cannot be opened: its folder " + folderName + " does not exist";
        return std::nullopt;
    }
    isNew = true;
    LevelDocument doc;
    doc.diskPath_ = path;
    return doc;
}

std::optional<LevelDocument> LevelDocument::Recovered(LevelDocument& onDisk, std::string_view bytes,
                                                      std::string& error, bool olderThanFile)
{
    std::optional<LevelDocument> doc = FromBytes(bytes, error);
    if (!doc)
        return doc;
    doc->diskPath_ = onDisk.diskPath_;
    doc->disk_ = onDisk.disk_;
    doc->disk_.stale = olderThanFile && onDisk.disk_.exists;
    doc->lock_ = std::move(onDisk.lock_); // the file stays this editor's
    doc->unlocked_ = onDisk.unlocked_;
    doc->saved_ = kNoState; // the recovered edits are not in the file yet
    return doc;
}

DiskChange LevelDocument::ChangedOnDisk(const std::string& path) const
{
    if (path != diskPath_)
        return DiskChange::Same;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        // Another reason it cannot be looked at is for the save itself to report.
        return errno == ENOENT && disk_.exists ? DiskChange::Deleted : DiskChange::Same;
    if (!disk_.exists || disk_.stale || static_cast<uint64_t>(st.st_size) != disk_.size)
        return DiskChange::Changed;
    std::string bytes, reason;
    if (!ReadFileBytes(path, bytes, reason))
        return DiskChange::Same;
    return Fnv1aOf(bytes) == disk_.hash ? DiskChange::Same : DiskChange::Changed;
}

std::string LevelDocument::ToBytes() const
{
    size_t size = bom_ ? kBom.size() : 0;
    for (const Line& line : lines_)
        size += line.text.size() + 2;
    std::string out;
    out.reserve(size);
    if (bom_)
        out += kBom;
    for (const Line& line : lines_) {
        out += line.text;
        out += LineEndBytes(line.end);
    }
    return out;
}

bool LevelDocument::Save(const std::string& path, std::string& error)
{
    FileLock lock;
    std::string reason;
    std::string unlocked;
    if (!LockFor(path, lock, reason, unlocked)) {
        error = "cannot save " + path + ": it is open in another Zorbo editor";
        return false;
    }
    const std::string bytes = ToBytes();
    const AtomicFile::Outcome end = AtomicFile::WriteWhole(path, bytes, reason);
    if (end != AtomicFile::Outcome::Saved) {
        error = "cannot save " + path + ": " + reason +
                (end == AtomicFile::Outcome::NotWritten ? "; the old file is unchanged" : "");
        return false;
    }
    // What is saved is a finished step: later edits start a new one.
    EndGroup();
    saved_ = done_;
    unlocked_ = lock.Held() ? std::string() : unlocked;
    if (lock.Held())
        lock_ = std::move(lock);
    diskPath_ = path;
    disk_ = StateAfter(bytes);
    return true;
}

// ---- cells

const std::string* LevelDocument::RowText(int32_t level, int32_t row) const
{
    if (level < 0 || level >= Levels || row < 0 || row >= Rows)
        return nullptr;
    const int32_t index = home_[static_cast<size_t>(level)][static_cast<size_t>(row)];
    return index < 0 ? nullptr : &lines_[static_cast<size_t>(index)].text;
}

int32_t LevelDocument::Code(int32_t level, int32_t row, int32_t col) const
{
    const std::string* text = RowText(level, row);
    if (!text || col < 1 || col > Columns || static_cast<size_t>(col) > text->size())
        return 0;
    return CodeOf((*text)[static_cast<size_t>(col - 1)]);
}

int32_t LevelDocument::Length(int32_t level) const
{
    size_t length = 0;
    for (int32_t row = 0; row < Rows; ++row)
        if (const std::string* text = RowText(level, row))
            length = std::max(length, std::min(text->size(), kMapBytes));
    return static_cast<int32_t>(length);
}

int32_t LevelDocument::RowLength(int32_t level, int32_t row) const
{
    const std::string* text = RowText(level, row);
    return text ? static_cast<int32_t>(text->size()) : -1;
}

// ---- titles

std::string LevelDocument::Title(int32_t level) const
{
    if (level < 0 || level >= Levels || separatorLine_[static_cast<size_t>(level)] < 0)
        return {};
    return std::string(SeparatorTitle(lines_[static_cast<size_t>(separatorLine_[static_cast<size_t>(level)])].text));
}

bool LevelDocument::SetTitle(int32_t level, std::string_view title)
{
    if (level < 0 || level >= Levels)
        return false;
    std::string clean(title);
    std::replace_if(clean.begin(), clean.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!clean.empty() && blank(clean.back()))
        clean.pop_back();
    clean.erase(0, std::find_if_not(clean.begin(), clean.end(), blank) - clean.begin());
    if (separatorLine_[static_cast<size_t>(level)] >= 0 && Title(level) == clean)
        return false;
    Step step;
    if (separatorLine_[static_cast<size_t>(level)] < 0)
        EnsureRow(level, 0, step);
    const auto index = separatorLine_[static_cast<size_t>(level)];
    const std::string& old = lines_[static_cast<size_t>(index)].text;
    // The '*', the blanks and the number before the title stay as they are.
    size_t keep = 1;
    while (keep < old.size() && (old[keep] == ' ' || old[keep] == '\t'))
        ++keep;
    const size_t number = keep;
    while (keep < old.size() && old[keep] >= '0' && old[keep] <= '9')
        ++keep;
    std::string text = keep > number ? old.substr(0, keep) : "*" + std::to_string(level + 1);
    if (!clean.empty())
        text += " " + clean;
    SpliceLine(index, text, step);
    Push(std::move(step));
    return true;
}

// ---- edits

void LevelDocument::Paint(int32_t level, int32_t row, int32_t col, int32_t code)
{
    Fill(CellRect{level, row, col, 1, 1}, code);
}

void LevelDocument::Fill(const CellRect& r, int32_t code)
{
    const Area a = InsideMap(r);
    if (a.Empty() || !IsCode(code))
        return;
    RowEdit edit(*this, a.level);
    for (int32_t row = a.row0; row <= a.row1; ++row)
        for (int32_t col = a.col0; col <= a.col1; ++col)
            edit.Set(row, col, code);
    edit.Commit();
}

Clip LevelDocument::Copy(const CellRect& r) const
{
    const Area a = InsideMap(r);
    Clip clip;
    if (a.Empty())
        return clip;
    clip.rows = a.Rows();
    clip.cols = a.Cols();
    clip.codes.reserve(static_cast<size_t>(clip.rows) * static_cast<size_t>(clip.cols));
    for (int32_t row = a.row0; row <= a.row1; ++row)
        for (int32_t col = a.col0; col <= a.col1; ++col)
            clip.codes.push_back(Code(a.level, row, col));
    return clip;
}

void LevelDocument::Paste(int32_t level, int32_t row, int32_t col, const Clip& clip)
{
    if (level < 0 || level >= Levels)
        return;
    RowEdit edit(*this, level);
    edit.Paste(row, col, clip);
    edit.Commit();
}

void LevelDocument::Move(const CellRect& r, int32_t dRow, int32_t dCol)
{
    const Area a = InsideMap(r);
    if (a.Empty() || (dRow == 0 && dCol == 0))
        return;
    const Clip clip = Copy(r);
    RowEdit edit(*this, a.level);
    for (int32_t row = a.row0; row <= a.row1; ++row)
        for (int32_t col = a.col0; col <= a.col1; ++col)
            edit.Set(row, col, Tile::Background);
    edit.Paste(int64_t{a.row0} + dRow, int64_t{a.col0} + dCol, clip);
    edit.Commit();
}

bool LevelDocument::InsertColumns(int32_t level, int32_t col, int32_t count, std::string& error)
{
    if (level < 0 || level >= Levels || col < 1 || col > Columns || count < 0) {
        error = "cannot insert " + std::to_string(count) + " column(s) at column " + std::to_string(col) +
                " of level " + std::to_string(level + 1) + ": there is no such place in the map";
        return false;
    }
    RowEdit edit(*this, level);
    const auto at = static_cast<size_t>(col - 1);
    const size_t added = std::min(static_cast<size_t>(count), kMapBytes - at); // more fall off the end anyway
    const size_t firstLost = kMapBytes - added; // cells from here on are pushed past the last column
    for (int32_t row = 0; row < Rows && added > 0; ++row) {
        const std::string* text = RowText(level, row);
        const size_t length = text ? std::min(text->size(), kMapBytes) : 0;
        if (length <= at)
            continue; // nothing at or after col to shift
        for (size_t j = std::max(at, firstLost); j < length; ++j)
            if ((*text)[j] != kEmptyByte) {
                error = "inserting " + std::to_string(count) + " column(s) at column " + std::to_string(col) +
                        " of level " + std::to_string(level + 1) + " would push the cell in row " +
                        std::to_string(row) + ", column " + std::to_string(j + 1) + " (code " +
                        std::to_string(CodeOf((*text)[j])) + ") past column " + std::to_string(Columns);
                return false;
            }
        // Bytes past the map stay where they are: the game ignores them either way.
        edit.Text(row) = text->substr(0, at) + std::string(added, kEmptyByte) +
                         text->substr(at, std::min(length, firstLost) - at) + text->substr(length);
    }
    edit.Commit();
    return true;
}

void LevelDocument::DeleteColumns(int32_t level, int32_t col, int32_t count)
{
    if (level < 0 || level >= Levels || col < 1 || col > Columns || count <= 0)
        return;
    RowEdit edit(*this, level);
    const auto at = static_cast<size_t>(col - 1);
    for (int32_t row = 0; row < Rows; ++row) {
        const std::string* text = RowText(level, row);
        const size_t length = text ? std::min(text->size(), kMapBytes) : 0;
        if (length <= at)
            continue;
        const size_t gone = std::min(static_cast<size_t>(count), length - at);
        std::string shifted = text->substr(0, at) + text->substr(at + gone, length - at - gone);
        if (text->size() > kMapBytes) // bytes past the map stay past it
            shifted.resize(kMapBytes, kEmptyByte);
        edit.Text(row) = shifted + text->substr(length);
    }
    edit.Commit();
}

// ---- history

void LevelDocument::Record(Change change, Step& step)
{
    Apply(change, true);
    step.push_back(std::move(change));
}

void LevelDocument::Apply(const Change& c, bool forward)
{
    const auto index = static_cast<size_t>(c.line);
    switch (c.kind) {
    case Change::Kind::Splice: {
        std::string& text = lines_[index].text;
        if (forward)
            text.replace(c.at, c.before.size(), c.after);
        else
            text.replace(c.at, c.after.size(), c.before);
        break;
    }
    case Change::Kind::AddLine:
        if (forward)
            lines_.insert(lines_.begin() + c.line, Line{"", c.endAfter});
        else
            lines_.erase(lines_.begin() + c.line);
        Reindex();
        break;
    case Change::Kind::SetEnd:
        lines_[index].end = forward ? c.endAfter : c.endBefore;
        break;
    }
}

void LevelDocument::BeginGroup()
{
    grouping_ = true;
    groupStarted_ = false;
}

void LevelDocument::EndGroup()
{
    grouping_ = false;
    groupStarted_ = false;
}

void LevelDocument::Push(Step&& step)
{
    if (step.empty())
        return;
    if (grouping_ && groupStarted_) {
        Step& group = history_[done_ - 1];
        group.insert(group.end(), std::make_move_iterator(step.begin()), std::make_move_iterator(step.end()));
        return;
    }
    groupStarted_ = grouping_;
    history_.resize(done_);
    if (saved_ != kNoState && saved_ > done_)
        saved_ = kNoState; // the saved state was undone and is now overwritten
    history_.push_back(std::move(step));
    ++done_;
}

bool LevelDocument::Undo()
{
    EndGroup();
    if (done_ == 0)
        return false;
    const Step& step = history_[--done_];
    for (auto c = step.rbegin(); c != step.rend(); ++c)
        Apply(*c, false);
    return true;
}

bool LevelDocument::Redo()
{
    EndGroup();
    if (done_ >= history_.size())
        return false;
    for (const Change& c : history_[done_++])
        Apply(c, true);
    return true;
}

bool LevelDocument::CanUndo() const { return done_ > 0; }
bool LevelDocument::CanRedo() const { return done_ < history_.size(); }
bool LevelDocument::Modified() const { return done_ != saved_; }

// ---- lines

void LevelDocument::Reindex()
{
    leading_ = 0;
    separatorLine_.fill(-1);
    sectionEnd_.fill(-1);
    sectionLines_.fill(0);
    for (auto& rows : home_)
        rows.fill(-1);
    rowOfLine_.assign(lines_.size(), -1);
    int32_t seen = 0; // separators so far, also those after the tenth level
    RowCounter rows;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const auto index = static_cast<int32_t>(i);
        const std::string& text = lines_[i].text;
        if (IsSeparator(text)) {
            if (seen >= 1 && seen <= Levels)
                sectionEnd_[static_cast<size_t>(seen - 1)] = index;
            if (seen < Levels)
                separatorLine_[static_cast<size_t>(seen)] = index;
            if (seen <= Levels)
                ++seen;
            // Each level counts its rows from its own separator, so that a short level is
            // mended by adding lines; for a file the game plays (fifteen rows a level) this
            // is the game's own count.
            rows = RowCounter(leading_);
            continue;
        }
        if (seen == 0) {
            ++leading_; // only empty lines come before the first level in a file we hold
            continue;
        }
        if (seen > Levels)
            continue;
        // Empty lines before the first level move every row down, as in the game; a level
        // with more than fifteen lines keeps its first fifteen as its rows.
        const auto level = static_cast<size_t>(seen - 1);
        const int32_t k = sectionLines_[level]++;
        const int32_t row = rows.Next();
        rowOfLine_[i] = static_cast<int16_t>(static_cast<int32_t>(level) * Rows + row);
        if (k < Rows)
            home_[level][static_cast<size_t>(row)] = index;
    }
    if (seen >= 1 && seen <= Levels)
        sectionEnd_[static_cast<size_t>(seen - 1)] = static_cast<int32_t>(lines_.size());
    separators_ = std::min(seen, Levels);
}

LevelDocument::End LevelDocument::EndingAfter(int32_t index) const
{
    // The ending of the line before keeps a CR-ended line from meeting an added empty
    // LF-ended one, which the reader would take for a single CR LF.
    if (index > 0 && lines_[static_cast<size_t>(index - 1)].end != End::None)
        return lines_[static_cast<size_t>(index - 1)].end;
    return newline_;
}

void LevelDocument::AddLine(int32_t index, const std::string& text, Step& step)
{
    const auto count = static_cast<int32_t>(lines_.size());
    if (index == count && count > 0 && lines_.back().end == End::None) {
        Change end{Change::Kind::SetEnd, End::None, EndingAfter(count - 1), count - 1, 0, {}, {}};
        Record(std::move(end), step);
    }
    Record(Change{Change::Kind::AddLine, End::None, EndingAfter(index), index, 0, {}, {}}, step);
    if (!text.empty())
        Record(Change{Change::Kind::Splice, End::None, End::None, index, 0, {}, text}, step);
}

int32_t LevelDocument::EnsureRow(int32_t level, int32_t row, Step& step)
{
    const auto l = static_cast<size_t>(level);
    const auto r = static_cast<size_t>(row);
    // A missing level goes at the end of the file: a separator and fifteen empty rows.
    while (separators_ <= level) {
        AddLine(static_cast<int32_t>(lines_.size()), "*Level " + std::to_string(separators_ + 1), step);
        for (int32_t n = 0; n < Rows; ++n)
            AddLine(static_cast<int32_t>(lines_.size()), "", step);
    }
    // A short level gets empty rows at the end of its section up to the one asked for.
    const int32_t wanted = static_cast<int32_t>(((int64_t{row} - leading_) % Rows + Rows) % Rows);
    while (home_[l][r] < 0 && sectionLines_[l] <= wanted)
        AddLine(sectionEnd_[l], "", step);
    return home_[l][r];
}

void LevelDocument::SetRowText(int32_t level, int32_t row, const std::string& text, Step& step)
{
    const std::string* current = RowText(level, row);
    if ((current ? *current : std::string()) == text)
        return;
    const int32_t index = EnsureRow(level, row, step);
    if (index < 0)
        return;
    SpliceLine(index, text, step);
    KeepLineApart(index, step);
}

// Replaces a line's text, keeping in the history only the bytes that differ.
void LevelDocument::SpliceLine(int32_t index, const std::string& text, Step& step)
{
    const std::string old = lines_[static_cast<size_t>(index)].text;
    size_t prefix = 0;
    while (prefix < old.size() && prefix < text.size() && old[prefix] == text[prefix])
        ++prefix;
    size_t suffix = 0;
    while (suffix < old.size() - prefix && suffix < text.size() - prefix &&
           old[old.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    Record(Change{Change::Kind::Splice, End::None, End::None, index, prefix,
                  old.substr(prefix, old.size() - prefix - suffix), text.substr(prefix, text.size() - prefix - suffix)},
           step);
}

void LevelDocument::KeepLineApart(int32_t index, Step& step)
{
    const Line& line = lines_[static_cast<size_t>(index)];
    if (!line.text.empty())
        return;
    End end = line.end;
    if (line.end == End::None)
        end = EndingAfter(index); // an empty last line without an ending would not be a line at all
    else if (line.end == End::LF && index > 0 && lines_[static_cast<size_t>(index - 1)].end == End::CR)
        end = End::CRLF; // CR then LF would read as one CR LF, joining two lines
    if (end != line.end)
        Record(Change{Change::Kind::SetEnd, line.end, end, index, 0, {}, {}}, step);
}

// ---- the check

LevelCheckResult LevelDocument::Check() const
{
    return CheckLevelSetBytes(ToBytes());
}

std::optional<CellPos> LevelDocument::CellAt(int line, int column) const
{
    if (line < 1 || static_cast<size_t>(line) > rowOfLine_.size() || column < 1 || column > Columns)
        return std::nullopt;
    const int32_t at = rowOfLine_[static_cast<size_t>(line - 1)];
    if (at < 0)
        return std::nullopt;
    return CellPos{at / Rows, at % Rows, column};
}

int LevelDocument::LineOf(int32_t level, int32_t row) const
{
    if (level < 0 || level >= Levels || row < 0 || row >= Rows)
        return 0;
    return home_[static_cast<size_t>(level)][static_cast<size_t>(row)] + 1;
}

} // namespace zorbo::editor
