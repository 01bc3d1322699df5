#pragma once
// The level editor's window: menus and tool bar, the palette, the map view, the check list
// and the status line, around one level set being edited.
#include "editor/CheckList.h"
#include "editor/LevelDocument.h"
#include "editor/Pictures.h"
#include "editor/Prover.h"
#include "editor/Recovery.h"
#include "editor/SetPlaces.h"
#include "editor/TestPlay.h"
#include "editor/Tools.h"

#include <memory>
#include <optional>
#include <string>

class Fl_Double_Window;
class Fl_Window;
class Fl_Menu_Bar;
class Fl_Choice;
class Fl_Button;
class Fl_Box;
class Fl_Check_Button;
class Fl_Hold_Browser;
class Fl_BMP_Image;
class Fl_Progress;

namespace zorbo::editor {

class MapView;
class PaletteView;

class EditorWindow {
public:
    // dataPath is the game's data folder (ending in '/'); game is the game program that
    // test play starts. The solver that proves a level is looked for beside it.
    EditorWindow(std::string dataPath, std::string game, const Pictures& pictures);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    // Reads a level set; a path that does not exist yet starts a new set to be saved
    // there. False, with the reason, for a file the game itself would refuse.
    // A recovery copy of the file's unsaved changes is offered first. A file that cannot be
    // read for another reason than not being there (permission denied) is refused.
    bool Open(const std::string& path, std::string& error);
    // Offers the recovery copy of a set that had no file yet (the editor started without one).
    void RecoverUntitled();
    // The data folder was named with --data: its sets are the user's to save, not copies.
    void DataFolderGiven() { shippedFolder_.clear(); }
    // Shows the window and handles events until it is closed.
    int Run();

    static constexpr int kWidth = 1280;
    static constexpr int kHeight = 800;

    // ---- menu and tool bar commands
    void NewSet();
    void OpenDialog();
    bool Save();
    bool SaveAs();
    void Close();
    void Undo();
    void Redo();
    void CopySelection();
    void CutSelection();
    void PasteClip();
    void DeleteSelection();
    void InsertColumns();
    void DeleteColumns();
    void EditLevelTitle();
    void ZoomIn();
    void ZoomOut();
    void ToggleGrid();
    void PreviousLevel();
    void NextLevel();
    void ChooseTool(Tool tool);
    void ChooseStamp(int stamp);
    // ---- editor/EditorPlay.cpp
    // F5 and File > Test play: from the column under the mouse, else from the hero start.
    void TestPlayHere();
    // The Test play button: from the level's hero start.
    void TestPlayFromStart();
    // Test play of the level shown from a column (0: its hero start).
    void PlayFrom(int32_t column);
    void Prove();
    void CancelProof();
    void ToggleProofRoute();
    // Handles the shortcuts a menu item has no room for (a second key for redo and zoom).
    bool ExtraShortcut();

    // The window, its map and the level shown (tests send the window keys).
    Fl_Window& Window();
    MapView& Map() { return *map_; }
    int32_t Level() const;
    const Prover& Proof() const { return prover_; }
    const std::string& Title() const { return title_; }
    // The set's file, and why it is edited as a copy (None when saved in place).
    const std::string& Path() const { return path_; }
    CopyReason EditedAs() const { return copy_; }

private:
    class Frame;
    void BuildMenu();
    void BuildToolBar(int y);
    void UseDocument(std::unique_ptr<LevelDocument> doc, const std::string& path);
    bool AskToKeepChanges();
    bool AskAboutDisk();
    std::string LockNote() const;
    // The recovery copy: offered when a file is opened, kept while there are unsaved
    // changes, written at SIGTERM and SIGHUP, removed on save or discard.
    // A set without a file gets this window's own copy (Recovery.h, UntitledCopy).
    std::string RecoveryFileOf(const std::string& path);
    bool OfferRecovery(std::optional<LevelDocument>& doc, const std::string& path);
    void KeepRecovery();
    static void RecoveryTimer(void* self);
    static void EndSignalArrived(int fd, void* self);
    void ChooseLevel(int32_t level);
    void RelabelLevels();
    void AfterEdit();
    void RefreshCheck();
    void JumpToProblem();
    void ShowHover();
    void UpdateTitle();
    void UpdateToolBar();
    // Ctrl+Page Up and Ctrl+Page Down, wherever the keyboard is.
    bool LevelKey();
    // Page Up, Page Down, Home and End move the map's view wherever the keyboard is, but in a
    // text being typed.
    bool ViewKey();
    static int DispatchKeys(int event, Fl_Window* window);
    static void ReapTimer(void* self);
    static void CheckTimer(void* self);
    static void ProofTimer(void* self);
    void MapMenu(const CellPos& cell);
    // The proof's progress bars, its line in the check list and its marks on the map.
    void ShowProofProgress();
    void ShowProofMarks();
    std::vector<std::string> ProofLines() const;
    void Status(const std::string& text);
    // The cell a paste or a column command acts at: under the mouse, else the selection's
    // corner, else the view's first column.
    CellPos ActionCell() const;

    std::string dataPath_;
    std::string shippedFolder_; // the data folder, unless --data named it: its sets open as copies
    std::string playerFolder_;  // the player's own level sets: new sets and copies are saved there
    std::string game_;
    const Pictures& pictures_;
    BandTable bands_; // the tiles' shades under the lives and coins text, for the check
    std::unique_ptr<LevelDocument> doc_;
    std::string path_;
    CopyReason copy_ = CopyReason::None;
    int32_t menuColumn_ = 0;   // the column the map's menu was opened at
    std::string recoveryFile_; // empty when there is no folder for it
    UntitledCopy untitled_;    // named when first needed
    int endSignal_ = 0;        // the signal that ended the editor
    EditTools tools_;
    TestPlay games_;
    std::string solver_;
    Prover prover_;
    int proofsDone_ = 0;
    bool showRoute_ = true;
    CheckList check_;
    bool checkPending_ = false;

    std::unique_ptr<Fl_BMP_Image> icon_;
    std::unique_ptr<Fl_Double_Window> window_;
    Fl_Menu_Bar* menu_ = nullptr;
    Fl_Choice* level_ = nullptr;
    Fl_Button* toolButtons_[ToolCount] = {};
    Fl_Box* zoomLabel_ = nullptr;
    Fl_Check_Button* grid_ = nullptr;
    PaletteView* palette_ = nullptr;
    MapView* map_ = nullptr;
    Fl_Box* checkSummary_ = nullptr;
    Fl_Hold_Browser* checkList_ = nullptr;
    Fl_Progress* proofBars_[ProofCount] = {};
    Fl_Button* cancelProof_ = nullptr;
    Fl_Box* status_ = nullptr;
    std::string title_, zoomText_, summaryText_, statusText_;
};

} // namespace zorbo::editor
