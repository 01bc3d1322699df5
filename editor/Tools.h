#pragma once
// The editing tools: what a press, a drag and a release of a mouse button on the map do to
// the level set, and the commands on the selection. Apart from any window, so a test can
// drive them cell by cell.
#include "editor/LevelDocument.h"
#include "editor/Stamps.h"

#include <optional>
#include <string>

namespace zorbo::editor {

enum class Tool { Paint, Erase, Fill, Pick, Select, Bucket, Stamp };
constexpr int ToolCount = static_cast<int>(Tool::Stamp) + 1;
enum class Button { Left, Right, Middle };

// The code an emptied cell should hold: night (9) beside night, as the game empties an
// object's cell (EmptiedCode), else sky (0). A rectangle looks at the cells around it.
int32_t BackgroundFor(const LevelDocument& doc, const CellRect& r);

// Gives the cell and every cell joined to it side by side through cells of its code (within
// its level's map) the new code, as one change. False when nothing changes.
bool BucketFill(LevelDocument& doc, const CellPos& cell, int32_t code);

class EditTools {
public:
    explicit EditTools(LevelDocument& doc) : doc_(&doc) {}
    // A new or reopened set: the selection and any drag belong to the old one.
    void SetDocument(LevelDocument& doc);

    Tool tool() const { return tool_; }
    void SetTool(Tool tool);
    int32_t code() const { return code_; }
    void SetCode(int32_t code);
    // The piece the stamp tool lays: an index into kStamps.
    int stamp() const { return stamp_; }
    void SetStamp(int stamp);

    // The mouse on the map. The left button uses the tool, the right one erases (or empties
    // a rectangle with the fill tool), the middle one picks. With copy held, moving the
    // selection copies it instead.
    void Press(const CellPos& cell, Button button, bool copy = false);
    void Drag(const CellPos& cell);
    void Release(const CellPos& cell);
    bool Dragging() const { return drag_ != DragKind::None; }

    // The rectangle a drag is drawing or moving, for the view to outline.
    std::optional<CellRect> Outline() const;
    const std::optional<CellRect>& Selection() const { return selection_; }
    void SetSelection(const std::optional<CellRect>& r);

    // Commands on the selection; false when there is nothing to act on.
    bool Copy();
    bool Cut();
    bool Delete();
    // Pastes what was copied with its top-left corner at cell; the pasted cells become
    // the selection.
    bool Paste(const CellPos& cell);
    bool HasClip() const { return clip_.rows > 0; }
    // Inserts or deletes the selection's columns (one column at col without a selection).
    bool InsertColumns(int32_t level, int32_t col, std::string& error);
    bool DeleteColumns(int32_t level, int32_t col);

private:
    enum class DragKind { None, Stroke, Rectangle, Select, Move, Stamp };
    void StrokeTo(const CellPos& cell);
    void PaintCell(const CellPos& cell);
    void LayStamp();

    LevelDocument* doc_;
    Tool tool_ = Tool::Paint;
    Tool beforePick_ = Tool::Paint;
    int32_t code_ = Tile::GroundTop;
    int stamp_ = 0;

    DragKind drag_ = DragKind::None;
    bool erasing_ = false;
    bool copying_ = false;
    CellPos anchor_;
    CellPos last_;
    std::optional<CellRect> selection_;
    Clip clip_;
};

// The rectangle two corner cells span.
CellRect Span(const CellPos& a, const CellPos& b);

} // namespace zorbo::editor
