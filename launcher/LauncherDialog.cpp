#include "launcher/LauncherDialog.h"

#include "launcher/HelpWindow.h"
#include "launcher/MessageText.h"
#include "launcher/Placement.h"

#include <FL/Fl.H>
#include <FL/Fl_BMP_Image.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Input_Choice.H>
#include <FL/Fl_Menu_Button.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <functional>
#include <vector>

namespace zorbo {

namespace {

constexpr Fl_Fontsize kDialogText = 11;  // an 8 point dialog font at 96 dots per inch
constexpr Fl_Fontsize kTitleText = 21;   // 15.75 point

const char* const kEditMenuLabel = "Open in the level editor\xe2\x80\xa6";
const char* const kMotionMenuLabel = "Smooth motion";
const char* const kMusicMenuLabel = "Music";
const char* const kLevelSetTip =
    "Type a level set's name or pick one from the list.\n"
    "Right click or Ctrl+E: open it in the level editor.\n"
    "Right click also turns smooth motion and music on or off.";

// The default button: Enter (also the keypad's) presses it wherever the focus is, and a
// dark frame marks it as the default.
class DefaultButton : public Fl_Button {
public:
    DefaultButton(int x, int y, int w, int h, const char* label) : Fl_Button(x, y, w, h, label) {}

    int handle(int event) override
    {
        if (event == FL_SHORTCUT &&
            (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter) &&
            !(Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META))) {
            simulate_key_action();
            do_callback();
            return 1;
        }
        return Fl_Button::handle(event);
    }

    void draw() override
    {
        Fl_Button::draw();
        fl_color(FL_BLACK);
        fl_rect(x(), y(), w(), h());
    }
};

// A menu item's label is drawn with FLTK's markup: '&' underlines the next letter and a
// leading '@' names a symbol. File names may hold either, so both are escaped.
std::string MenuLabel(const std::string& name)
{
    std::string out;
    if (!name.empty() && name[0] == '@')
        out += '@';
    for (char ch : name) {
        out += ch;
        if (ch == '&')
            out += '&';
    }
    return out;
}

Fl_Box* MakeLabel(int x, int y, int w, int h, const char* caption)
{
    auto* b = new Fl_Box(x, y, w, h, caption);
    b->labelsize(kDialogText);
    b->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP | FL_ALIGN_LEFT);
    return b;
}

constexpr int kComboHeight = 21;

void SetUpCombo(Fl_Input_Choice* c, const char* text)
{
    c->textsize(kDialogText);
    c->input()->textsize(kDialogText);
    c->menubutton()->textsize(kDialogText);
    c->value(text);
}

Fl_Input_Choice* MakeCombo(int x, int y, int w, const char* text)
{
    auto* c = new Fl_Input_Choice(x, y, w, kComboHeight);
    SetUpCombo(c, text);
    return c;
}

bool IsEditShortcut()
{
    const int mods = Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META);
    return mods == FL_CTRL && (Fl::event_key() == 'e' || Fl::event_key() == 'E');
}

// The level-set box: a right click pops up its context menu.
class LevelSetBox : public Fl_Input_Choice {
public:
    using Menu = std::function<std::vector<Fl_Menu_Item>()>;

    LevelSetBox(int x, int y, int w, Menu menu) : Fl_Input_Choice(x, y, w, kComboHeight), menu_(std::move(menu)) {}

    int handle(int event) override
    {
        if (event == FL_PUSH && Fl::event_button() == FL_RIGHT_MOUSE) {
            // Made as it pops up, so the toggle shows the choice of the moment. A popup
            // only says what was picked: the item's own callback acts on it.
            const std::vector<Fl_Menu_Item> menu = menu_();
            const Fl_Menu_Item* picked = menu.front().popup(Fl::event_x(), Fl::event_y());
            if (picked != nullptr)
                picked->do_callback(this);
            return 1;
        }
        return Fl_Input_Choice::handle(event);
    }

private:
    Menu menu_;
};

