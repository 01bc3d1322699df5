#pragma once
// The map view: the level's picture from MapRenderer, scrollbars, and the mouse on the map
// handed to the editing tools.
#include "editor/MapRenderer.h"
#include "editor/Tools.h"

#include <FL/Fl_Group.H>

#include <functional>
#include <optional>
#include <vector>

class Fl_Scrollbar;

namespace zorbo::editor {

class MapView : public Fl_Group {
public:
    MapView(int x, int y, int w, int h, const Pictures& pictures, EditTools& tools);

    void SetDocument(const LevelDocument& doc);
    ViewState& View() { return view_; }
    const ViewState& View() const { return view_; }

    void SetLevel(int32_t level);
    // Zooms about a view point (the view's middle without one), keeping the cell under it.
    void SetZoom(int32_t zoom, std::optional<int> atX = std::nullopt);
    void SetGrid(bool on);
    // Scrolls so that the cell is in view, near the middle, and marks it.
    void Reveal(const CellPos& cell);
    // The cell under the mouse while it is over the map.
    const std::optional<CellPos>& Hover() const { return view_.hover; }
    // The first column the view shows whole (or in part, at the level's start).
    int32_t FirstColumn() const;
    // Redraws after the document or the tools changed.
    void Refresh();
    // Gives the map the keyboard, for its scrolling keys.
    void Focus();
    // Page Up and Page Down (a screen width), Home and End (the level's ends) move the view;
    // false for another key.
    bool ScrollKey(int key);

    // Called after every change the mouse made to the set, and whenever the cell under
    // the mouse changes.
    std::function<void()> onEdit;
    std::function<void()> onHover;
    // The map's own menu is asked for at a cell: Shift with the right button, or the Menu key.
    std::function<void(const CellPos&)> onMenu;

    void resize(int x, int y, int w, int h) override;

    static constexpr int kBar = 16; // scrollbar width

private:
    class Canvas;
    friend class Canvas;
    void SyncBars();
    void ScrollBy(int dx, int dy);
    void ScrollTo(int x, int y);
    int MaxScrollX() const;
    int MaxScrollY() const;

    const LevelDocument* doc_ = nullptr;
    const Pictures& pictures_;
    EditTools& tools_;
    MapRenderer renderer_;
    ViewState view_;
    Canvas* canvas_;
    Fl_Scrollbar* hbar_;
    Fl_Scrollbar* vbar_;
};

} // namespace zorbo::editor
