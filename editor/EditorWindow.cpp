#include "editor/EditorWindow.h"

#include "editor/EditorDialogs.h"
#include "editor/MapView.h"
#include "editor/Palette.h"
#include "editor/PaletteView.h"
#include "editor/Recovery.h"
#include "editor/TextWidth.h"
#include "launcher/MessageText.h"
#include "level/LevelFile.h"
#include "level/LevelSets.h"
#include "level/Rules.h"
#include "media/UserFolders.h"

#include <FL/Fl.H>
#include <FL/Fl_BMP_Image.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input_.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Progress.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/fl_ask.H>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>

namespace zorbo::editor {

namespace {

constexpr int kMenuHeight = 25;
constexpr int kToolBarHeight = 32;
constexpr int kPaletteWidth = 270;
constexpr int kCheckHeight = 150;
constexpr int kStatusHeight = 22;
// Narrow enough that the whole tool bar fits a screen 1024 pixels wide.
constexpr int kToolButton = 48;
constexpr int kProofBar = 80;
// Where the check list's messages start: after its kind, level, row and column.
constexpr int kMessageColumn = 290;
constexpr const char* kSolverName = "zorbo_solve";
constexpr Fl_Fontsize kText = 12;
// Seconds without an edit before the recovery copy is written.
constexpr double kRecoveryIdle = 3.0;

constexpr const char* kToolNames[ToolCount] = {"Paint", "Erase", "Fill", "Pick", "Select", "Bucket", "Stamp"};
constexpr const char* kToolHints[ToolCount] = {
    "Paint: the left button paints the chosen code, the right one erases, the middle one picks",
    "Erase: the left button empties cells (night beside night, else sky)",
    "Fill: drag a rectangle to fill with the chosen code; with the right button, to empty it",
    "Pick: click a cell to choose its code",
    "Select: drag a rectangle; drag it to move it, with Ctrl held to copy it",
    "Bucket: click a cell to give it and every cell of its code joined to it side by side the chosen code",
    "Stamp: lays the piece chosen in the Stamps menu",
};

// The editor whose window sees every key first (there is one per program).
EditorWindow* keysOwner = nullptr;

template <void (EditorWindow::*Handler)()>
void Call(Fl_Widget*, void* window)
{
    (static_cast<EditorWindow*>(window)->*Handler)();
}

template <Tool T>
void CallTool(Fl_Widget*, void* window)
{
    static_cast<EditorWindow*>(window)->ChooseTool(T);
}

template <bool (EditorWindow::*Handler)()>
void CallBool(Fl_Widget*, void* window)
{
    (static_cast<EditorWindow*>(window)->*Handler)();
}

std::string BaseName(const std::string& path)
{
    return path.empty() ? "Untitled" : std::filesystem::path(path).filename().string();
}

// SIGTERM and SIGHUP only write their number here; the event loop reads it, writes the
// recovery copy and ends the editor, with no unsafe work in the handler.
int signalPipe[2] = {-1, -1};

void OnEndSignal(int signal)
{
    const int saved = errno;
    const auto number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &number, 1);
    errno = saved;
}

} // namespace

// The window itself: the close control asks about unsaved changes, and the keys a menu
// item cannot carry reach the editor.
class EditorWindow::Frame : public Fl_Double_Window {
public:
    Frame(int w, int h, EditorWindow& owner) : Fl_Double_Window(w, h), owner_(owner) {}

    int handle(int event) override
    {
        if (event == FL_SHORTCUT && owner_.ExtraShortcut())
            return 1;
        return Fl_Double_Window::handle(event);
    }

private:
    EditorWindow& owner_;
};

