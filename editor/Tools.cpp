#include "editor/Tools.h"

#include "level/Rules.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace zorbo::editor {

namespace {

bool Contains(const CellRect& r, const CellPos& c)
{
    return c.level == r.level && c.row >= r.row && c.row < r.row + r.rows && c.col >= r.col && c.col < r.col + r.cols;
}

// The part of a rectangle that lies on the map; nullopt when none does.
std::optional<CellRect> OnMap(CellRect r)
{
    const int32_t top = std::max(0, r.row), bottom = std::min(Rows, r.row + r.rows);
    const int32_t left = std::max(1, r.col), right = std::min(Columns + 1, r.col + r.cols);
    if (top >= bottom || left >= right)
        return std::nullopt;
    return CellRect{r.level, top, left, bottom - top, right - left};
}

} // namespace

CellRect Span(const CellPos& a, const CellPos& b)
{
    const int32_t row = std::min(a.row, b.row), col = std::min(a.col, b.col);
    return CellRect{a.level, row, col, std::abs(a.row - b.row) + 1, std::abs(a.col - b.col) + 1};
}

int32_t BackgroundFor(const LevelDocument& doc, const CellRect& r)
{
    return EmptiedCode(doc.CodesOf(r.level), r.row, r.col, EmptiedBy::Object, r.rows, r.cols);
}

bool BucketFill(LevelDocument& doc, const CellPos& cell, int32_t code)
{
    if (!IsCode(code) || cell.level < 0 || cell.level >= Levels || cell.row < 0 || cell.row >= Rows ||
        cell.col < 1 || cell.col > Columns)
        return false;
    const int32_t from = doc.Code(cell.level, cell.row, cell.col);
    if (from == code)
        return false;
    // At most the whole map: every cell is looked at once, from a stack of its own.
    auto index = [](int32_t row, int32_t col) {
        return static_cast<size_t>(row) * Columns + static_cast<size_t>(col - 1);
    };
    std::vector<bool> filled(static_cast<size_t>(Rows) * Columns);
    std::vector<CellPos> open{cell};
    filled[index(cell.row, cell.col)] = true;
    int32_t top = cell.row, bottom = cell.row, left = cell.col, right = cell.col;
    while (!open.empty()) {
        const CellPos c = open.back();
        open.pop_back();
        top = std::min(top, c.row);
        bottom = std::max(bottom, c.row);
        left = std::min(left, c.col);
        right = std::max(right, c.col);
        const CellPos sides[] = {{c.level, c.row - 1, c.col}, {c.level, c.row + 1, c.col},
                                 {c.level, c.row, c.col - 1}, {c.level, c.row, c.col + 1}};
        for (const CellPos& n : sides) {
            if (n.row < 0 || n.row >= Rows || n.col < 1 || n.col > Columns || filled[index(n.row, n.col)] ||
                doc.Code(n.level, n.row, n.col) != from)
                continue;
            filled[index(n.row, n.col)] = true;
            open.push_back(n);
        }
    }
    // One paste of the area's bounds, the cells outside the area as they are.
    const CellRect bounds{cell.level, top, left, bottom - top + 1, right - left + 1};
    Clip clip = doc.Copy(bounds);
    for (int32_t row = top; row <= bottom; ++row)
        for (int32_t col = left; col <= right; ++col)
            if (filled[index(row, col)])
                clip.codes[static_cast<size_t>((row - top) * clip.cols + (col - left))] = code;
    doc.Paste(cell.level, top, left, clip);
    return true;
}

void EditTools::SetDocument(LevelDocument& doc)
{
    doc_ = &doc;
    drag_ = DragKind::None;
    selection_.reset();
}

void EditTools::SetTool(Tool tool)
{
    if (tool == Tool::Pick && tool_ != Tool::Pick)
        beforePick_ = tool_;
    tool_ = tool;
}

void EditTools::SetCode(int32_t code)
{
    if (IsCode(code))
        code_ = code;
}

void EditTools::SetStamp(int stamp)
{
    if (stamp >= 0 && stamp < StampCount)
        stamp_ = stamp;
}

void EditTools::SetSelection(const std::optional<CellRect>& r)
{
    selection_ = r ? OnMap(*r) : std::nullopt;
}

void EditTools::Press(const CellPos& cell, Button button, bool copy)
{
    anchor_ = last_ = cell;
    erasing_ = button == Button::Right;
    if (button == Button::Middle || (button == Button::Left && tool_ == Tool::Pick)) {
        SetCode(doc_->Code(cell.level, cell.row, cell.col));
        // The eyedropper hands back to the tool it was taken up from.
        if (tool_ == Tool::Pick)
            tool_ = beforePick_;
        return;
    }
    if (erasing_) {
        drag_ = tool_ == Tool::Fill ? DragKind::Rectangle : DragKind::Stroke;
    } else {
        switch (tool_) {
        case Tool::Paint:
        case Tool::Erase:
            erasing_ = tool_ == Tool::Erase;
            drag_ = DragKind::Stroke;
            break;
        case Tool::Fill: drag_ = DragKind::Rectangle; break;
        case Tool::Select:
            if (selection_ && Contains(*selection_, cell)) {
                drag_ = DragKind::Move;
                copying_ = copy;
            } else {
                drag_ = DragKind::Select;
                selection_.reset();
            }
            break;
        case Tool::Bucket: BucketFill(*doc_, cell, code_); break;
        case Tool::Stamp: drag_ = DragKind::Stamp; break;
        case Tool::Pick: break;
        }
    }
    if (drag_ == DragKind::Stroke) {
        // A stroke of the brush is one step of the undo history.
        doc_->BeginGroup();
        PaintCell(cell);
    }
}