// The dialog's window: Ctrl+E opens the chosen level set in the level editor wherever the
// focus is (no control of the dialog takes the key for itself).
class DialogWindow : public Fl_Double_Window {
public:
    DialogWindow(int w, int h, const char* title, std::function<void()> openEditor)
        : Fl_Double_Window(w, h, title), openEditor_(std::move(openEditor))
    {
    }

    int handle(int event) override
    {
        if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && IsEditShortcut()) {
            openEditor_();
            return 1;
        }
        return Fl_Double_Window::handle(event);
    }

private:
    std::function<void()> openEditor_;
};

Fl_Round_Button* MakeOption(int x, int y, int w, const char* caption)
{
    auto* o = new Fl_Round_Button(x, y, w, 17, caption);
    o->type(FL_RADIO_BUTTON);
    o->labelsize(kDialogText);
    return o;
}

template <void (LauncherDialog::*Handler)()>
void Call(Fl_Widget*, void* dialog)
{
    (static_cast<LauncherDialog*>(dialog)->*Handler)();
}

} // namespace

LauncherDialog::LauncherDialog(std::string dataPath, CheckFile checkFile, OpenEditor openEditor,
                               SavedChoices shown, Remember remember)
    : dataPath_(std::move(dataPath)), playerFolder_(PlayerLevelsFolder()), checkFile_(std::move(checkFile)),
      openEditor_(std::move(openEditor)), shown_(std::move(shown)), remember_(std::move(remember))
{
    Form1 = std::make_unique<DialogWindow>(kWidth, kHeight, "Zorbo", [this] { EditLevelSet_Click(); });
    Form1->begin();

    Label1 = new Fl_Box(16, 8, 233, 33, "Zorbo");
    Label1->labelfont(FL_HELVETICA_BOLD);
    Label1->labelsize(kTitleText);
    Label1->align(FL_ALIGN_INSIDE | FL_ALIGN_TOP);

    Image1 = new Fl_Box(24, 48, 219, 185);
    title_ = std::make_unique<Fl_BMP_Image>((dataPath_ + "title.bmp").c_str());
    if (title_->fail() == 0 && title_->w() > 0 && title_->h() > 0) {
        titleStretched_.reset(title_->copy(219, 185));
        Image1->image(titleStretched_.get());
    } else {
        // Without the picture the dialog still works; an empty frame keeps its place.
        Image1->box(FL_THIN_DOWN_FRAME);
    }

    // Kept on purpose: this caption differs from LevelCaption's until the slider first moves.
    Label2 = MakeLabel(16, 248, 80, 17, "Level (1/10):");
    HScroll1 = new Fl_Scrollbar(96, 248, 153, 17);
    HScroll1->type(FL_HORIZONTAL);
    HScroll1->value(1, 1, 1, 10);
    HScroll1->linesize(1);
    HScroll1->step(1);
    HScroll1->callback(Call<&LauncherDialog::HScroll1_Change>, this);

    Label3 = MakeLabel(16, 272, 80, 17, "Level Set:");
    // The editor and the smooth-motion toggle are reached from the box itself (right click,
    // and Ctrl+E for the editor): no control of the designed layout moves or shrinks for them.
    Combo1 = new LevelSetBox(96, 272, 153, [this] { return LevelSetMenu(); });
    SetUpCombo(Combo1, "Standard");
    Combo1->callback(Call<&LauncherDialog::Combo1_Change>, this);
    Combo1->when(FL_WHEN_CHANGED);
    Combo1->tooltip(kLevelSetTip);

    Label4 = MakeLabel(16, 296, 80, 17, "Screen Size:");
    Combo2 = MakeCombo(96, 296, 153, "Full Screen");

    Check2 = new Fl_Check_Button(16, 320, 81, 17, "Sound FX");
    Check2->labelsize(kDialogText);
    Check2->value(1);

    Difficulty = new Fl_Group(16, 344, 249, 17);
    Option1 = MakeOption(16, 344, 56, "Easy");
    Option2 = MakeOption(72, 344, 64, "Normal");
    Option3 = MakeOption(136, 344, 64, "Difficult");
    Option4 = MakeOption(200, 344, 65, "Crazy");
    Option2->value(1);
    Difficulty->end();

    Command1 = new DefaultButton(48, 376, 81, 25, "New Game");
    Command1->labelsize(kDialogText);
    Command1->callback(Call<&LauncherDialog::Command1_Click>, this);
    Command2 = new Fl_Button(136, 376, 81, 25, "Exit");
    Command2->labelsize(kDialogText);
    Command2->callback(Call<&LauncherDialog::Command2_Click>, this);
    Command3 = new Fl_Button(248, 392, 17, 17, "?");
    Command3->labelsize(kDialogText);
    Command3->callback(Call<&LauncherDialog::Command3_Click>, this);

    Form1->end();
    Form1->size_range(kWidth, kHeight, kWidth, kHeight);
    // The close control leaves like "Exit"; Escape does nothing in this dialog.
    Form1->callback(
        [](Fl_Widget*, void* dialog) {
            if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
                return;
            static_cast<LauncherDialog*>(dialog)->Command2_Click();
        },
        this);

    icon_ = std::make_unique<Fl_BMP_Image>((dataPath_ + "icon.bmp").c_str());
    if (icon_->fail() == 0 && icon_->w() > 0 && icon_->h() > 0)
        Form1->icon(icon_.get());
}

