#pragma once
// A search over the deterministic game for keys that take the hero to the level end.
#include "game/GameWindow.h"
#include "record/Recording.h"
#include "game/Settings.h"
#include "media/HeadlessPlatform.h"
#include "level/Rules.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zorbo {

struct SolveOptions {
    int beamWidth = 48;      // states kept after each step
    int holdFrames = 4;      // frames an action's keys are held
    int maxFrames = 4000;    // give up on a level after this many frames (per way of searching)
};

struct LevelResult {
    int level = 0;           // 1..10
    bool solved = false;
    int frames = 0;          // frames from the level's start to its end
    int64_t statesTried = 0;
    int32_t startColumn = 0; // where the level began: 0 for its own start, else a checkpoint's column
    int32_t furthestColumn = 0; // the map column the search got furthest to
    std::string reason;      // why it failed
};

// Plays one game from its start level. Each SolveLevel finds keys that finish the level
// being played (without losing a life) and applies them; Record() then rebuilds the whole
// game as a recording by playing the chosen keys again from the start.
class Solver {
public:
    Solver(const Settings& settings, SolveOptions options = {});
    ~Solver();

    LevelResult SolveLevel();
    int32_t Level() const { return game_->gLevel; }
    bool Won() const { return game_->gGameWon; }
    const GameState& State() const { return *game_; }

    // The level's checkpoints: its hero starts right of the first view, which move the
    // restart point when they come into view.
    std::vector<MapCell> Checkpoints() const;
    // The cell the hero's top left stands in.
    MapCell HeroCell() const;

    // The game so far as a recording (ended as by the window's close control), with
    // checkpoints at every level change.
    bool Record(Recording& out, std::string& error) const;

    // One key set per frame: the keys chosen so far.
    const std::vector<std::vector<int32_t>>& Keys() const { return keys_; }

private:
public:
    struct Node;

private:
    static std::vector<Node> SelectBeam(std::vector<Node> children, int width);
    LevelResult Search(bool towardEnd);
    void Step(const std::vector<int32_t>& keys);
    void Restore(const Node& node);

    Settings settings_;
    SolveOptions options_;
    HeadlessPlatform platform_;
    std::unique_ptr<GameWindow> game_;
    std::vector<std::vector<int32_t>> keys_;
};

} // namespace zorbo
