#include "Solver.h"

#include "record/Platforms.h"
#include "record/Replay.h"
#include "record/StateHash.h"
#include "level/LevelFile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <tuple>

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

} // namespace

struct Solver::Node {
    GameState state;
    uint32_t now = 0;
    std::vector<std::vector<int32_t>> keys; // frames since the level began
    int64_t score = 0;
};

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
    std::map<int32_t, int> taken;
    // First the best state of every stretch, then up to a few more per stretch, then the
    // best of the rest.
    for (int cap : {1, std::max(2, width / 8), width}) {
        for (size_t i = 0; i < children.size() && beam.size() < want; ++i) {
            if (used[i])
                continue;
            int& n = taken[WorldX(children[i].state) / 32];
            if (n < cap) {
                ++n;
                used[i] = true;
                beam.push_back(std::move(children[i]));
            }
        }
    }
    return beam;
}

Solver::Solver(const Settings& settings, SolveOptions options) : settings_(settings), options_(options)
{
    settings_.gSoundOn = false;
    platform_.keepPictures = false;
    platform_.seed = 1;
    game_ = std::make_unique<GameWindow>(platform_, settings_);
    game_->Startup();
    game_->BeginLoop();
}

Solver::~Solver() = default;

std::vector<MapCell> Solver::Checkpoints() const
{
    std::vector<MapCell> cells;
    for (int32_t col = ScreenColumns + 1; col < TileMap::Columns; ++col)
        for (int32_t row = 0; row < TileMap::Rows; ++row)
            if (game_->MapCode(row, col) == Tile::HeroStart)
                cells.push_back({row, col});
    return cells;
}

MapCell Solver::HeroCell() const
{
    return {game_->sprPlayer.Y / 16, WorldX(*game_) / 16 + 1};
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
    static_cast<GameState&>(*game_) = node.state;
    platform_.now = node.now;
    // Keys queued for a frame that never came (the path ended first) belong to that path.
    platform_.ClearKeys();
}

LevelResult Solver::SolveLevel()
{
    // Aiming at the level end copes with warps that lead back and forth; plain progress to
    // the right copes with side rooms that lie beyond the end but close to it. Each can be
    // fooled by what the other handles, so both are tried.
    LevelResult result = Search(true);
    if (!result.solved) {
        const LevelResult rightward = Search(false);
        const int64_t tried = result.statesTried + rightward.statesTried;
        const int32_t furthest = std::max(result.furthestColumn, rightward.furthestColumn);
        if (rightward.solved)
            result = rightward;
        result.statesTried = tried;
        result.furthestColumn = furthest;
    }
    return result;
}

LevelResult Solver::Search(bool towardEnd)
{
    LevelResult result;
    result.level = game_->gLevel + 1;
    result.startColumn = game_->gLevel == game_->gStartLevel ? game_->gStartColumn : 0;
    const int32_t level = game_->gLevel;
    const int32_t lives = game_->Lives;

    const auto ends = towardEnd ? LevelEnds(*game_) : std::vector<std::pair<int32_t, int32_t>>{};
    Node start;
    start.state = *game_;
    start.now = platform_.now;
    std::vector<Node> frontier{start};

    for (int frames = 0; frames < options_.maxFrames; frames += options_.holdFrames) {
        std::vector<Node> children;
        children.reserve(frontier.size() * Actions().size());
        std::map<std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, bool>, size_t> seen;
        for (const Node& parent : frontier) {
            for (const auto& action : Actions()) {
                Restore(parent);
                Node child;
                child.keys = parent.keys;
                bool finished = false, lost = false;
                for (int f = 0; f < options_.holdFrames; ++f) {
                    Step(action);
                    child.keys.push_back(action);
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
                }
                if (lost)
                    continue;
                if (finished) {
                    keys_.insert(keys_.end(), child.keys.begin(), child.keys.end());
                    result.solved = true;
                    result.frames = static_cast<int>(child.keys.size());
                    return result;
                }
                result.furthestColumn = std::max(result.furthestColumn, WorldX(*game_) / 16 + 1);
                child.state = *game_;
                child.now = platform_.now;
                const Sprite& hero = game_->sprPlayer;
                child.score = Score(*game_, ends);
                const auto key = std::make_tuple(WorldX(*game_), hero.Y, hero.SpeedX, hero.SpeedY, hero.State,
                                                 game_->HeroBig);
                auto [it, fresh] = seen.emplace(key, children.size());
                if (fresh)
                    children.push_back(std::move(child));
            }
        }
        if (children.empty()) {
            result.reason = "every path loses a life";
            break;
        }
        frontier = SelectBeam(std::move(children), options_.beamWidth);
    }
    if (result.reason.empty())
        result.reason = "no level end within " + std::to_string(options_.maxFrames) + " frames";
    // Unsolved: the game stays at the level's start, where the chosen keys left it.
    Restore(start);
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

} // namespace zorbo