LauncherDialog::~LauncherDialog() = default;

void LauncherDialog::Form_Load()
{
    PlaceCentredLifted(*Form1);
    LoadChoices();
    FitLevelCaption();
}

void LauncherDialog::LoadChoices()
{
    choices_.levelSets = ListLevelSets(dataPath_, playerFolder_);
    Fl_Menu_Button* list = Combo1->menubutton();
    for (size_t i = 0; i < choices_.levelSets.size(); ++i) {
        // Each entry sets the box to its real name, not to the escaped menu label.
        const int index = list->add(
            "-", 0,
            [](Fl_Widget* menu, void* entry) {
                auto* combo = static_cast<Fl_Input_Choice*>(menu->parent());
                auto* self = static_cast<LauncherDialog*>(combo->user_data());
                const auto n = reinterpret_cast<std::uintptr_t>(entry);
                combo->value(self->choices_.levelSets[n].name.c_str());
                self->Combo1_Change();
            },
            reinterpret_cast<void*>(static_cast<std::uintptr_t>(i)));
        list->replace(index, MenuLabel(choices_.levelSets[i].name).c_str());
    }
    for (const char* size : kScreenSizes)
        Combo2->add(size);
    ShowChoices(shown_);
}

void LauncherDialog::ShowChoices(const SavedChoices& shown)
{
    LevelSetEntry listed;
    MatchLevelSet(choices_.levelSets, shown.levelSet, listed);
    const SavedChoices designed;
    Combo1->value(listed.file.empty() ? designed.levelSet.c_str() : shown.levelSet.c_str());
    MoveLevelSlider(shown.level);
    Combo1_Change();
    Combo2->value(shown.screenSize.c_str());
    Check2->value(shown.soundOn ? 1 : 0);
    // No control shows them: the context menu reads them when it pops up.
    choices_.motion = shown.motion;
    choices_.music = shown.music;
    Fl_Round_Button* const options[] = {Option1, Option2, Option3, Option4};
    for (size_t i = 0; i < std::size(options); ++i)
        options[i]->value(static_cast<int>(i) + 1 == static_cast<int>(shown.difficulty) ? 1 : 0);
}

std::string LauncherDialog::LevelCaptionShown() const
{
    return Label2->label();
}

std::string LauncherDialog::LevelTipShown() const
{
    return HScroll1->tooltip() != nullptr ? HScroll1->tooltip() : "";
}

void LauncherDialog::Combo1_Change()
{
    // Matched on a copy, as for the editor: only "New Game" decides which file is played.
    LevelSetEntry listed;
    MatchLevelSet(choices_.levelSets, Combo1->value(), listed);
    const std::string key = ProgressKey(listed.file, listed.place);
    if (!listed.file.empty() && key != followedSet_)
        FollowLevelSet(key);
}

