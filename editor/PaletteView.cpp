#include "editor/PaletteView.h"

#include "editor/MapRenderer.h"
#include "editor/Palette.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Image.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Scroll.H>
#include <FL/fl_draw.H>

#include <cstdio>

namespace zorbo::editor {

namespace {
constexpr int kSearchHeight = 24;
constexpr int kCurrentHeight = 40;
constexpr int kHeading = 20;
constexpr int kRow = PaletteView::kPicture + 4;
constexpr Fl_Fontsize kText = 12;
} // namespace

// The grouped entries, as tall as they need to be inside the scroll.
class PaletteView::List : public Fl_Widget {
public:
    struct Item {
        int32_t code; // -1: the heading of group
        PaletteGroup group;
    };

    List(int x, int y, int w, PaletteView& owner) : Fl_Widget(x, y, w, 1), owner_(owner) {}

    void SetCodes(const std::vector<int32_t>& codes)
    {
        items_.clear();
        for (const int32_t code : codes) {
            const CodeRow* e = FindCode(code);
            if (items_.empty() || items_.back().group != e->group)
                items_.push_back({-1, e->group});
            items_.push_back({code, e->group});
        }
        int height = 0;
        for (const Item& item : items_)
            height += item.code < 0 ? kHeading : kRow;
        size(w(), std::max(height, 1));
    }

    void draw() override
    {
        fl_push_clip(x(), y(), w(), h());
        fl_color(FL_BACKGROUND2_COLOR);
        fl_rectf(x(), y(), w(), h());
        int top = y();
        for (const Item& item : items_) {
            const int height = item.code < 0 ? kHeading : kRow;
            if (fl_not_clipped(x(), top, w(), height))
                DrawItem(item, top, height);
            top += height;
        }
        fl_pop_clip();
    }

    int handle(int event) override
    {
        switch (event) {
        case FL_ENTER:
        case FL_MOVE: SetHover(CodeAt(Fl::event_y())); return 1;
        case FL_LEAVE: SetHover(-1); return 1;
        case FL_PUSH:
            if (const int32_t code = CodeAt(Fl::event_y()); code >= 0) {
                owner_.SetCode(code);
                if (owner_.onChoose)
                    owner_.onChoose(code);
            }
            return 1;
        default: return Fl_Widget::handle(event);
        }
    }

    // The top of the entry of a code within the list; -1 when it is not listed.
    int TopOf(int32_t code) const
    {
        int top = 0;
        for (const Item& item : items_) {
            if (item.code == code)
                return top;
            top += item.code < 0 ? kHeading : kRow;
        }
        return -1;
    }

private:
    void DrawItem(const Item& item, int top, int height)
    {
        if (item.code < 0) {
            fl_color(fl_rgb_color(70, 76, 90));
            fl_rectf(x(), top, w(), height);
            fl_color(FL_WHITE);
            fl_font(FL_HELVETICA_BOLD, kText);
            fl_draw(std::string(GroupName(item.group)).c_str(), x() + 6, top, w() - 8, height, FL_ALIGN_LEFT);
            return;
        }
        const bool chosen = item.code == owner_.code_;
        const bool hovered = item.code == owner_.hover_;
        if (chosen || hovered) {
            fl_color(chosen ? FL_SELECTION_COLOR : fl_rgb_color(220, 228, 240));
            fl_rectf(x(), top, w(), height);
        }
        if (Fl_RGB_Image* image = owner_.images_[static_cast<size_t>(item.code)].get())
            image->draw(x() + 2, top + 2);
        fl_color(chosen ? fl_contrast(FL_FOREGROUND_COLOR, FL_SELECTION_COLOR) : FL_FOREGROUND_COLOR);
        fl_font(FL_HELVETICA, kText);
        const std::string_view name = FindCode(item.code)->name;
        char label[96];
        std::snprintf(label, sizeof label, "%d  %.*s", item.code, static_cast<int>(name.size()), name.data());
        fl_draw(label, x() + kPicture + 8, top, w() - kPicture - 10, height, FL_ALIGN_LEFT | FL_ALIGN_CLIP);
    }