EditorWindow::EditorWindow(std::string dataPath, std::string game, const Pictures& pictures)
    : dataPath_(std::move(dataPath)), shippedFolder_(dataPath_), playerFolder_(PlayerLevelsFolder()),
      game_(std::move(game)), pictures_(pictures),
      bands_(BandLuminances([&pictures](int32_t code) -> const Surface& { return pictures.Tile(code, 1); })),
      doc_(std::make_unique<LevelDocument>()), tools_(*doc_),
      solver_((std::filesystem::path(game_).parent_path() / kSolverName).string())
{
    recoveryFile_ = RecoveryFileOf({});
    window_ = std::make_unique<Frame>(kWidth, kHeight, *this);
    window_->begin();
    menu_ = new Fl_Menu_Bar(0, 0, kWidth, kMenuHeight);
    menu_->textsize(kText);
    BuildMenu();
    BuildToolBar(kMenuHeight);

    const int top = kMenuHeight + kToolBarHeight;
    const int bottom = kHeight - kStatusHeight;
    palette_ = new PaletteView(0, top, kPaletteWidth, bottom - top, pictures_);
    palette_->onChoose = [this](int32_t code) {
        tools_.SetCode(code);
        if (tools_.tool() == Tool::Erase || tools_.tool() == Tool::Pick)
            tools_.SetTool(Tool::Paint);
        UpdateToolBar();
    };
    palette_->onHover = [this] { ShowHover(); };

    const int mapBottom = bottom - kCheckHeight;
    map_ = new MapView(kPaletteWidth, top, kWidth - kPaletteWidth, mapBottom - top, pictures_, tools_);
    map_->onEdit = [this] {
        AfterEdit();
        ShowHover(); // the cell under the mouse has a new code
    };
    map_->onHover = [this] { ShowHover(); };
    map_->onMenu = [this](const CellPos& cell) { MapMenu(cell); };

    // The proof's bars and its Cancel button stand at the right of the check's summary.
    const int proofLeft = kWidth - ProofCount * (kProofBar + 2) - 64;
    checkSummary_ = new Fl_Box(kPaletteWidth, mapBottom, proofLeft - kPaletteWidth, 22);
    checkSummary_->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT);
    checkSummary_->labelsize(kText);
    checkSummary_->labelfont(FL_HELVETICA_BOLD);
    for (int d = 0; d < ProofCount; ++d) {
        auto* bar = new Fl_Progress(proofLeft + d * (kProofBar + 2), mapBottom + 2, kProofBar, 18,
                                    kProofDifficulties[static_cast<size_t>(d)].shown);
        bar->labelsize(kText - 1);
        bar->minimum(0);
        bar->maximum(1);
        bar->selection_color(FL_DARK_GREEN);
        bar->hide();
        proofBars_[d] = bar;
    }
    cancelProof_ = new Fl_Button(kWidth - 62, mapBottom + 2, 60, 18, "Cancel");
    cancelProof_->labelsize(kText - 1);
    cancelProof_->tooltip("Stop proving the level (Shift+F6)");
    cancelProof_->callback(Call<&EditorWindow::CancelProof>, this);
    cancelProof_->hide();
    checkList_ = new Fl_Hold_Browser(kPaletteWidth, mapBottom + 22, kWidth - kPaletteWidth, kCheckHeight - 22);
    checkList_->textsize(kText);
    static const int widths[] = {70, 70, 60, kMessageColumn - 200, 0};
    checkList_->column_widths(widths);
    checkList_->column_char('\t');
    checkList_->format_char('\x01'); // messages are shown as they are
    checkList_->when(FL_WHEN_CHANGED | FL_WHEN_NOT_CHANGED);
    checkList_->callback(Call<&EditorWindow::JumpToProblem>, this);

    status_ = new Fl_Box(0, bottom, kWidth, kStatusHeight);
    status_->box(FL_THIN_DOWN_BOX);
    status_->align(FL_ALIGN_INSIDE | FL_ALIGN_LEFT);
    status_->labelsize(kText);
    window_->end();
    window_->resizable(map_);
    window_->size_range(800, 500);
    window_->callback(Call<&EditorWindow::Close>, this);
    icon_ = std::make_unique<Fl_BMP_Image>((dataPath_ + "icon.bmp").c_str());
    if (icon_->fail() == 0 && icon_->w() > 0 && icon_->h() > 0)
        window_->icon(icon_.get());

    map_->SetDocument(*doc_);
    UpdateToolBar();
    keysOwner = this;
    Fl::event_dispatch(DispatchKeys);
}

EditorWindow::~EditorWindow()
{
    if (keysOwner == this) {
        Fl::event_dispatch(nullptr);
        keysOwner = nullptr;
    }
    Fl::remove_timeout(CheckTimer, this);
    Fl::remove_timeout(ReapTimer, this);
    Fl::remove_timeout(ProofTimer, this);
    Fl::remove_timeout(RecoveryTimer, this);
}

