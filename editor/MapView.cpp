#include "editor/MapView.h"

#include <FL/Fl.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_draw.H>

#include <algorithm>

namespace zorbo::editor {

// The picture itself: drawn from the renderer, and the mouse on it.
class MapView::Canvas : public Fl_Widget {
public:
    Canvas(int x, int y, int w, int h, MapView& owner) : Fl_Widget(x, y, w, h), owner_(owner) {}

    void draw() override
    {
        if (owner_.doc_ == nullptr || w() <= 0 || h() <= 0)
            return;
        if (picture_.Width() != w() || picture_.Height() != h())
            picture_.Create(w(), h());
        ViewState& v = owner_.view_;
        v.selection = owner_.tools_.Selection();
        v.outline = owner_.tools_.Outline();
        owner_.renderer_.Render(*owner_.doc_, v, picture_);
        PackRgb(picture_, rgb_);
        fl_draw_image(rgb_.data(), x(), y(), w(), h(), 3);
    }

    int handle(int event) override
    {
        switch (event) {
        case FL_ENTER:
        case FL_MOVE:
            SetHover(Fl::event_x() - x(), Fl::event_y() - y());
            return 1;
        case FL_LEAVE:
            if (!owner_.tools_.Dragging())
                SetHover(-1, -1);
            return 1;
        case FL_FOCUS:
        case FL_UNFOCUS: return 1;
        case FL_PUSH: return Push();
        case FL_DRAG: return Drag();
        case FL_RELEASE: return Release();
        // A scroll moves the map under a still mouse: the hover follows the cell now under it.
        case FL_MOUSEWHEEL: Wheel(); return FollowMouse(1);
        case FL_KEYBOARD: return FollowMouse(Key());
        default: return Fl_Widget::handle(event);
        }
    }

    // The cell under the mouse, at a point of the picture (outside it: none).
    void SetHover(int px, int py)
    {
        std::optional<CellPos> cell;
        if (px >= 0 && py >= 0 && px < w() && py < h())
            cell = CellAtPoint(owner_.view_, px, py);
        auto same = [](const std::optional<CellPos>& a, const std::optional<CellPos>& b) {
            return a.has_value() == b.has_value() && (!a || (a->level == b->level && a->row == b->row && a->col == b->col));
        };
        if (same(cell, owner_.view_.hover))
            return;
        owner_.view_.hover = cell;
        redraw();
        if (owner_.onHover)
            owner_.onHover();
    }

private:
    int FollowMouse(int handled)
    {
        if (handled)
            SetHover(Fl::event_x() - x(), Fl::event_y() - y());
        return handled;
    }

    // The cell under the mouse, held to the map while a button is down.
    CellPos ClampedCell() const
    {
        const ViewState& v = owner_.view_;
        const int32_t size = Cell * v.zoom;
        const int px = Fl::event_x() - x() + v.scrollX, py = Fl::event_y() - y() - HeaderHeight + v.scrollY;
        const int32_t col = std::clamp(px < 0 ? 1 : px / size + 1, 1, Columns);
        const int32_t row = std::clamp(py < 0 ? 0 : py / size, 0, Rows - 1);
        return CellPos{v.level, row, col};
    }

    int Push()
    {
        // Any button gives the map the keyboard, the one that paints included.
        take_focus();
        const std::optional<CellPos> cell = CellAtPoint(owner_.view_, Fl::event_x() - x(), Fl::event_y() - y());
        if (!cell)
            return 1;
        const int b = Fl::event_button();
        if (b == FL_RIGHT_MOUSE && (Fl::event_state() & FL_SHIFT) && owner_.onMenu) {
            owner_.onMenu(*cell);
            return 1;
        }
        owner_.view_.marked.reset();
        const Button button = b == FL_RIGHT_MOUSE ? Button::Right : b == FL_MIDDLE_MOUSE ? Button::Middle : Button::Left;
        owner_.tools_.Press(*cell, button, (Fl::event_state() & FL_CTRL) != 0);
        redraw();
        if (!owner_.tools_.Dragging() && owner_.onEdit)
            owner_.onEdit(); // a pick changes the tool and the code
        return 1;
    }