void LauncherDialog::FollowLevelSet(const std::string& key)
{
    followedSet_ = key;
    const auto reached = progress_.find(key);
    if (reached != progress_.end()) {
        levelTip_ = "furthest reached: " + std::to_string(ShownLevel(reached->second));
        HScroll1->tooltip(levelTip_.c_str());
        MoveLevelSlider(ShownLevel(reached->second));
        levelFromProgress_ = true;
        return;
    }
    HScroll1->tooltip(nullptr);
    // Another set's furthest level means nothing here: back to the remembered level. A level
    // the player chose stays, as it always has.
    if (levelFromProgress_)
        MoveLevelSlider(shown_.level);
    levelFromProgress_ = false;
}

// Moved by the dialog, the slider keeps the caption's rule: the designed caption stays
// until the slider shows another level than the first, and then says the level shown.
void LauncherDialog::MoveLevelSlider(int level)
{
    level = std::clamp(level, 1, 10);
    if (level == static_cast<int>(HScroll1->value()))
        return;
    HScroll1->value(level, 1, 1, 10);
    label2Caption_ = LevelCaption(level);
    Label2->label(label2Caption_.c_str());
    FitLevelCaption();
}

const LauncherChoices& LauncherDialog::ReadChoices()
{
    ReadControls();
    return choices_;
}

void LauncherDialog::HScroll1_Change()
{
    levelFromProgress_ = false;
    label2Caption_ = LevelCaption(static_cast<int>(HScroll1->value()));
    Label2->label(label2Caption_.c_str());
    FitLevelCaption();
}

void LauncherDialog::FitLevelCaption()
{
    // Measuring needs a display: Form_Load fits the caption once it has one.
    if (fl_display == nullptr)
        return;
    // Our font is wider than the one the dialog was laid out for: "Level: (10/10)" steps
    // down a size rather than run under the slider.
    Fl_Fontsize size = kDialogText;
    for (; size > 8; --size) {
        fl_font(Label2->labelfont(), size);
        if (fl_width(label2Caption_.c_str()) <= Label2->w() - 2)
            break;
    }
    Label2->labelsize(size);
    Label2->redraw_label();
    Form1->redraw();
}

void LauncherDialog::ReadControls()
{
    choices_.levelSetText = Combo1->value();
    choices_.level = static_cast<int>(HScroll1->value());
    choices_.screenSizeText = Combo2->value();
    choices_.soundOn = Check2->value() != 0;
    if (Option1->value())
        choices_.difficulty = DifficultyOption::Easy;
    else if (Option2->value())
        choices_.difficulty = DifficultyOption::Normal;
    else if (Option3->value())
        choices_.difficulty = DifficultyOption::Difficult;
    else
        choices_.difficulty = DifficultyOption::Crazy;
}

void LauncherDialog::Command1_Click()
{
    ReadControls();
    NewGameOutcome out = DecideNewGame(choices_, dataPath_, checkFile_);
    switch (out.kind) {
    case NewGameOutcome::UnknownLevelSet:
        ShowMessage(out.message, false);
        return;
    case NewGameOutcome::InvalidLevelSet:
        ShowMessage(out.message, true);
        return;
    case NewGameOutcome::Start:
        settings_ = out.settings;
        if (remember_)
            remember_(ChoicesToRemember(choices_, settings_));
        start_ = true;
        Unload();
        return;
    }
}

void LauncherDialog::Command2_Click()
{
    start_ = false;
    Unload();
}

void LauncherDialog::Command3_Click()
{
    if (!Form2)
        Form2 = std::make_unique<HelpWindow>();
    Form2->Show();
}

void LauncherDialog::EditLevelSet_Click()
{
    ReadControls();
    // Matched on a copy: opening the editor is no "New Game" attempt and must not change
    // which file a later one remembers.
    LevelSetEntry chosen = choices_.chosen;
    MatchLevelSet(choices_.levelSets, choices_.levelSetText, chosen);
    if (chosen.file.empty()) {
        ShowMessage(kUnknownLevelSetMessage, false);
        return;
    }
    // A set of the data folder opens as a copy there, saved into the player's own folder.
    const std::string problem =
        openEditor_ ? openEditor_(chosen.PathIn(dataPath_)) : std::string("The level editor is not available.");
    if (!problem.empty())
        ShowMessage(problem, true);
}