void EditorWindow::BuildMenu()
{
    struct Item {
        const char* path;
        int shortcut;
        Fl_Callback* call;
        int flags;
    };
    const Item items[] = {
        {"&File/&New", FL_CTRL + 'n', Call<&EditorWindow::NewSet>, 0},
        {"&File/&Open...", FL_CTRL + 'o', Call<&EditorWindow::OpenDialog>, 0},
        {"&File/&Save", FL_CTRL + 's', CallBool<&EditorWindow::Save>, 0},
        {"&File/Save &as...", FL_CTRL + FL_SHIFT + 's', CallBool<&EditorWindow::SaveAs>, FL_MENU_DIVIDER},
        {"&File/&Test play", FL_F + 5, Call<&EditorWindow::TestPlayHere>, 0},
        {"&File/P&rove", FL_F + 6, Call<&EditorWindow::Prove>, 0},
        {"&File/Cancel pro&of", FL_SHIFT + FL_F + 6, Call<&EditorWindow::CancelProof>, FL_MENU_DIVIDER},
        {"&File/&Quit", FL_CTRL + 'q', Call<&EditorWindow::Close>, 0},
        {"&Edit/&Undo", FL_CTRL + 'z', Call<&EditorWindow::Undo>, 0},
        {"&Edit/&Redo", FL_CTRL + 'y', Call<&EditorWindow::Redo>, FL_MENU_DIVIDER},
        {"&Edit/Cu&t", FL_CTRL + 'x', Call<&EditorWindow::CutSelection>, 0},
        {"&Edit/&Copy", FL_CTRL + 'c', Call<&EditorWindow::CopySelection>, 0},
        {"&Edit/&Paste", FL_CTRL + 'v', Call<&EditorWindow::PasteClip>, 0},
        {"&Edit/&Delete", FL_Delete, Call<&EditorWindow::DeleteSelection>, FL_MENU_DIVIDER},
        {"&Edit/&Insert columns", FL_Insert, Call<&EditorWindow::InsertColumns>, 0},
        {"&Edit/De&lete columns", FL_CTRL + FL_Delete, Call<&EditorWindow::DeleteColumns>, FL_MENU_DIVIDER},
        {"&Edit/Level &title...", 0, Call<&EditorWindow::EditLevelTitle>, 0},
        {"&View/Zoom &in", '+', Call<&EditorWindow::ZoomIn>, 0},
        {"&View/Zoom &out", '-', Call<&EditorWindow::ZoomOut>, 0},
        {"&View/&Grid", FL_CTRL + 'g', Call<&EditorWindow::ToggleGrid>, 0},
        {"&View/Show proof &route", 0, Call<&EditorWindow::ToggleProofRoute>, FL_MENU_TOGGLE | FL_MENU_VALUE | FL_MENU_DIVIDER},
        {"&View/&Previous level", FL_CTRL + FL_Page_Up, Call<&EditorWindow::PreviousLevel>, 0},
        {"&View/&Next level", FL_CTRL + FL_Page_Down, Call<&EditorWindow::NextLevel>, 0},
    };
    for (const Item& item : items)
        menu_->add(item.path, item.shortcut, item.call, this, item.flags);
    menu_->add("&Tools/&Paint", 'p', CallTool<Tool::Paint>, this);
    menu_->add("&Tools/&Erase", 'e', CallTool<Tool::Erase>, this);
    menu_->add("&Tools/&Rectangle fill", 'r', CallTool<Tool::Fill>, this);
    menu_->add("&Tools/P&ick", 'i', CallTool<Tool::Pick>, this);
    menu_->add("&Tools/&Select", 's', CallTool<Tool::Select>, this);
    menu_->add("&Tools/&Bucket fill", 'b', CallTool<Tool::Bucket>, this);
    menu_->add("&Tools/S&tamp", 't', CallTool<Tool::Stamp>, this);
    for (const Stamp& stamp : kStamps) {
        menu_->add(("&Stamps/" + std::string(stamp.name)).c_str(), 0, [](Fl_Widget* w, void* self) {
            const std::string_view picked = static_cast<Fl_Menu_*>(w)->mvalue()->label();
            for (int n = 0; n < StampCount; ++n)
                if (kStamps[static_cast<size_t>(n)].name == picked)
                    static_cast<EditorWindow*>(self)->ChooseStamp(n);
        }, this);
    }
}