    int Drag()
    {
        if (!owner_.tools_.Dragging())
            return 1;
        // Past an edge the view follows the mouse.
        const int ex = Fl::event_x() - x(), step = Cell * owner_.view_.zoom / 2;
        if (ex < 0)
            owner_.ScrollBy(-step, 0);
        else if (ex >= w())
            owner_.ScrollBy(step, 0);
        owner_.tools_.Drag(ClampedCell());
        SetHover(Fl::event_x() - x(), Fl::event_y() - y());
        redraw();
        return 1;
    }

    int Release()
    {
        if (!owner_.tools_.Dragging())
            return 1;
        owner_.tools_.Release(ClampedCell());
        redraw();
        if (owner_.onEdit)
            owner_.onEdit();
        return 1;
    }

    void Wheel()
    {
        const int32_t size = Cell * owner_.view_.zoom;
        const int dy = Fl::event_dy(), dx = Fl::event_dx();
        if (Fl::event_state() & FL_CTRL) {
            if (dy != 0)
                owner_.SetZoom(owner_.view_.zoom - dy, Fl::event_x() - x());
        } else if (Fl::event_state() & FL_SHIFT) {
            owner_.ScrollBy(0, dy * size);
        } else {
            // The map is wide and low: the wheel runs along it.
            owner_.ScrollBy((dx + dy) * 2 * size, 0);
        }
    }

    int Key()
    {
        const int32_t size = Cell * owner_.view_.zoom;
        const int key = Fl::event_key();
        switch (key) {
        case FL_Left: owner_.ScrollBy(-size, 0); return 1;
        case FL_Right: owner_.ScrollBy(size, 0); return 1;
        case FL_Up: owner_.ScrollBy(0, -size); return 1;
        case FL_Down: owner_.ScrollBy(0, size); return 1;
        default: break;
        }
        if ((key == FL_Menu || (key == FL_F + 10 && (Fl::event_state() & FL_SHIFT))) && owner_.onMenu) {
            const ViewState& v = owner_.view_;
            owner_.onMenu(v.hover ? *v.hover : CellPos{v.level, 0, owner_.FirstColumn()});
            return 1;
        }
        return owner_.ScrollKey(key) ? 1 : 0;
    }

