#pragma once
#include <memory>

class Fl_Double_Window;
class Fl_Box;
class Fl_Widget;

namespace zorbo {

// The help window: a drawing of the game's five keys, each joined by a line to the name
// of its action, and the launcher's way to the level editor. It has no behaviour beyond placing itself; the player closes it with the
// window frame's close control.
class HelpWindow {
public:
    HelpWindow();
    ~HelpWindow();
    HelpWindow(const HelpWindow&) = delete;
    HelpWindow& operator=(const HelpWindow&) = delete;

    // Centres the window (lifted) and shows it, or brings it to the front when it is up.
    void Show();
    void Hide();
    bool Shown() const;

    static constexpr int kWidth = 272;
    static constexpr int kHeight = 244;

private:
    void Form_Load();

    std::unique_ptr<Fl_Double_Window> Form2;
    Fl_Box* Label1 = nullptr;
    Fl_Box* Label2 = nullptr;
    Fl_Box* Label3[5] = {};
    Fl_Box* EditorHint = nullptr;
};

} // namespace zorbo
