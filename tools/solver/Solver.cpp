#include "Solver.h"

#include "record/Platforms.h"
#include "record/Replay.h"
#include "record/StateHash.h"
#include "level/LevelFile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <array>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace zorbo {

namespace {

// Key patterns the search tries; each is held for a few frames.
const std::vector<std::vector<int32_t>>& Actions()
{
    static const std::vector<std::vector<int32_t>> actions = {
        {Key::Right},
        {Key::Right, Key::Space},
        {Key::Space},
        {},
        {Key::Left},
        {Key::Left, Key::Space},
        {Key::Down},
        {Key::Right, Key::Up},
    };
    return actions;
}

int32_t WorldX(const GameState& g)
{
    return g.ViewX + g.sprPlayer.X;
}

// World positions of the level-end cells of the level being played.
std::vector<std::pair<int32_t, int32_t>> LevelEnds(const GameWindow& g)
{
    std::vector<std::pair<int32_t, int32_t>> ends;
    for (int32_t row = 0; row < TileMap::Rows; ++row)
        for (int32_t col = 1; col < TileMap::Columns; ++col)
            if (g.MapCode(row, col) == Tile::LevelEnd)
                ends.emplace_back((col - 1) * 16, row * 16);
    return ends;
}

// Higher is better: close to a level-end cell, or (without ends to aim at) far to the
// right.
int64_t Score(const GameWindow& g, const std::vector<std::pair<int32_t, int32_t>>& ends)
{
    const int32_t x = WorldX(g), y = g.sprPlayer.Y;
    int64_t score = 0;
    if (ends.empty()) {
        score = int64_t{x} * 16;
    } else {
        int64_t best = INT64_MAX;
        for (const auto& [ex, ey] : ends)
            best = std::min<int64_t>(best, std::abs(int64_t{x} - ex) * 16 + std::abs(int64_t{y} - ey) * 4);
        score = -best;
    }
    // Height and speed are worth something too: a high or fast hero clears what stops a
    // low, slow one.
    return score + (240 - y) * 4 + std::abs(g.sprPlayer.SpeedX) * 8 + (g.HeroBig ? 8 : 0);
}

// The pipes of the level being played: a pipe is used up once the hero goes through it,
// which is how a frame that took him through one is told.
using LevelWarps = std::array<WarpRecord, WarpPipes>;

LevelWarps WarpsOf(const GameState& g)
{
    if (g.gLevel < 0 || g.gLevel >= TileMap::Levels)
        return {};
    return g.Warps[static_cast<size_t>(g.gLevel)];
}

// 1..4 for the pipe used up between the two, 0 for none.
int PipeTaken(const LevelWarps& before, const GameState& after)
{
    const LevelWarps now = WarpsOf(after);
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i].WarpState == WarpEnds::Both && now[i].WarpState != WarpEnds::Both)
            return static_cast<int>(i) + 1;
    return 0;
}

int32_t HeroColumn(const GameState& g)
{
    return WorldX(g) / 16 + 1;
}

} // namespace

// The chosen actions of one path, shared by every path that grew from it: a step adds one
// link instead of copying the keys of every frame before it.
struct Solver::Trail {
    std::shared_ptr<const Trail> parent;
    uint8_t action = 0;
    uint8_t frames = 0; // frames the action's keys were held
};

struct Solver::Node {
    std::unique_ptr<GameState> state;
    uint32_t now = 0;
    std::shared_ptr<const Trail> trail;
    int frames = 0;              // since the level began
    int64_t score = 0;
    uint32_t warpMask = 0;       // bit p-1 for each pipe p taken
    bool onPipe = false;         // Down would take him through a pipe
    std::vector<WarpTaken> warps;
};

