#include "launcher/HelpWindow.h"
#include "launcher/Placement.h"

#include "launcher/LauncherLogic.h"

#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Widget.H>
#include <FL/fl_draw.H>

namespace zorbo {

namespace {

// The colours of the four arrow keys; the space bar uses black.
const Fl_Color kPurple = fl_rgb_color(192, 0, 192);
const Fl_Color kGreen = fl_rgb_color(0, 128, 0);
const Fl_Color kBlue = fl_rgb_color(0, 0, 255);
const Fl_Color kRed = fl_rgb_color(255, 0, 0);

struct Outline {
    int x, y, w, h;
    Fl_Color color;
};

struct Segment {
    int x1, y1, x2, y2;
    Fl_Color color;
};

// Shape1 to Shape5: the keys.
const Outline kShapes[] = {
    {8, 128, 49, 49, kGreen},     // Shape1, left arrow
    {56, 128, 49, 49, kBlue},     // Shape2, down arrow
    {104, 128, 49, 49, kRed},     // Shape3, right arrow
    {56, 80, 49, 49, kPurple},    // Shape4, up arrow
    {8, 192, 257, 49, FL_BLACK},  // Shape5, space bar
};

// Line1 to Line17: the arrows inside the keys, then the connectors to the labels.
const Segment kLines[] = {
    {80, 120, 80, 88, kPurple},   {80, 88, 72, 96, kPurple},    {88, 96, 80, 88, kPurple},
    {48, 152, 16, 152, kGreen},   {24, 144, 16, 152, kGreen},   {24, 160, 16, 152, kGreen},
    {80, 136, 80, 168, kBlue},    {72, 160, 80, 168, kBlue},    {88, 160, 80, 168, kBlue},
    {112, 152, 144, 152, kRed},   {136, 144, 144, 152, kRed},   {136, 160, 144, 152, kRed},
    {96, 96, 184, 56, kPurple},   {32, 144, 184, 80, kGreen},   {88, 144, 184, 104, kBlue},
    {144, 144, 184, 128, kRed},   {136, 200, 184, 176, FL_BLACK},
};

struct ActionLabel {
    const char* caption;
    int x, y;
    Fl_Color color;
};

// Label3(0) to Label3(4).
const ActionLabel kActions[5] = {
    {"Fireball", 184, 48, kPurple},
    {"Run left", 184, 72, kGreen},
    {"Warp", 184, 96, kBlue},
    {"Run right", 184, 120, kRed},
    {"Jump", 184, 168, FL_BLACK},
};

// The outlines and lines, drawn under the labels.
class KeyDrawing : public Fl_Widget {
public:
    KeyDrawing(int x, int y, int w, int h) : Fl_Widget(x, y, w, h) {}

    void draw() override
    {
        const int ox = x(), oy = y();
        fl_line_style(FL_SOLID, 1);
        for (const Outline& s : kShapes) {
            fl_color(s.color);
            fl_rect(ox + s.x, oy + s.y, s.w, s.h);
        }
        for (const Segment& l : kLines) {
            fl_color(l.color);
            fl_line(ox + l.x1, oy + l.y1, ox + l.x2, oy + l.y2);
        }
        fl_line_style(0);
    }
};

constexpr Fl_Fontsize kSmallText = 11;   // an 8 point dialog font at 96 dots per inch
constexpr Fl_Fontsize kHeadingText = 16; // 12 point

const char* const kEditorHint = "Edit a level set: Ctrl+E\nor right click its name";

} // namespace

HelpWindow::HelpWindow()
{
    Form2 = std::make_unique<Fl_Double_Window>(kWidth, kHeight, "Help");
    Form2->begin();
    new KeyDrawing(0, 0, kWidth, kHeight);

    Label1 = new Fl_Box(8, 8, 257, 41, "Below are the keys used to control zorbo.");
    Label1->labelfont(FL_HELVETICA);
    Label1->labelsize(kHeadingText);
    Label1->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP | FL_ALIGN_WRAP);

    Label2 = new Fl_Box(112, 208, 49, 17, "Space");
    Label2->labelsize(kSmallText);
    Label2->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP);

    // The launcher's way to the level editor has no control of its own, so it is told
    // here, in the free corner above the left arrow key.
    EditorHint = new Fl_Box(8, 52, 168, 28, kEditorHint);
    EditorHint->labelsize(kSmallText);
    EditorHint->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP | FL_ALIGN_LEFT);

    for (int i = 0; i < 5; ++i) {
        Label3[i] = new Fl_Box(kActions[i].x, kActions[i].y, 57, 17, kActions[i].caption);
        Label3[i]->labelsize(kSmallText);
        Label3[i]->labelcolor(kActions[i].color);
        Label3[i]->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP | FL_ALIGN_LEFT);
    }
    Form2->end();
    Form2->size_range(kWidth, kHeight, kWidth, kHeight);
    // Escape does nothing here; only the close control closes the window.
    Form2->callback([](Fl_Widget* w, void*) {
        if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
            return;
        w->hide();
    });
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::Form_Load()
{
    PlaceCentredLifted(*Form2);
}

void HelpWindow::Show()
{
    if (!Form2->shown())
        Form_Load();
    Form2->show();
}

void HelpWindow::Hide()
{
    Form2->hide();
}

bool HelpWindow::Shown() const
{
    return Form2->shown();
}

} // namespace zorbo
