#pragma once
// A search over the deterministic game for keys that take the hero to the level end.
#include "game/GameWindow.h"
#include "record/Recording.h"
#include "game/Settings.h"
#include "media/HeadlessPlatform.h"
#include "level/Rules.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zorbo {

// Where a search stands after one of its steps.
struct SearchProgress {
    int level = 0;              // 1..10
    int32_t startColumn = 0;    // 0 for the level's own start
    // A level is searched in up to two ways, each up to maxFrames into the level; the
    // second only when the first found nothing.
    int search = 1;             // 1 or 2
    int frames = 0;             // frames searched into the level so far, in this way
    int maxFrames = 0;
    int32_t bestColumn = 0;     // the map column the search got furthest to
    int64_t statesTried = 0;    // both ways together
};

struct SolveOptions {
    int beamWidth = 48;      // states kept after each step
    int holdFrames = 4;      // frames an action's keys are held
    int maxFrames = 4000;    // give up on a level after this many frames (per way of searching)
    // Give up sooner when for this long no step has brought the hero anywhere new (a place,
    // speed and state never reached before in the search): a walled-off level is found out
    // in seconds, while a wait for a lift or a plant stays well within it.
    int stallFrames = 600;
    // Read between search steps: once true, the search stops and says it was cancelled.
    const std::atomic<bool>* cancel = nullptr;
    // Told after every search step.
    std::function<void(const SearchProgress&)> onProgress;
};

// One trip through a warp pipe.
struct WarpTaken {
    int pipe = 0;           // 1..4, as the level file numbers them
    int frame = 0;          // frames from the level's start to the one that went through
    int32_t fromColumn = 0; // the hero's map column before and after
    int32_t toColumn = 0;
};

struct LevelResult {
    int level = 0;           // 1..10
    bool solved = false;
    bool cancelled = false;
    int frames = 0;          // frames from the level's start to its end
    int64_t statesTried = 0;
    int32_t startColumn = 0; // where the level began: 0 for its own start, else the column asked for
    int32_t furthestColumn = 0; // the map column the search got furthest to
    std::vector<WarpTaken> warps; // on the way found, in order
    std::string reason;      // why it failed
};

// Where the hero is after one frame of the chosen keys.
struct RoutePoint {
    int frame = 0;      // from the game's start, 0 for the first frame
    int level = 0;      // 1..10
    int32_t x = 0;      // world position of his top left, in pixels
    int32_t y = 0;
    int warpPipe = 0;   // 1..4 when this frame took him through that pipe
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

    // The level's checkpoints, the cells the editor marks (LevelCheckpoints in level/Rules.h).
    std::vector<MapCell> Checkpoints() const;
    // The cell the hero's top left stands in.
    MapCell HeroCell() const;

    // The game so far as a recording (ended as by the window's close control), with
    // checkpoints at every level change.
    bool Record(Recording& out, std::string& error) const;
    // The hero's way through the game so far, one point per frame of Keys().
    std::vector<RoutePoint> Route() const;

    // One key set per frame: the keys chosen so far.
    const std::vector<std::vector<int32_t>>& Keys() const { return keys_; }

    struct Node;
    struct Trail;

private:
    static std::vector<Node> SelectBeam(std::vector<Node> children, int width);
    LevelResult Search(bool towardEnd, const LevelResult& before);
    void Step(const std::vector<int32_t>& keys);
    void Restore(const Node& node);
    void Report(const LevelResult& result, bool towardEnd, int frames) const;

    Settings settings_;
    SolveOptions options_;
    HeadlessPlatform platform_;
    std::unique_ptr<GameWindow> game_;
    std::vector<std::vector<int32_t>> keys_;
};

} // namespace zorbo