namespace {

std::vector<std::vector<int32_t>> KeysOf(const Solver::Trail* trail)
{
    std::vector<const Solver::Trail*> links;
    for (; trail != nullptr; trail = trail->parent.get())
        links.push_back(trail);
    std::vector<std::vector<int32_t>> keys;
    for (auto it = links.rbegin(); it != links.rend(); ++it)
        keys.insert(keys.end(), (*it)->frames, Actions()[(*it)->action]);
    return keys;
}

} // namespace

// The best states, but only a few from each stretch of the level: a level can lead
// the hero away from its end for a while (a warp into a side room, a detour), and a beam
// of nothing but the currently closest states would never find the way out.
std::vector<Solver::Node> Solver::SelectBeam(std::vector<Node> children, int width)
{
    std::stable_sort(children.begin(), children.end(), [](const Node& a, const Node& b) { return a.score > b.score; });
    const size_t want = static_cast<size_t>(width);
    if (children.size() <= want)
        return children;
    std::vector<Node> beam;
    std::vector<bool> used(children.size(), false);
    auto take = [&](size_t i) {
        used[i] = true;
        beam.push_back(std::move(children[i]));
    };
    // A warp often lands the hero further from the end than the paths that stayed, so the
    // best few of every set of pipes taken are kept first: the way on may lie through it.
    std::map<uint32_t, int> perWarps;
    const int warpCap = std::max(1, width / 4);
    for (size_t i = 0; i < children.size() && beam.size() < want; ++i)
        if (children[i].warpMask != 0 && perWarps[children[i].warpMask]++ < warpCap)
            take(i);
    // A state standing on a pipe is rarely the best of its stretch (a hero in the air
    // scores higher), yet only from there does Down lead through; the best few are kept.
    int onPipe = 0;
    for (size_t i = 0; i < children.size() && beam.size() < want && onPipe < warpCap; ++i)
        if (!used[i] && children[i].onPipe) {
            ++onPipe;
            take(i);
        }
    // Then the best state of every stretch, then up to a few more per stretch, then the
    // best of the rest. Stretches after different warps are different places.
    std::map<std::pair<uint32_t, int32_t>, int> taken;
    for (int cap : {1, std::max(2, width / 8), width}) {
        for (size_t i = 0; i < children.size() && beam.size() < want; ++i) {
            if (used[i])
                continue;
            int& n = taken[{children[i].warpMask, WorldX(*children[i].state) / 32}];
            if (n < cap) {
                ++n;
                take(i);
            }
        }
    }
    return beam;
}

Solver::Solver(const Settings& settings, SolveOptions options) : settings_(settings), options_(std::move(options))
{
    settings_.gSoundOn = false;
    platform_.keepPictures = false;
    platform_.seed = 1;
    game_ = std::make_unique<GameWindow>(platform_, settings_);
    // The search looks at no picture: the machine keeps none, so nothing is painted and a
    // snapshot copies no pixels. Record() checks the found game against a drawn one.
    game_->Startup();
    game_->BeginLoop();
}

Solver::~Solver() = default;

std::vector<MapCell> Solver::Checkpoints() const
{
    std::vector<MapCell> cells;
    for (const Checkpoint& c : LevelCheckpoints(game_->LevelCodes(), LastMapColumn))
        cells.push_back(c.cell);
    return cells;
}

MapCell Solver::HeroCell() const
{
    return {game_->sprPlayer.Y / 16, HeroColumn(*game_)};
}

void Solver::Step(const std::vector<int32_t>& keys)
{
    platform_.QueueKeys(keys);
    // One frame: passes of the frame loop until one of them ran the frame.
    for (int pass = 0; pass < 4 && game_->bRunning; ++pass)
        if (game_->LoopPass())
            break;
}

void Solver::Restore(const Node& node)
{
    static_cast<GameState&>(*game_) = *node.state;
    platform_.now = node.now;
    // Keys queued for a frame that never came (the path ended first) belong to that path.
    platform_.ClearKeys();
}

