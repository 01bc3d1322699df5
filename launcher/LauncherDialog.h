#pragma once
#include "game/Progress.h"
#include "game/Settings.h"
#include "launcher/LauncherLogic.h"
#include "launcher/SavedChoices.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Fl_Double_Window;
class Fl_Box;
class Fl_Scrollbar;
class Fl_Input_Choice;
class Fl_Check_Button;
class Fl_Round_Button;
class Fl_Button;
class Fl_Group;
class Fl_Widget;
class Fl_BMP_Image;
class Fl_Image;
struct Fl_Menu_Item;

namespace zorbo {

class HelpWindow;

// The start-up dialog: level set, start level, screen size, difficulty and sound, then
// "New Game", "Exit" or "?". The level-set box's context menu opens the level editor and
// holds the smooth-motion and music toggles.
class LauncherDialog {
public:
    // Looks at a level-set file; returns an empty string when it can be played, else one
    // sentence naming the problem.
    using CheckFile = std::function<std::string(const std::string& path)>;
    // Opens a level-set file in the level editor; returns an empty string, or one sentence
    // saying why the editor could not be started.
    using OpenEditor = std::function<std::string(const std::string& path)>;

    // Keeps the choices a game was started with, for the next start.
    using Remember = std::function<void(const SavedChoices& choices)>;

    // dataPath is the data folder, ending in '/'; its level sets are listed, then the
    // player's own (PlayerLevelsFolder). The dialog opens showing `shown` (a level set that is
    // not listed shows the designed name instead).
    LauncherDialog(std::string dataPath, CheckFile checkFile, OpenEditor openEditor = {},
                   SavedChoices shown = {}, Remember remember = {});
    ~LauncherDialog();
    LauncherDialog(const LauncherDialog&) = delete;
    LauncherDialog& operator=(const LauncherDialog&) = delete;

    // Shows the dialog and handles events until the player starts a game (true, with the
    // chosen settings) or leaves (false). Both windows are gone when it returns.
    bool Run(Settings& settings);
    // The furthest level reached in each level set, given before the dialog is loaded: the
    // level slider shows the chosen set's (the remembered level for a set without any), and
    // its tooltip says it.
    void SetProgress(Progress progress) { progress_ = std::move(progress); }

    void Form_Load();
    // Fills the lists and shows the choices the dialog was given; Form_Load does it after
    // placing the window, tests without a display.
    void LoadChoices();
    // What the controls hold now, and the level slider's caption.
    const LauncherChoices& ReadChoices();
    std::string LevelCaptionShown() const;
    std::string LevelTipShown() const;
    void HScroll1_Change();
    void Combo1_Change(); // the level set's text changed, typed or picked from the list
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void EditLevelSet_Click();
    void SmoothMotion_Click();
    void Music_Click();
    // The level-set box's context menu as it pops up now: the editor, a divider, then the
    // smooth-motion toggle, checked while motion is smooth, and the music toggle, checked
    // while music is heard (MusicHeard). Each item's callback acts on the dialog, so a test
    // can pick an entry without a display.
    std::vector<Fl_Menu_Item> LevelSetMenu();
    // A message box naming a problem found after the fact (an editor that did not run).
    void ShowProblem(const std::string& text) { ShowMessage(text, true); }

    // A control of the dialog and the rectangle it takes in the client area.
    struct Control {
        std::string name;  // its member's name, "unnamed" for one the dialog does not name
        int x, y, w, h;
        bool operator==(const Control&) const = default;
    };
    // Every control in the window, in the order they were made, groups' members after the
    // group; tests hold it to the designed layout.
    std::vector<Control> Controls() const;
    // The dialog's window, for tests that send it events without a display.
    Fl_Double_Window& Window() { return *Form1; }

    static constexpr int kWidth = 271;
    static constexpr int kHeight = 412;

private:
    void ReadControls();
    void ShowChoices(const SavedChoices& shown);
    void FitLevelCaption();
    void FollowLevelSet(const std::string& key);
    void MoveLevelSlider(int level);
    void Unload();
    void ShowMessage(const std::string& text, bool problem);

    std::string dataPath_;
    std::string playerFolder_; // the player's own level sets, listed after the data folder's
    CheckFile checkFile_;
    OpenEditor openEditor_;
    SavedChoices shown_;
    Remember remember_;
    LauncherChoices choices_;
    bool done_ = false;
    bool start_ = false;
    Settings settings_;

    std::unique_ptr<Fl_BMP_Image> title_;
    std::unique_ptr<Fl_Image> titleStretched_;
    std::unique_ptr<Fl_BMP_Image> icon_;
    std::unique_ptr<HelpWindow> Form2;

    std::unique_ptr<Fl_Double_Window> Form1;
    Fl_Box* Label1 = nullptr;
    Fl_Box* Image1 = nullptr;
    Fl_Box* Label2 = nullptr;
    Fl_Scrollbar* HScroll1 = nullptr;
    Fl_Box* Label3 = nullptr;
    Fl_Input_Choice* Combo1 = nullptr;
    Fl_Box* Label4 = nullptr;
    Fl_Input_Choice* Combo2 = nullptr;
    Fl_Check_Button* Check2 = nullptr;
    Fl_Group* Difficulty = nullptr;
    Fl_Round_Button* Option1 = nullptr;
    Fl_Round_Button* Option2 = nullptr;
    Fl_Round_Button* Option3 = nullptr;
    Fl_Round_Button* Option4 = nullptr;
    Fl_Button* Command1 = nullptr;
    Fl_Button* Command2 = nullptr;
    Fl_Button* Command3 = nullptr;
    std::string label2Caption_;
    Progress progress_;
    std::string followedSet_;        // the progress key of the set the slider shows
    bool levelFromProgress_ = false; // the slider shows that progress, not a chosen level
    std::string levelTip_;
};

} // namespace zorbo