void LauncherDialog::SmoothMotion_Click()
{
    // Kept like the other choices: with them, once a game starts.
    choices_.motion = choices_.motion == Motion::Smooth ? Motion::Classic : Motion::Smooth;
}

void LauncherDialog::Music_Click()
{
    // Once ticked or unticked by hand the music no longer follows the motion.
    choices_.music = MusicHeard(choices_.music, choices_.motion) ? MusicChoice::Off : MusicChoice::On;
}

std::vector<Fl_Menu_Item> LauncherDialog::LevelSetMenu()
{
    const int smooth = choices_.motion == Motion::Smooth ? FL_MENU_VALUE : 0;
    const int music = MusicHeard(choices_.music, choices_.motion) ? FL_MENU_VALUE : 0;
    return {
        {kEditMenuLabel, 0, Call<&LauncherDialog::EditLevelSet_Click>, this, FL_MENU_DIVIDER, FL_NORMAL_LABEL,
         FL_HELVETICA, kDialogText, FL_BLACK},
        {kMotionMenuLabel, 0, Call<&LauncherDialog::SmoothMotion_Click>, this, FL_MENU_TOGGLE | smooth,
         FL_NORMAL_LABEL, FL_HELVETICA, kDialogText, FL_BLACK},
        {kMusicMenuLabel, 0, Call<&LauncherDialog::Music_Click>, this, FL_MENU_TOGGLE | music, FL_NORMAL_LABEL,
         FL_HELVETICA, kDialogText, FL_BLACK},
        {},
    };
}

std::vector<LauncherDialog::Control> LauncherDialog::Controls() const
{
    const std::pair<const Fl_Widget*, const char*> names[] = {
        {Label1, "Label1"},   {Image1, "Image1"},     {Label2, "Label2"},   {HScroll1, "HScroll1"},
        {Label3, "Label3"},   {Combo1, "Combo1"},     {Label4, "Label4"},   {Combo2, "Combo2"},
        {Check2, "Check2"},   {Difficulty, "Difficulty"}, {Option1, "Option1"},   {Option2, "Option2"}, {Option3, "Option3"},
        {Option4, "Option4"}, {Command1, "Command1"}, {Command2, "Command2"}, {Command3, "Command3"},
    };
    std::vector<Control> out;
    const auto add = [&](const Fl_Widget* w) {
        std::string name = "unnamed";
        for (const auto& [widget, memberName] : names)
            if (widget == w)
                name = memberName;
        out.push_back({name, w->x(), w->y(), w->w(), w->h()});
    };
    for (int i = 0; i < Form1->children(); ++i) {
        Fl_Widget* child = Form1->child(i);
        add(child);
        // The combo boxes are groups too, but their parts are theirs, not the dialog's.
        const Fl_Group* group = child->as_group();
        if (group != nullptr && dynamic_cast<const Fl_Input_Choice*>(child) == nullptr)
            for (int j = 0; j < group->children(); ++j)
                add(group->child(j));
    }
    return out;
}

void LauncherDialog::Unload()
{
    done_ = true;
    // The help window goes too: nothing would serve its events once the game runs.
    if (Form2)
        Form2->Hide();
    Form1->hide();
}

void LauncherDialog::ShowMessage(const std::string& text, bool problem)
{
    fl_message_title("Zorbo");
    fl_message_hotspot(0);
    const char* closeCaption = fl_close;
    fl_close = "OK";
    const std::string shown = FitToScreen(text);
    if (problem)
        fl_alert("%s", shown.c_str());
    else
        fl_message("%s", shown.c_str());
    fl_close = closeCaption;
}

bool LauncherDialog::Run(Settings& settings)
{
    done_ = false;
    start_ = false;
    Form_Load();
    // Combo1 is focused first, so the player can type a level-set name at once.
    Combo1->input()->take_focus();
    Form1->show();
    while (!done_ && Fl::wait() >= 0) {
    }
    Form2.reset();
    Form1->hide();
    Fl::flush();
    if (start_)
        settings = settings_;
    return start_;
}

} // namespace zorbo