void Solver::Report(const LevelResult& result, bool towardEnd, int frames) const
{
    if (!options_.onProgress)
        return;
    SearchProgress p;
    p.level = result.level;
    p.startColumn = result.startColumn;
    p.search = towardEnd ? 1 : 2;
    p.frames = frames;
    p.maxFrames = options_.maxFrames;
    p.bestColumn = result.furthestColumn;
    p.statesTried = result.statesTried;
    options_.onProgress(p);
}

LevelResult Solver::SolveLevel()
{
    // Aiming at the level end copes with warps that lead back and forth; plain progress to
    // the right copes with side rooms that lie beyond the end but close to it. Each can be
    // fooled by what the other handles, so both are tried. The second goes on counting
    // from where the first stopped.
    const LevelResult first = Search(true, LevelResult{});
    if (first.solved || first.cancelled)
        return first;
    return Search(false, first);
}

LevelResult Solver::Search(bool towardEnd, const LevelResult& before)
{
    LevelResult result;
    result.statesTried = before.statesTried;
    result.furthestColumn = before.furthestColumn;
    result.level = game_->gLevel + 1;
    result.startColumn = game_->gLevel == game_->gStartLevel ? game_->gStartColumn : 0;
    const int32_t level = game_->gLevel;
    const int32_t lives = game_->Lives;

    const auto ends = towardEnd ? LevelEnds(*game_) : std::vector<std::pair<int32_t, int32_t>>{};
    Node start;
    start.state = std::make_unique<GameState>(*game_);
    start.now = platform_.now;
    // The level as it began, for an unsolved search to leave the game at.
    const GameState atStart = *start.state;
    const uint32_t startNow = start.now;
    std::vector<Node> frontier;
    frontier.push_back(std::move(start));
    using HeroKey = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, bool, uint32_t>;
    std::set<HeroKey> everSeen;
    int stalled = 0;

    for (int frames = 0; frames < options_.maxFrames; frames += options_.holdFrames) {
        if (options_.cancel != nullptr && options_.cancel->load()) {
            result.cancelled = true;
            result.reason = "cancelled";
            break;
        }
        std::vector<Node> children;
        children.reserve(frontier.size() * Actions().size());
        std::set<HeroKey> seen;
        bool anywhereNew = false;
        for (const Node& parent : frontier) {
            for (size_t a = 0; a < Actions().size(); ++a) {
                const std::vector<int32_t>& action = Actions()[a];
                Restore(parent);
                bool finished = false, lost = false;
                int held = 0;
                WarpTaken warp;
                for (; held < options_.holdFrames;) {
                    const LevelWarps before = WarpsOf(*game_);
                    const int32_t fromColumn = HeroColumn(*game_);
                    Step(action);
                    ++held;
                    ++result.statesTried;
                    if (game_->gLevel != level || game_->gGameWon) {
                        finished = true;
                        break;
                    }
                    if (game_->Lives < lives || game_->sprPlayer.State == Hero::Dying ||
                        game_->sprPlayer.State == Hero::Hit || !game_->bRunning) {
                        lost = true;
                        break;
                    }
                    if (const int pipe = PipeTaken(before, *game_); pipe != 0)
                        warp = {pipe, parent.frames + held - 1, fromColumn, HeroColumn(*game_)};
                }
                if (lost)
                    continue;
                result.furthestColumn = std::max(result.furthestColumn, HeroColumn(*game_));
                const Sprite& hero = game_->sprPlayer;
                const uint32_t warpMask = parent.warpMask | (warp.pipe != 0 ? 1u << (warp.pipe - 1) : 0u);
                const HeroKey key{WorldX(*game_), hero.Y, hero.SpeedX, hero.SpeedY, hero.State, game_->HeroBig, warpMask};
                if (!finished && !seen.insert(key).second)
                    continue;
                anywhereNew = everSeen.insert(key).second || anywhereNew;
                Node child;
                child.trail = std::make_shared<const Trail>(
                    Trail{parent.trail, static_cast<uint8_t>(a), static_cast<uint8_t>(held)});
                child.frames = parent.frames + held;
                child.warps = parent.warps;
                if (warp.pipe != 0)
                    child.warps.push_back(warp);
                if (finished) {
                    const auto keys = KeysOf(child.trail.get());
                    keys_.insert(keys_.end(), keys.begin(), keys.end());
                    result.solved = true;
                    result.frames = child.frames;
                    result.warps = std::move(child.warps);
                    Report(result, towardEnd, child.frames);
                    return result;
                }
                child.state = std::make_unique<GameState>(*game_);
                child.now = platform_.now;
                child.score = Score(*game_, ends);
                child.warpMask = warpMask;
                child.onPipe = game_->HeroOnWarp();
                children.push_back(std::move(child));
            }
        }
        Report(result, towardEnd, frames + options_.holdFrames);
        if (children.empty()) {
            result.reason = "every path loses a life";
            break;
        }
        stalled = anywhereNew ? 0 : stalled + options_.holdFrames;
        if (stalled >= options_.stallFrames) {
            result.reason = "nowhere new to go for " + std::to_string(stalled) + " frames";
            break;
        }
        frontier = SelectBeam(std::move(children), options_.beamWidth);
    }
    if (result.reason.empty())
        result.reason = "no level end within " + std::to_string(options_.maxFrames) + " frames";
    // Unsolved: the game stays at the level's start, where the chosen keys left it.
    static_cast<GameState&>(*game_) = atStart;
    platform_.now = startNow;
    platform_.ClearKeys();
    return result;
}