    MapView& owner_;
    Surface picture_;
    std::vector<uint8_t> rgb_;
};

MapView::MapView(int x, int y, int w, int h, const Pictures& pictures, EditTools& tools)
    : Fl_Group(x, y, w, h), pictures_(pictures), tools_(tools), renderer_(pictures)
{
    canvas_ = new Canvas(x, y, w - kBar, h - kBar, *this);
    vbar_ = new Fl_Scrollbar(x + w - kBar, y, kBar, h - kBar);
    vbar_->type(FL_VERTICAL);
    vbar_->callback([](Fl_Widget* bar, void* view) {
        auto* self = static_cast<MapView*>(view);
        self->ScrollTo(self->view_.scrollX, static_cast<Fl_Scrollbar*>(bar)->value());
    }, this);
    hbar_ = new Fl_Scrollbar(x, y + h - kBar, w - kBar, kBar);
    hbar_->type(FL_HORIZONTAL);
    hbar_->callback([](Fl_Widget* bar, void* view) {
        auto* self = static_cast<MapView*>(view);
        self->ScrollTo(static_cast<Fl_Scrollbar*>(bar)->value(), self->view_.scrollY);
    }, this);
    end();
    resizable(canvas_);
    SyncBars();
}

void MapView::resize(int x, int y, int w, int h)
{
    Fl_Widget::resize(x, y, w, h);
    canvas_->resize(x, y, w - kBar, h - kBar);
    vbar_->resize(x + w - kBar, y, kBar, h - kBar);
    hbar_->resize(x, y + h - kBar, w - kBar, kBar);
    ScrollTo(view_.scrollX, view_.scrollY);
}

void MapView::SetDocument(const LevelDocument& doc)
{
    doc_ = &doc;
    view_.marked.reset();
    Refresh();
}

void MapView::SetLevel(int32_t level)
{
    if (level == view_.level)
        return;
    view_.level = level;
    view_.hover.reset();
    tools_.SetSelection(std::nullopt);
    ScrollTo(0, view_.scrollY);
}

void MapView::SetZoom(int32_t zoom, std::optional<int> atX)
{
    zoom = std::clamp(zoom, MinZoom, MaxZoom);
    if (zoom == view_.zoom)
        return;
    const int anchorX = atX.value_or(canvas_->w() / 2);
    const int anchorY = canvas_->h() / 2;
    // The map point under the anchor stays under it.
    const int mapX = (view_.scrollX + anchorX) / view_.zoom;
    const int mapY = (view_.scrollY + anchorY - HeaderHeight) / view_.zoom;
    view_.zoom = zoom;
    ScrollTo(mapX * zoom - anchorX, mapY * zoom - anchorY + HeaderHeight);
}

void MapView::SetGrid(bool on)
{
    view_.grid = on;
    canvas_->redraw();
}

void MapView::Reveal(const CellPos& cell)
{
    if (cell.level != view_.level)
        SetLevel(cell.level);
    const int32_t size = Cell * view_.zoom;
    view_.marked = cell;
    const int x = CellLeft(view_, cell.col), y = CellTop(view_, cell.row);
    if (x >= 0 && x + size <= canvas_->w() && y >= HeaderHeight && y + size <= canvas_->h()) {
        canvas_->redraw(); // in sight already: the view stays where the user put it
        return;
    }
    ScrollTo((cell.col - 1) * size + size / 2 - canvas_->w() / 2, cell.row * size + size / 2 - (canvas_->h() - HeaderHeight) / 2);
}

int32_t MapView::FirstColumn() const
{
    const int32_t size = Cell * view_.zoom;
    return std::clamp((view_.scrollX + size - 1) / size + 1, 1, Columns);
}

void MapView::Refresh()
{
    SyncBars();
    canvas_->redraw();
}

void MapView::Focus()
{
    canvas_->take_focus();
}

bool MapView::ScrollKey(int key)
{
    const int32_t size = Cell * view_.zoom;
    switch (key) {
    case FL_Page_Up: ScrollBy(-ScreenColumns * size, 0); break;
    case FL_Page_Down: ScrollBy(ScreenColumns * size, 0); break;
    case FL_Home: ScrollTo(0, view_.scrollY); break;
    case FL_End:
        if (doc_ != nullptr)
            ScrollTo((doc_->Length(view_.level) - 1) * size - canvas_->w() / 2, view_.scrollY);
        break;
    default: return false;
    }
    // The map moved under a still mouse: the hover follows the cell now under it.
    canvas_->SetHover(Fl::event_x() - canvas_->x(), Fl::event_y() - canvas_->y());
    return true;
}

int MapView::MaxScrollX() const
{
    return std::max(0, Columns * Cell * view_.zoom - canvas_->w());
}

int MapView::MaxScrollY() const
{
    return std::max(0, HeaderHeight + Rows * Cell * view_.zoom - canvas_->h());
}

void MapView::ScrollBy(int dx, int dy)
{
    ScrollTo(view_.scrollX + dx, view_.scrollY + dy);
}

void MapView::ScrollTo(int x, int y)
{
    view_.scrollX = std::clamp(x, 0, MaxScrollX());
    view_.scrollY = std::clamp(y, 0, MaxScrollY());
    Refresh();
}

void MapView::SyncBars()
{
    const int32_t size = Cell * view_.zoom;
    hbar_->value(view_.scrollX, canvas_->w(), 0, Columns * size);
    hbar_->linesize(size);
    vbar_->value(view_.scrollY, canvas_->h(), 0, HeaderHeight + Rows * size);
    vbar_->linesize(size);
    if (MaxScrollY() > 0)
        vbar_->activate();
    else
        vbar_->deactivate();
}

} // namespace zorbo::editor
