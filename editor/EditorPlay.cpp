// The editor's test play and proof: the game and the solver started on the level shown,
// alone (editor/TestLevel.h), and their results brought back into the window.
#include "editor/EditorDialogs.h"
#include "editor/EditorWindow.h"
#include "editor/MapView.h"
#include "editor/TestLevel.h"
#include "level/Rules.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Progress.H>

#include <algorithm>

namespace zorbo::editor {

namespace {

// Why the game (or the solver) refuses the level shown: its own errors, not the other
// levels'.
std::string RefusedText(int32_t level, const LevelToTry& alone)
{
    const std::string name = "Level " + std::to_string(level + 1);
    if (alone.errors == 1)
        return name + " has an error the game refuses it for: " + alone.firstError + ".";
    return name + " has " + std::to_string(alone.errors) + " errors the game refuses it for (see the check list); the first: " +
           alone.firstError + ".";
}

} // namespace

// ---- test play

void EditorWindow::TestPlayHere()
{
    PlayFrom(map_->Hover() ? map_->Hover()->col : 0);
}

void EditorWindow::TestPlayFromStart()
{
    PlayFrom(0);
}

void EditorWindow::PlayFrom(int32_t column)
{
    const int32_t level = map_->View().level;
    const LevelToTry alone = LevelAlone(*doc_, level);
    if (alone.errors > 0) {
        Alert("Test play", RefusedText(level, alone));
        return;
    }
    const int32_t from = column > 0 ? TestStartColumn(column) : 0;
    const std::string problem = games_.Start(game_, dataPath_, SetNameOf(path_), alone.text, level + 1, from);
    if (!problem.empty()) {
        Alert("Test play", problem);
        return;
    }
    Status("Test play: level " + std::to_string(level + 1) + " from " +
           (from > 0 ? "column " + std::to_string(from) : std::string("its hero start")));
    if (!Fl::has_timeout(ReapTimer, this))
        Fl::add_timeout(0.5, ReapTimer, this);
}

// Finished games are waited for, so none lingers as a zombie, and a failure is told.
void EditorWindow::ReapTimer(void* self)
{
    auto* window = static_cast<EditorWindow*>(self);
    for (const std::string& failure : window->games_.Reap()) {
        window->Status(failure);
        Alert("Test play", failure);
    }
    if (window->games_.Running() > 0)
        Fl::repeat_timeout(0.5, ReapTimer, self);
}

// The map's own menu (Shift and the right button, or the Menu key): trying the level out
// from where the mouse is, or from its start, and proving it.
void EditorWindow::MapMenu(const CellPos& cell)
{
    menuColumn_ = cell.col;
    const std::string here = "Test play from column " + std::to_string(TestStartColumn(cell.col));
    const Fl_Menu_Item items[] = {
        {here.c_str(), 0,
         [](Fl_Widget*, void* self) {
             auto* window = static_cast<EditorWindow*>(self);
             window->PlayFrom(window->menuColumn_);
         },
         this, 0, FL_NORMAL_LABEL, FL_HELVETICA, 12, FL_BLACK},
        {"Test play from the hero start", 0, [](Fl_Widget*, void* self) { static_cast<EditorWindow*>(self)->PlayFrom(0); },
         this, FL_MENU_DIVIDER, FL_NORMAL_LABEL, FL_HELVETICA, 12, FL_BLACK},
        {"Prove the level", 0, [](Fl_Widget*, void* self) { static_cast<EditorWindow*>(self)->Prove(); }, this, 0,
         FL_NORMAL_LABEL, FL_HELVETICA, 12, FL_BLACK},
        {},
    };
    // A popup only says what was picked: the item's own callback acts on it.
    if (const Fl_Menu_Item* picked = items[0].popup(Fl::event_x(), Fl::event_y()))
        picked->do_callback(map_);
}

// ---- proof

void EditorWindow::Prove()
{
    const int32_t level = map_->View().level;
    const LevelToTry alone = LevelAlone(*doc_, level);
    if (alone.errors > 0) {
        Alert("Prove", RefusedText(level, alone) + " The solver refuses it too.");
        return;
    }
    std::vector<int32_t> checkpoints;
    for (const Checkpoint& c : LevelCheckpoints(doc_->CodesOf(level), doc_->Length(level)))
        checkpoints.push_back(c.cell.col);
    const std::string problem = prover_.Start(solver_, dataPath_, SetNameOf(path_), alone.text, level + 1,
                                              checkpoints, LevelFingerprint(*doc_, level));
    if (!problem.empty()) {
        Alert("Prove", problem);
        return;
    }
    proofsDone_ = 0;
    Status("Proving level " + std::to_string(level + 1) + " at every difficulty" +
           (checkpoints.empty() ? "" : ", from its start and checkpoints") + " (Cancel stops it)");
    ShowProofProgress();
    RefreshCheck();
    Fl::remove_timeout(ProofTimer, this);
    Fl::add_timeout(0.1, ProofTimer, this);
}

void EditorWindow::CancelProof()
{
    if (!prover_.Busy())
        return;
    prover_.Cancel();
    Status("Cancelling the proof");
}

void EditorWindow::ToggleProofRoute()
{
    showRoute_ = !showRoute_;
    ShowProofMarks();
}

void EditorWindow::ProofTimer(void* self)
{
    auto* window = static_cast<EditorWindow*>(self);
    if (window->prover_.Poll()) {
        int done = 0;
        for (const DifficultyProof& p : window->prover_.Runs())
            for (const ProofRun& r : p.starts)
                done += r.state != ProofState::Running && r.state != ProofState::Waiting ? 1 : 0;
        window->ShowProofProgress();
        // A finished start changes the result line and maybe the route drawn.
        if (done != window->proofsDone_) {
            window->proofsDone_ = done;
            window->RefreshCheck();
        }
    }
    if (window->prover_.Busy()) {
        Fl::repeat_timeout(0.1, ProofTimer, self);
        return;
    }
    window->ShowProofProgress();
    // The last result came before its solver ended: the proof's line still says "proving...".
    window->RefreshCheck();
    window->Status("Proof of level " + std::to_string(window->prover_.Level()) + ": " +
                   ProofSummary(window->prover_.Runs(), false));
}

void EditorWindow::ShowProofProgress()
{
    const bool busy = prover_.Busy();
    for (int d = 0; d < ProofCount; ++d) {
        const DifficultyProof& proof = prover_.Runs()[static_cast<size_t>(d)];
        const ProofState state = proof.State();
        proofBars_[d]->value(static_cast<float>(proof.Fraction()));
        proofBars_[d]->selection_color(state == ProofState::Solved                                   ? FL_DARK_GREEN
                                       : state == ProofState::Running || state == ProofState::Waiting ? FL_DARK_BLUE
                                                                                                      : FL_DARK_RED);
        proofBars_[d]->labelcolor(state == ProofState::Waiting ? FL_INACTIVE_COLOR : FL_WHITE);
        if (prover_.Started())
            proofBars_[d]->show();
        proofBars_[d]->redraw();
    }
    if (busy)
        cancelProof_->show();
    else
        cancelProof_->hide();
}

void EditorWindow::ShowProofMarks()
{
    std::optional<ProofMarks>& marks = map_->View().proof;
    marks.reset();
    if (showRoute_ && prover_.Started()) {
        ProofMarks m;
        m.level = prover_.Level() - 1;
        m.stale = LevelFingerprint(*doc_, m.level) != prover_.Fingerprint();
        if (!prover_.Route().parts.empty())
            m.route = &prover_.Route();
        for (const DifficultyProof& p : prover_.Runs())
            for (const ProofRun& r : p.starts)
                if (r.state == ProofState::NotFound)
                    m.blockedColumn = std::max(m.blockedColumn, r.bestColumn);
        marks = m;
    }
    map_->Refresh();
}

} // namespace zorbo::editor
