#include "Solver.h"

#include <algorithm>
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

} // namespace

struct Solver::Node {
    GameState state;
    uint32_t now = 0;
    std::vector<std::vector<int32_t>> keys; // frames since the level began
    int64_t score = 0;
};

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
}

LevelResult Solver::SolveLevel()
{
    LevelResult result;
    result.level = game_->gLevel + 1;
    const int32_t level = game_->gLevel;
    const int32_t lives = game_->Lives;

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
                child.state = *game_;
                child.now = platform_.now;
                const Sprite& hero = game_->sprPlayer;
                child.score = int64_t{WorldX(*game_)} * 16 + (game_->HeroBig ? 8 : 0) - hero.Y / 8;
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
        std::stable_sort(children.begin(), children.end(),
                         [](const Node& a, const Node& b) { return a.score > b.score; });
        if (children.size() > static_cast<size_t>(options_.beamWidth))
            children.resize(static_cast<size_t>(options_.beamWidth));
        frontier = std::move(children);
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
