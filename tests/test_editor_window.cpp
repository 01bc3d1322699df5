// The level editor's window without a display: keys sent to it as the desktop sends them,
// to whichever widget has the keyboard.
#include "editor/EditorWindow.h"
#include "editor/MapView.h"

#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Window.H>

#include <gtest/gtest.h>

using namespace zorbo;
using namespace zorbo::editor;

namespace {

// The first widget of a kind inside a group, depth first.
template <class W>
W* FindWidget(Fl_Group& group)
{
    for (int i = 0; i < group.children(); ++i) {
        if (auto* w = dynamic_cast<W*>(group.child(i)))
            return w;
        if (Fl_Group* inner = group.child(i)->as_group())
            if (W* w = FindWidget<W>(*inner))
                return w;
    }
    return nullptr;
}

struct EditorKeys : ::testing::Test {
    Pictures pictures; // none loaded: the window draws nothing here
    EditorWindow editor{"", "", pictures};

    // Fl::focus() raises the window on a display; here the keyboard is handed over as it
    // leaves it.
    static void GiveKeyboard(Fl_Widget* widget) { Fl::focus_ = widget; }

    int Press(int key, int state)
    {
        Fl::e_keysym = key;
        Fl::e_state = state;
        const int used = Fl::handle(FL_KEYBOARD, &editor.Window());
        Fl::e_keysym = 0;
        Fl::e_state = 0;
        return used;
    }
    void TearDown() override { GiveKeyboard(nullptr); }
};

TEST_F(EditorKeys, CtrlPageDownAndUpChangeTheLevelWithTheKeyboardOnTheMap)
{
    GiveKeyboard(editor.Map().child(0)); // the map's picture (its scrollbars follow it)
    ASSERT_EQ(dynamic_cast<Fl_Scrollbar*>(Fl::focus()), nullptr);

    EXPECT_EQ(Press(FL_Page_Down, FL_CTRL), 1);
    EXPECT_EQ(editor.Level(), 1);
    EXPECT_EQ(editor.Map().View().scrollX, 0) << "the map does not scroll as well";
    Press(FL_Page_Down, FL_CTRL);
    Press(FL_Page_Up, FL_CTRL);
    EXPECT_EQ(editor.Level(), 1);
    Press(FL_Page_Up, FL_CTRL);
    Press(FL_Page_Up, FL_CTRL);
    EXPECT_EQ(editor.Level(), 0) << "the first level is as far as it goes";

    // Without Ctrl, or with Shift too, Page Down is the map's: a screen width on.
    EXPECT_EQ(Press(FL_Page_Down, 0), 1);
    EXPECT_EQ(editor.Level(), 0);
    EXPECT_GT(editor.Map().View().scrollX, 0);
    Press(FL_Page_Down, FL_CTRL | FL_SHIFT);
    EXPECT_EQ(editor.Level(), 0);
}

TEST_F(EditorKeys, CtrlPageDownChangesTheLevelFromTheSearchBoxAndAScrollbar)
{
    Fl_Input* search = FindWidget<Fl_Input>(editor.Window());
    ASSERT_NE(search, nullptr);
    GiveKeyboard(search);
    Press(FL_Page_Down, FL_CTRL);
    EXPECT_EQ(editor.Level(), 1);

    Fl_Scrollbar* bar = FindWidget<Fl_Scrollbar>(editor.Map());
    ASSERT_NE(bar, nullptr);
    GiveKeyboard(bar);
    Press(FL_Page_Down, FL_CTRL);
    EXPECT_EQ(editor.Level(), 2);
}

// Page Up, Page Down, Home and End move the map's view wherever the keyboard is (the check
// list used them for itself), but in a text being typed, which keeps its own.
TEST_F(EditorKeys, ThePageKeysMoveTheMapWhereverTheKeyboardIs)
{
    Fl_Hold_Browser* list = FindWidget<Fl_Hold_Browser>(editor.Window());
    ASSERT_NE(list, nullptr);
    GiveKeyboard(list);
    const int& scroll = editor.Map().View().scrollX;

    EXPECT_EQ(Press(FL_Page_Down, 0), 1);
    const int page = scroll;
    EXPECT_GT(page, 0);
    Press(FL_Page_Down, 0);
    EXPECT_EQ(scroll, 2 * page);
    Press(FL_Page_Up, 0);
    EXPECT_EQ(scroll, page);
    Press(FL_End, 0);
    EXPECT_EQ(scroll, 0) << "the level's end: a new set's empty level ends where it starts";
    Press(FL_Page_Down, 0);
    Press(FL_Home, 0);
    EXPECT_EQ(scroll, 0);

    Fl_Input* search = FindWidget<Fl_Input>(editor.Window());
    ASSERT_NE(search, nullptr);
    GiveKeyboard(search);
    search->value("warp");
    search->position(0);
    Press(FL_Page_Down, 0);
    Press(FL_End, 0);
    EXPECT_EQ(scroll, 0) << "the keys stay with the text typed";
    EXPECT_EQ(search->position(), 4) << "End goes to the end of the text";
}

} // namespace