void EditorWindow::BuildToolBar(int y)
{
    auto* bar = new Fl_Group(0, y, kWidth, kToolBarHeight);
    int x = 50;
    level_ = new Fl_Choice(x, y + 4, 150, 24, "Level:");
    level_->labelsize(kText);
    level_->textsize(kText);
    level_->tooltip("The level shown; Edit > Level title... renames it");
    for (int n = 1; n <= Levels; ++n)
        level_->add(std::to_string(n).c_str()); // named from the file by RelabelLevels
    level_->value(0);
    level_->callback([](Fl_Widget* w, void* self) {
        static_cast<EditorWindow*>(self)->ChooseLevel(static_cast<Fl_Choice*>(w)->value());
    }, this);
    x += 158;

    for (int t = 0; t < ToolCount; ++t) {
        auto* b = new Fl_Button(x, y + 4, kToolButton, 24, kToolNames[t]);
        b->type(FL_RADIO_BUTTON);
        b->labelsize(kText);
        b->tooltip(kToolHints[t]);
        b->callback([](Fl_Widget* w, void* self) {
            auto* window = static_cast<EditorWindow*>(self);
            for (int t = 0; t < ToolCount; ++t)
                if (window->toolButtons_[t] == w)
                    window->ChooseTool(static_cast<Tool>(t));
        }, this);
        toolButtons_[t] = b;
        x += kToolButton + 2;
    }
    x += 6;

    auto* out = new Fl_Button(x, y + 4, 24, 24, "-");
    out->tooltip("Zoom out (-)");
    out->callback(Call<&EditorWindow::ZoomOut>, this);
    zoomLabel_ = new Fl_Box(x + 24, y + 4, 32, 24);
    zoomLabel_->labelsize(kText);
    auto* in = new Fl_Button(x + 56, y + 4, 24, 24, "+");
    in->tooltip("Zoom in (+)");
    in->callback(Call<&EditorWindow::ZoomIn>, this);
    x += 86;

    grid_ = new Fl_Check_Button(x, y + 4, 50, 24, "Grid");
    grid_->labelsize(kText);
    grid_->value(1);
    grid_->callback(Call<&EditorWindow::ToggleGrid>, this);
    x += 52;

    auto* insert = new Fl_Button(x, y + 4, 94, 24, "Insert columns");
    insert->labelsize(kText);
    insert->tooltip("Insert the selected columns' width of empty columns, or one at the mouse (Insert)");
    insert->callback(Call<&EditorWindow::InsertColumns>, this);
    auto* remove = new Fl_Button(x + 96, y + 4, 94, 24, "Delete columns");
    remove->labelsize(kText);
    remove->tooltip("Delete the selected columns, or the one at the mouse (Ctrl+Delete)");
    remove->callback(Call<&EditorWindow::DeleteColumns>, this);
    x += 196;

    auto* play = new Fl_Button(x, y + 4, 70, 24, "Test play");
    play->labelsize(kText);
    play->labelfont(FL_HELVETICA_BOLD);
    play->tooltip("Play this level in the game from its hero start; F5 plays it from the column under the mouse, "
                  "and so does Shift with a right click on the map");
    play->callback(Call<&EditorWindow::TestPlayFromStart>, this);

    auto* prove = new Fl_Button(x + 72, y + 4, 50, 24, "Prove");
    prove->labelsize(kText);
    prove->labelfont(FL_HELVETICA_BOLD);
    prove->tooltip("Prove this level finishable at each difficulty with the solver, in the background (F6)");
    prove->callback(Call<&EditorWindow::Prove>, this);

    auto* rest = new Fl_Box(x + 124, y, 1, kToolBarHeight);
    bar->resizable(rest);
    bar->end();
}

bool EditorWindow::Open(const std::string& path, std::string& error)
{
    bool isNew = false;
    std::optional<LevelDocument> doc = LevelDocument::LoadOrNew(path, isNew, error);
    if (!doc)
        return false;
    const bool recovered = OfferRecovery(doc, path);
    UseDocument(std::make_unique<LevelDocument>(std::move(*doc)), path);
    copy_ = EditedAsCopy(path, shippedFolder_);
    UpdateTitle();
    const std::string copyNote = copy_ == CopyReason::None
                                     ? std::string()
                                     : " as a copy (" + CopyWords(copy_) + "): Save asks for a name in " + playerFolder_;
    if (recovered)
        Status("Recovered the unsaved changes to " + path + copyNote + ": save them to keep them" + LockNote());
    else if (isNew)
        Status("New level set: it is written to " + path + " when saved" + copyNote + LockNote());
    else
        Status("Opened " + path + copyNote + LockNote());
    return true;
}

void EditorWindow::RecoverUntitled()
{
    const std::string folder = RecoveryFolder();
    if (folder.empty())
        return;
    // The newest copy first; one discarded or unreadable leads to the next.
    for (const std::string& file : AbandonedUntitledCopies(folder, RecoveryFileOf({}))) {
        std::string reason;
        if (!untitled_.lock.Acquire(file, reason) && untitled_.lock.Busy())
            continue; // another editor took it up meanwhile
        untitled_.file = file;
        std::optional<LevelDocument> doc = LevelDocument();
        if (OfferRecovery(doc, {})) {
            UseDocument(std::make_unique<LevelDocument>(std::move(*doc)), {});
            Status("Recovered the unsaved changes to a set without a file: save them to keep them");
            return;
        }
    }
    recoveryFile_ = RecoveryFileOf({});
}

std::string EditorWindow::RecoveryFileOf(const std::string& path)
{
    const std::string folder = RecoveryFolder();
    if (folder.empty())
        return {};
    if (!path.empty())
        return RecoveryFile(folder, path);
    if (untitled_.file.empty())
        untitled_ = NewUntitledCopy(folder);
    return untitled_.file;
}

bool EditorWindow::OfferRecovery(std::optional<LevelDocument>& doc, const std::string& path)
{
    const std::string file = RecoveryFileOf(path);
    const std::optional<RecoveryCopy> copy = file.empty() ? std::nullopt : FindRecovery(file, path);
    if (!copy)
        return false;
    char date[64] = "an unknown time";
    std::tm local{};
    if (localtime_r(&copy->written, &local) != nullptr)
        std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    if (Choice("Recover unsaved changes?",
               "Recover unsaved changes to " + BaseName(path) + " from " + date + "?", "Discard", "Recover",
               nullptr) != 1) {
        RemoveRecovery(file);
        return false;
    }
    std::string error;
    std::optional<LevelDocument> recovered = LevelDocument::Recovered(*doc, copy->text, error, copy->olderThanFile);
    if (!recovered) {
        Alert("Cannot recover", "The recovery copy " + file + " cannot be read as a level set (" + error +
                                    "); " + BaseName(path) + " opens as it was saved.");
        return false;
    }
    doc = std::move(recovered);
    return true;
}