    int32_t CodeAt(int py) const
    {
        int top = y();
        for (const Item& item : items_) {
            const int height = item.code < 0 ? kHeading : kRow;
            if (py >= top && py < top + height)
                return item.code;
            top += height;
        }
        return -1;
    }

    void SetHover(int32_t code)
    {
        if (code == owner_.hover_)
            return;
        owner_.hover_ = code;
        redraw();
        if (owner_.onHover)
            owner_.onHover();
    }

    PaletteView& owner_;
    std::vector<Item> items_;
};

PaletteView::PaletteView(int x, int y, int w, int h, const Pictures& pictures) : Fl_Group(x, y, w, h)
{
    // The pictures at 2x, as FLTK images made once.
    pixels_.resize(Tile::Count);
    for (int32_t code = 0; code < Tile::Count; ++code) {
        const Surface& tile = pictures.Tile(code, 2);
        if (!tile.valid()) {
            images_.push_back(nullptr);
            continue;
        }
        PackRgb(tile, pixels_[static_cast<size_t>(code)]);
        images_.push_back(std::make_unique<Fl_RGB_Image>(pixels_[static_cast<size_t>(code)].data(), tile.Width(),
                                                         tile.Height(), 3));
    }

    search_ = new Fl_Input(x + 52, y + 2, w - 54, kSearchHeight - 2, "Search:");
    search_->labelsize(kText);
    search_->textsize(kText);
    search_->tooltip("Part of a name, a group, or a code number");
    search_->when(FL_WHEN_CHANGED);
    search_->callback([](Fl_Widget*, void* self) { static_cast<PaletteView*>(self)->Filter(); }, this);

    current_ = new Fl_Box(x, y + kSearchHeight + 2, w, kCurrentHeight - 4);
    current_->box(FL_THIN_DOWN_BOX);
    current_->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT | FL_ALIGN_IMAGE_NEXT_TO_TEXT);
    current_->labelsize(kText);
    current_->labelfont(FL_HELVETICA_BOLD);

    const int listTop = y + kSearchHeight + kCurrentHeight;
    scroll_ = new Fl_Scroll(x, listTop, w, h - kSearchHeight - kCurrentHeight);
    scroll_->type(Fl_Scroll::VERTICAL_ALWAYS);
    scroll_->box(FL_DOWN_BOX);
    list_ = new List(x + Fl::box_dx(FL_DOWN_BOX), listTop + Fl::box_dy(FL_DOWN_BOX),
                     w - Fl::scrollbar_size() - Fl::box_dw(FL_DOWN_BOX), *this);
    scroll_->end();
    end();
    resizable(scroll_);
    Filter();
    ShowCurrent();
}

PaletteView::~PaletteView() = default;

void PaletteView::SetCode(int32_t code)
{
    if (FindCode(code) == nullptr)
        return;
    code_ = code;
    ShowCurrent();
    // Keep the chosen entry in sight (a pick on the map may choose one far down the list).
    const int top = list_->TopOf(code);
    const int inner = scroll_->h() - Fl::box_dh(FL_DOWN_BOX);
    if (top >= 0 && (top < scroll_->yposition() || top + kRow > scroll_->yposition() + inner))
        scroll_->scroll_to(0, std::max(0, std::min(top - inner / 2, list_->h() - inner)));
    list_->redraw();
}

void PaletteView::Filter()
{
    list_->SetCodes(PaletteCodes(search_->value()));
    scroll_->scroll_to(0, 0);
    scroll_->redraw();
}

void PaletteView::ShowCurrent()
{
    const CodeRow* e = FindCode(code_);
    char label[96];
    std::snprintf(label, sizeof label, " %d  %.*s", code_, static_cast<int>(e->name.size()), e->name.data());
    currentLabel_ = label;
    current_->image(images_[static_cast<size_t>(code_)].get());
    current_->label(currentLabel_.c_str());
    current_->redraw();
}

} // namespace zorbo::editor