bool Solver::Record(Recording& out, std::string& error) const
{
    if (!StartRecording(settings_, out, error))
        return false;
    HeadlessPlatform machine;
    machine.keepPictures = false;
    machine.seed = 1;
    for (const auto& keys : keys_)
        machine.QueueKeys(keys);
    RecordingPlatform recorder(machine, out);
    GameWindow game(recorder, settings_);
    recorder.Watch(&game);
    game.Startup();
    game.BeginLoop();
    size_t frames = 0;
    while (game.bRunning && frames < keys_.size())
        if (game.LoopPass())
            ++frames;
    // The recording is only worth keeping if the game it made is the one the search found.
    if (frames == keys_.size() && StateHash(game) != StateHash(*game_)) {
        error = "the recorded game went another way than the search (it ended at level " +
                std::to_string(game.gLevel + 1) + (game.gGameWon ? ", won" : ", not won") + ")";
        return false;
    }
    // End the game as the window's close control does, one pass after the last frame.
    machine.closeRequested = true;
    while (game.bRunning)
        game.LoopPass();
    recorder.Finish();
    if (frames != keys_.size()) {
        error = "the game ended after " + std::to_string(frames) + " of " + std::to_string(keys_.size()) + " frames";
        return false;
    }
    return true;
}

std::vector<RoutePoint> Solver::Route() const
{
    HeadlessPlatform machine;
    machine.keepPictures = false;
    machine.seed = 1;
    for (const auto& keys : keys_)
        machine.QueueKeys(keys);
    GameWindow game(machine, settings_);
    game.Startup();
    game.BeginLoop();
    std::vector<RoutePoint> route;
    route.reserve(keys_.size());
    LevelWarps before = WarpsOf(game);
    int32_t level = game.gLevel;
    while (game.bRunning && route.size() < keys_.size()) {
        if (!game.LoopPass())
            continue;
        RoutePoint p;
        p.frame = static_cast<int>(route.size());
        p.level = game.gLevel + 1;
        p.x = WorldX(game);
        p.y = game.sprPlayer.Y;
        p.warpPipe = game.gLevel == level ? PipeTaken(before, game) : 0;
        route.push_back(p);
        before = WarpsOf(game);
        level = game.gLevel;
    }
    return route;
}

} // namespace zorbo