// Said after an open or a save when the file could not be locked against other editors.
std::string EditorWindow::LockNote() const
{
    if (doc_->LockProblem().empty())
        return {};
    return " (not locked against other editors: " + doc_->LockProblem() +
           "; a change made elsewhere is still asked about before saving)";
}

// Asked just before a save: someone else may have changed or deleted the file since it was
// read or saved here. False when the save is not to go ahead.
bool EditorWindow::AskAboutDisk()
{
    const std::string name = BaseName(path_);
    switch (doc_->ChangedOnDisk(path_)) {
    case DiskChange::Same:
        return true;
    case DiskChange::Deleted:
        return Choice("File deleted", name + " was deleted since it was opened. Save it again?", "Cancel", "Save",
                      nullptr) == 1;
    case DiskChange::Changed:
        break;
    }
    const int answer = Choice("File changed on disk",
                              name + " was changed by another program since it was opened or saved here. Overwrite "
                                     "it with the set as edited here (the other changes are lost), reload it from "
                                     "disk (the changes made here are lost), or cancel?",
                              "Cancel", "Overwrite", "Reload");
    if (answer == 2) {
        std::string error;
        std::optional<LevelDocument> doc = LevelDocument::Load(path_, error);
        if (!doc) {
            Alert("Cannot reload", error);
            return false;
        }
        RemoveRecovery(recoveryFile_);
        UseDocument(std::make_unique<LevelDocument>(std::move(*doc)), path_);
        Status("Reloaded " + path_ + " as it is on disk");
    }
    return answer == 1;
}

// Written once the edits pause; removed again when nothing is left unsaved (undone to the
// saved state).
void EditorWindow::KeepRecovery()
{
    if (recoveryFile_.empty())
        return;
    if (!doc_->Modified()) {
        RemoveRecovery(recoveryFile_);
        return;
    }
    std::string reason;
    if (!WriteRecovery(recoveryFile_, path_, doc_->ToBytes(), reason))
        Status("Cannot keep a recovery copy of the changes: " + reason);
}

void EditorWindow::RecoveryTimer(void* self)
{
    static_cast<EditorWindow*>(self)->KeepRecovery();
}

void EditorWindow::EndSignalArrived(int fd, void* self)
{
    auto* window = static_cast<EditorWindow*>(self);
    unsigned char number = 0;
    if (::read(fd, &number, 1) != 1)
        return;
    window->KeepRecovery();
    window->endSignal_ = number;
    // Every window closes, an open question too, so that the event loop ends.
    while (Fl_Window* shown = Fl::first_window())
        shown->hide();
}

void EditorWindow::UseDocument(std::unique_ptr<LevelDocument> doc, const std::string& path)
{
    doc_ = std::move(doc);
    path_ = path;
    copy_ = CopyReason::None;
    recoveryFile_ = RecoveryFileOf(path);
    tools_.SetDocument(*doc_);
    map_->SetDocument(*doc_);
    ChooseLevel(0);
    RelabelLevels();
    RefreshCheck();
    UpdateTitle();
}

int EditorWindow::Run()
{
    // A smaller screen gets a smaller window: everything but the map keeps its size.
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_work_area(sx, sy, sw, sh);
    if (sw < window_->w() || sh < window_->h())
        window_->resize(sx, sy, std::max(800, std::min(window_->w(), sw)), std::max(500, std::min(window_->h(), sh)));
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        struct sigaction action {};
        action.sa_handler = OnEndSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGTERM, &action, nullptr);
        ::sigaction(SIGHUP, &action, nullptr);
        Fl::add_fd(signalPipe[0], FL_READ, EndSignalArrived, this);
    }
    window_->show();
    map_->Focus();
    const int status = Fl::run();
    if (signalPipe[0] >= 0)
        Fl::remove_fd(signalPipe[0]);
    // Ended by a signal, the editor says so in its status, as the default action would.
    return endSignal_ != 0 ? 128 + endSignal_ : status;
}

// ---- files

bool EditorWindow::AskToKeepChanges()
{
    if (!doc_->Modified()) {
        RemoveRecovery(recoveryFile_); // one left from edits undone since
        return true;
    }
    fl_message_title("Unsaved changes");
    switch (Choice("Unsaved changes", BaseName(path_) + " has changes that are not saved.", "Cancel", "Save",
                   "Discard")) {
    case 1: return Save();
    case 2: RemoveRecovery(recoveryFile_); return true;
    default: return false;
    }
}

void EditorWindow::NewSet()
{
    if (!AskToKeepChanges())
        return;
    UseDocument(std::make_unique<LevelDocument>(), {});
    Status("A new level set of ten empty levels");
}