void EditTools::Drag(const CellPos& cell)
{
    if (drag_ == DragKind::None || cell.level != anchor_.level)
        return;
    if (drag_ == DragKind::Stroke)
        StrokeTo(cell);
    last_ = cell;
}

void EditTools::Release(const CellPos& cell)
{
    Drag(cell);
    const DragKind kind = drag_;
    drag_ = DragKind::None;
    switch (kind) {
    case DragKind::None: break;
    case DragKind::Stroke: doc_->EndGroup(); break;
    case DragKind::Rectangle: {
        const CellRect r = Span(anchor_, last_);
        doc_->Fill(r, erasing_ ? BackgroundFor(*doc_, r) : code_);
        break;
    }
    case DragKind::Select: selection_ = Span(anchor_, last_); break;
    case DragKind::Stamp: LayStamp(); break;
    case DragKind::Move: {
        const int32_t dRow = last_.row - anchor_.row, dCol = last_.col - anchor_.col;
        if ((dRow == 0 && dCol == 0) || !selection_)
            break;
        CellRect moved = *selection_;
        if (copying_)
            doc_->Paste(moved.level, moved.row + dRow, moved.col + dCol, doc_->Copy(moved));
        else
            doc_->Move(moved, dRow, dCol);
        moved.row += dRow;
        moved.col += dCol;
        selection_ = OnMap(moved);
        break;
    }
    }
}

std::optional<CellRect> EditTools::Outline() const
{
    switch (drag_) {
    case DragKind::Rectangle:
    case DragKind::Select: return Span(anchor_, last_);
    case DragKind::Move:
        if (selection_) {
            CellRect r = *selection_;
            r.row += last_.row - anchor_.row;
            r.col += last_.col - anchor_.col;
            return r;
        }
        return std::nullopt;
    case DragKind::Stamp: return StampBounds(kStamps[static_cast<size_t>(stamp_)], anchor_, last_);
    default: return std::nullopt;
    }
}

void EditTools::PaintCell(const CellPos& c)
{
    const int32_t code = erasing_ ? BackgroundFor(*doc_, CellRect{c.level, c.row, c.col, 1, 1}) : code_;
    doc_->Paint(c.level, c.row, c.col, code);
}

void EditTools::LayStamp()
{
    // Cell by cell as the brush paints, and undone as a whole like a stroke.
    doc_->BeginGroup();
    for (const StampCell& c : StampCells(kStamps[static_cast<size_t>(stamp_)], anchor_, last_))
        doc_->Paint(anchor_.level, c.row, c.col, c.code);
    doc_->EndGroup();
}

void EditTools::StrokeTo(const CellPos& cell)
{
    // Every cell on the line from the last one, so a fast drag leaves no gaps.
    int32_t row = last_.row, col = last_.col;
    const int32_t dCol = std::abs(cell.col - col), dRow = -std::abs(cell.row - row);
    const int32_t stepCol = col < cell.col ? 1 : -1, stepRow = row < cell.row ? 1 : -1;
    int32_t err = dCol + dRow;
    while (row != cell.row || col != cell.col) {
        const int32_t e2 = 2 * err;
        if (e2 >= dRow) {
            err += dRow;
            col += stepCol;
        }
        if (e2 <= dCol) {
            err += dCol;
            row += stepRow;
        }
        PaintCell(CellPos{cell.level, row, col});
    }
}

bool EditTools::Copy()
{
    if (!selection_)
        return false;
    clip_ = doc_->Copy(*selection_);
    return true;
}

bool EditTools::Cut()
{
    return Copy() && Delete();
}

bool EditTools::Delete()
{
    if (!selection_)
        return false;
    doc_->Fill(*selection_, BackgroundFor(*doc_, *selection_));
    return true;
}

bool EditTools::Paste(const CellPos& cell)
{
    if (!HasClip())
        return false;
    doc_->Paste(cell.level, cell.row, cell.col, clip_);
    selection_ = OnMap(CellRect{cell.level, cell.row, cell.col, clip_.rows, clip_.cols});
    return true;
}

bool EditTools::InsertColumns(int32_t level, int32_t col, std::string& error)
{
    int32_t count = 1;
    if (selection_ && selection_->level == level) {
        col = selection_->col;
        count = selection_->cols;
    }
    return doc_->InsertColumns(level, col, count, error);
}

bool EditTools::DeleteColumns(int32_t level, int32_t col)
{
    int32_t count = 1;
    if (selection_ && selection_->level == level) {
        col = selection_->col;
        count = selection_->cols;
        selection_.reset();
    }
    if (col < 1 || col > Columns)
        return false;
    doc_->DeleteColumns(level, col, count);
    return true;
}

} // namespace zorbo::editor