void EditorWindow::OpenDialog()
{
    if (!AskToKeepChanges())
        return;
    // The player's own sets first; the data folder's are a folder up the chooser's list away.
    std::error_code ec;
    const std::string start = !path_.empty() ? path_
                              : std::filesystem::is_directory(playerFolder_, ec) ? playerFolder_
                                                                                  : dataPath_;
    const char* chosen = fl_file_chooser("Open a level set", "Level sets (*.txt)", start.c_str());
    if (chosen == nullptr)
        return;
    std::string error;
    if (!Open(chosen, error)) {
        Alert("Cannot open", error);
    }
}

bool EditorWindow::Save()
{
    // A copy's first save, like a new set's, asks where in the player's folder it goes.
    if (path_.empty() || copy_ != CopyReason::None)
        return SaveAs();
    if (const std::string refusal = SaveRefusal(path_, shippedFolder_); !refusal.empty()) {
        Alert("Cannot save here", refusal);
        return false;
    }
    RefreshCheck();
    if (check_.errors > 0) {
        const bool one = check_.errors == 1;
        const int answer = Choice("Save a level set with errors?",
                                  BaseName(path_) + " has " + std::to_string(check_.errors) + " error" +
                                      (one ? "" : "s") + " (see the check list): the game refuses it until " +
                                      (one ? "it is" : "they are") + " fixed.",
                                  "Cancel", "Save anyway", nullptr);
        if (answer != 1)
            return false;
    }
    if (!AskAboutDisk())
        return false;
    std::string error;
    if (!doc_->Save(path_, error)) {
        Alert("Cannot save", error);
        return false;
    }
    // The file holds the edits now; a copy kept under an earlier name (Save as) goes too.
    RemoveRecovery(recoveryFile_);
    recoveryFile_ = RecoveryFileOf(path_);
    RemoveRecovery(recoveryFile_);
    UpdateTitle();
    Status("Saved " + path_ + LockNote());
    return true;
}

bool EditorWindow::SaveAs()
{
    // The player's folder is made when first needed, so that the chooser can open in it.
    std::string reason;
    if (!playerFolder_.empty() && !MakePrivateFolders(playerFolder_, reason))
        Status("Your levels folder cannot be made: " + reason);
    const std::string start = ProposedSavePath(path_, playerFolder_);
    const char* chosen = fl_file_chooser("Save the level set as", "Level sets (*.txt)", start.c_str());
    if (chosen == nullptr)
        return false;
    const std::string target = chosen;
    if (const std::string refusal = SaveRefusal(target, shippedFolder_); !refusal.empty()) {
        Alert("Cannot save here", refusal);
        return false;
    }
    std::error_code ec;
    if (target != path_ && std::filesystem::exists(target, ec) &&
        Choice("Replace the file?", BaseName(target) + " already exists. Replace it with this set?", "Cancel",
               "Replace", nullptr) != 1)
        return false;
    const std::string previous = path_;
    const CopyReason previousCopy = copy_;
    path_ = target;
    copy_ = CopyReason::None;
    if (!Save()) {
        path_ = previous;
        copy_ = previousCopy;
        UpdateTitle();
        return false;
    }
    return true;
}

void EditorWindow::Close()
{
    // Escape does not close the editor: it is too easily pressed while working.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
        return;
    if (!AskToKeepChanges())
        return;
    window_->hide();
}

// ---- edits

void EditorWindow::Undo()
{
    Status(doc_->Undo() ? "Undone" : "Nothing to undo");
    AfterEdit();
}

void EditorWindow::Redo()
{
    Status(doc_->Redo() ? "Redone" : "Nothing to redo");
    AfterEdit();
}

void EditorWindow::CopySelection()
{
    Status(tools_.Copy() ? "Copied the selection" : "Select a rectangle first (the Select tool)");
}

void EditorWindow::CutSelection()
{
    Status(tools_.Cut() ? "Cut the selection" : "Select a rectangle first (the Select tool)");
    AfterEdit();
}

void EditorWindow::PasteClip()
{
    if (!tools_.Paste(ActionCell())) {
        Status("Nothing copied yet");
        return;
    }
    Status("Pasted; the pasted cells are selected");
    AfterEdit();
}

void EditorWindow::DeleteSelection()
{
    Status(tools_.Delete() ? "Emptied the selection" : "Select a rectangle first (the Select tool)");
    AfterEdit();
}

void EditorWindow::InsertColumns()
{
    std::string error;
    if (!tools_.InsertColumns(map_->View().level, ActionCell().col, error)) {
        Alert("Cannot insert columns", error);
        return;
    }
    AfterEdit();
}

void EditorWindow::DeleteColumns()
{
    tools_.DeleteColumns(map_->View().level, ActionCell().col);
    AfterEdit();
}

CellPos EditorWindow::ActionCell() const
{
    if (map_->Hover())
        return *map_->Hover();
    if (tools_.Selection())
        return CellPos{tools_.Selection()->level, tools_.Selection()->row, tools_.Selection()->col};
    return CellPos{map_->View().level, 0, map_->FirstColumn()};
}

void EditorWindow::AfterEdit()
{
    if (palette_->Code() != tools_.code())
        palette_->SetCode(tools_.code()); // picked on the map
    UpdateToolBar();
    UpdateTitle();
    RelabelLevels(); // an undo may bring a title back
    map_->Refresh();
    Fl::remove_timeout(RecoveryTimer, this);
    Fl::add_timeout(kRecoveryIdle, RecoveryTimer, this);
    // The check reads the whole set: once the edits pause, not at every cell of a drag.
    if (!checkPending_) {
        checkPending_ = true;
        Fl::add_timeout(0.15, CheckTimer, this);
    }
}

// ---- view

void EditorWindow::ZoomIn()
{
    map_->SetZoom(map_->View().zoom + 1);
    UpdateToolBar();
}

void EditorWindow::ZoomOut()
{
    map_->SetZoom(map_->View().zoom - 1);
    UpdateToolBar();
}

void EditorWindow::ToggleGrid()
{
    map_->SetGrid(!map_->View().grid);
    UpdateToolBar();
}

void EditorWindow::PreviousLevel()
{
    ChooseLevel(std::max(0, map_->View().level - 1));
}

void EditorWindow::NextLevel()
{
    ChooseLevel(std::min(Levels - 1, map_->View().level + 1));
}

void EditorWindow::RelabelLevels()
{
    for (int32_t n = 0; n < Levels; ++n) {
        // The chooser's labels take '&' and '@' as marks; a title shows them as typed.
        std::string label;
        for (char c : LevelName(n, doc_->Title(n))) {
            label += c;
            if (c == '&' || c == '@')
                label += c;
        }
        if (const char* now = level_->text(n); now == nullptr || label != now)
            level_->replace(n, label.c_str());
    }
    level_->redraw();
}

void EditorWindow::EditLevelTitle()
{
    const int32_t level = map_->View().level;
    const std::string old = doc_->Title(level);
    const char* typed = fl_input("Title of level %d (the text of its line in the file):", old.c_str(), level + 1);
    if (typed == nullptr)
        return;
    if (!doc_->SetTitle(level, typed))
        return;
    Status("Level " + std::to_string(level + 1) + " is now titled \"" + doc_->Title(level) + "\"");
    AfterEdit();
}

void EditorWindow::ChooseLevel(int32_t level)
{
    map_->SetLevel(level);
    UpdateToolBar();
}

void EditorWindow::ChooseTool(Tool tool)
{
    if (tool == Tool::Stamp) {
        ChooseStamp(tools_.stamp());
        return;
    }
    tools_.SetTool(tool);
    UpdateToolBar();
    Status(kToolHints[static_cast<int>(tool)]);
}

void EditorWindow::ChooseStamp(int stamp)
{
    tools_.SetStamp(stamp);
    tools_.SetTool(Tool::Stamp);
    UpdateToolBar();
    const Stamp& chosen = kStamps[static_cast<size_t>(tools_.stamp())];
    Status("Stamp, " + std::string(chosen.name) + ": " + std::string(chosen.hint) + " (other pieces: the Stamps menu)");
}

bool EditorWindow::LevelKey()
{
    const int key = Fl::event_key();
    if ((Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)) != FL_CTRL ||
        (key != FL_Page_Up && key != FL_Page_Down))
        return false;
    if (key == FL_Page_Up)
        PreviousLevel();
    else
        NextLevel();
    return true;
}

// The map, the palette's search box, the check list and the scrollbars all use Page Up and
// Page Down themselves, so the level and view keys are looked at before the widget with the
// keyboard sees them.
int EditorWindow::DispatchKeys(int event, Fl_Window* window)
{
    if (event == FL_KEYBOARD && keysOwner != nullptr && window == keysOwner->window_.get() &&
        (keysOwner->LevelKey() || keysOwner->ViewKey()))
        return 1;
    return Fl::handle_(event, window);
}

bool EditorWindow::ViewKey()
{
    const int key = Fl::event_key();
    if ((Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)) != 0 ||
        (key != FL_Page_Up && key != FL_Page_Down && key != FL_Home && key != FL_End))
        return false;
    if (dynamic_cast<Fl_Input_*>(Fl::focus()) != nullptr)
        return false;
    return map_->ScrollKey(key);
}

Fl_Window& EditorWindow::Window()
{
    return *window_;
}

int32_t EditorWindow::Level() const
{
    return map_->View().level;
}

bool EditorWindow::ExtraShortcut()
{
    const int key = Fl::event_key();
    const int state = Fl::event_state();
    if ((state & FL_CTRL) && (state & FL_SHIFT) && key == 'z') {
        Redo();
        return true;
    }
    if (state & (FL_CTRL | FL_ALT | FL_META))
        return false;
    if (key == '=' || key == FL_KP + '+') {
        ZoomIn();
        return true;
    }
    if (key == FL_KP + '-') {
        ZoomOut();
        return true;
    }
    return false;
}

void EditorWindow::UpdateToolBar()
{
    for (int t = 0; t < ToolCount; ++t)
        toolButtons_[t]->value(static_cast<int>(tools_.tool()) == t);
    zoomText_ = std::to_string(map_->View().zoom) + "x";
    zoomLabel_->label(zoomText_.c_str());
    zoomLabel_->redraw_label();
    grid_->value(map_->View().grid);
    level_->value(map_->View().level);
}

void EditorWindow::UpdateTitle()
{
    const std::string copy = CopyWords(copy_);
    title_ = BaseName(path_) + (copy.empty() ? "" : " (" + copy + ")") + (doc_->Modified() ? " (changed)" : "") +
             " - Zorbo level editor";
    window_->label(title_.c_str());
}

// ---- check list

void EditorWindow::RefreshCheck()
{
    check_ = CheckRows(*doc_, &bands_);
    const int top = checkList_->topline();
    checkList_->clear();
    if (prover_.Started()) {
        const std::string head = "proof\tlevel " + std::to_string(prover_.Level()) + "\t\t\t";
        for (const std::string& line : ProofLines())
            checkList_->add(((checkList_->size() == 0 ? head : "\t\t\t\t") + line).c_str(), nullptr);
        ShowProofMarks();
    }
    for (size_t i = 0; i < check_.rows.size(); ++i)
        checkList_->add(RowText(check_.rows[i]).c_str(), reinterpret_cast<void*>(i + 1));
    checkList_->topline(std::min(top, std::max(1, checkList_->size())));
    summaryText_ = Summary(check_);
    checkSummary_->label(summaryText_.c_str());
    checkSummary_->labelcolor(check_.errors > 0 ? FL_RED : FL_FOREGROUND_COLOR);
    checkSummary_->redraw();
}

// The proof's sentences, each on lines of its own that fit the list's last column.
std::vector<std::string> EditorWindow::ProofLines() const
{
    const bool stale = LevelFingerprint(*doc_, prover_.Level() - 1) != prover_.Fingerprint();
    std::vector<std::string> sentences = ProofSentences(prover_.Runs(), stale);
    if (prover_.Busy())
        sentences.front() = "proving... " + sentences.front();
    const int width = checkList_->w() - kMessageColumn - Fl::scrollbar_size() - 12;
    const auto measure = [this](std::string_view text) {
        // Measuring needs a display; without one a letter is taken to be 7 pixels wide.
        if (!window_->shown())
            return static_cast<int>(text.size()) * 7;
        return TextWidth(text, checkList_->textfont(), checkList_->textsize());
    };
    std::vector<std::string> lines;
    for (size_t i = 0; i < sentences.size(); ++i)
        for (std::string& line : WrapText(sentences[i] + (i + 1 < sentences.size() ? "." : ""), width, measure))
            lines.push_back(std::move(line));
    return lines;
}

void EditorWindow::CheckTimer(void* self)
{
    auto* window = static_cast<EditorWindow*>(self);
    window->checkPending_ = false;
    window->RefreshCheck();
}

void EditorWindow::JumpToProblem()
{
    const int line = checkList_->value();
    if (line <= 0)
        return;
    if (checkList_->data(line) == nullptr) { // the proof's line
        ChooseLevel(prover_.Level() - 1);
        return;
    }
    const auto index = reinterpret_cast<size_t>(checkList_->data(line)) - 1;
    if (index >= check_.rows.size())
        return;
    const CheckRow& row = check_.rows[index];
    if (row.cell) {
        map_->Reveal(*row.cell);
        UpdateToolBar();
    } else if (row.level > 0) {
        ChooseLevel(row.level - 1);
    }
    Status(row.message);
}

// ---- status line

void EditorWindow::Status(const std::string& text)
{
    statusText_ = text;
    status_->label(statusText_.c_str());
    status_->redraw();
}

void EditorWindow::ShowHover()
{
    auto describe = [](int32_t code) {
        const CodeRow* e = FindCode(code);
        return "code " + std::to_string(code) + " (byte " + std::to_string(code + LevelFormat::FirstByte) + "): " +
               std::string(e->name) + ", " + std::string(GroupName(e->group));
    };
    if (palette_->HoverCode() >= 0) {
        Status("Palette: " + describe(palette_->HoverCode()));
    } else if (const std::optional<CellPos>& c = map_->Hover()) {
        Status("Level " + std::to_string(c->level + 1) + ", row " + std::to_string(c->row) + ", column " +
               std::to_string(c->col) + ", line " + std::to_string(doc_->LineOf(c->level, c->row)) + ": " +
               describe(doc_->Code(c->level, c->row, c->col)));
    }
}

} // namespace zorbo::editor
