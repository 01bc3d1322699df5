#include "game/Recording.h"

#include "game/GameState.h"
#include "game/StateFields.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <type_traits>

namespace zorbo {

namespace {

constexpr uint64_t kFnvOffset = 1469598103934665603ULL;
constexpr uint64_t kFnvPrime = 1099511628211ULL;

struct Hasher {
    uint64_t h = kFnvOffset;
    void Bytes(const void* p, size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        for (size_t i = 0; i < n; ++i) {
            h ^= b[i];
            h *= kFnvPrime;
        }
    }
    // Every number as 8 bytes (floating ones as their own bytes), records field by field.
    void Value(int64_t v) { Bytes(&v, sizeof v); }
    void Value(float v) { Bytes(&v, sizeof v); }
    void Value(double v) { Bytes(&v, sizeof v); }
    void Value(const FrameNumber& f) { Value(int64_t{f}); }
    void Value(const Random& r) { Value(static_cast<int64_t>(r.State())); }
    void Value(const TileMap& map)
    {
        for (int32_t level = 0; level < TileMap::Levels; ++level)
            for (int32_t row = 0; row < TileMap::Rows; ++row)
                for (int32_t col = 0; col < TileMap::Columns; ++col)
                    Value(int64_t{map.At(level, row, col)});
    }
    template <class T>
        requires std::is_integral_v<T>
    void Value(T v)
    {
        Value(static_cast<int64_t>(v));
    }
    template <class T, size_t N>
    void Value(const std::array<T, N>& items)
    {
        for (const T& item : items)
            Field(item);
    }
    template <class T>
        requires requires(const T& r, Hasher& h) { VisitFields(r, h); }
    void Value(const T& record)
    {
        VisitFields(record, *this);
    }

    template <class T>
    void Field(const T& v)
    {
        Value(v);
    }
    template <class T>
    void Skip(const T&)
    {
    }
};

std::string Hex(uint64_t v)
{
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016" PRIx64, v);
    return buf;
}

} // namespace

bool HashFile(const std::string& file, uint64_t& hash)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    Hasher h;
    char buf[4096];
    while (in.read(buf, sizeof buf) || in.gcount() > 0)
        h.Bytes(buf, static_cast<size_t>(in.gcount()));
    hash = h.h;
    return !in.bad();
}

// Every field of the game state is in the hash (game/StateFields.h), or replays could pass
// while the game went its own way.
uint64_t StateHash(const GameState& g)
{
    Hasher h;
    VisitFields(g, h);
    return h.h;
}

Recording::Checkpoint CheckpointOf(const GameState& state, int64_t poll)
{
    return Recording::Checkpoint{poll, state.gLevel, state.gGameWon, StateHash(state)};
}

std::string Summary(const GameState& g)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, "level %d lives %d coins %d hero %s state %d won %s hash %s",
                  std::min(g.gLevel, 9) + 1, g.Lives, g.Coins, g.HeroBig ? "big" : "small", g.sprPlayer.State,
                  g.gGameWon ? "yes" : "no", Hex(StateHash(g)).c_str());
    return buf;
}

bool Recording::Save(const std::string& file, std::string& error) const
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot write " + file;
        return false;
    }
    out << "zorbo-recording " << version << "\n";
    out << "level-set " << levelSet << " " << Hex(levelSetHash) << "\n";
    out << "start-level " << startLevel + 1 << "\n";
    out << "difficulty " << difficulty << "\n";
    out << "seed " << seed << "\n";
    // Inputs and checkpoints in the order the game met them: a checkpoint goes right
    // before the keyboard poll it was taken at.
    size_t check = 0;
    int64_t polls = 0;
    auto flushChecks = [&] {
        for (; check < checkpoints.size() && checkpoints[check].poll <= polls; ++check) {
            const Checkpoint& c = checkpoints[check];
            out << "c " << c.poll << " " << c.level + 1 << " " << (c.won ? 1 : 0) << " " << Hex(c.hash) << "\n";
        }
    };
    bool inTicks = false;
    for (const Input& in : inputs) {
        if (in.keys) {
            if (inTicks)
                out << "\n";
            inTicks = false;
            flushChecks();
            out << "k";
            for (uint8_t code : in.held)
                out << " " << int{code};
            out << "\n";
            ++polls;
        } else {
            out << (inTicks ? " " : "t ") << in.tick;
            inTicks = true;
        }
    }
    if (inTicks)
        out << "\n";
    flushChecks();
    out << "end\n";
    out.flush();
    if (!out) {
        error = "cannot write " + file;
        return false;
    }
    return true;
}

bool Recording::Load(const std::string& file, Recording& rec, std::string& error)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = file + ": cannot be read";
        return false;
    }
    rec = Recording{};
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        error = file + ":" + std::to_string(lineNo) + ": " + what;
        return false;
    };
    bool ended = false;
    int64_t polls = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (lineNo == 1) {
            if (key != "zorbo-recording" || !(words >> rec.version))
                return fail("not a Zorbo recording");
            if (rec.version != Version)
                return fail("recording format " + std::to_string(rec.version) + " is not supported (this game reads format " +
                            std::to_string(Version) + ")");
            continue;
        }
        if (ended)
            return fail("text after the end");
        if (key == "level-set") {
            std::string hash;
            if (!(words >> rec.levelSet >> hash) || hash.size() != 16)
                return fail("bad level-set line");
            rec.levelSetHash = std::stoull(hash, nullptr, 16);
        } else if (key == "start-level") {
            if (!(words >> rec.startLevel) || rec.startLevel < 1 || rec.startLevel > 10)
                return fail("bad start level");
            --rec.startLevel;
        } else if (key == "difficulty") {
            if (!(words >> rec.difficulty) ||
                (rec.difficulty != 18 && rec.difficulty != 26 && rec.difficulty != 32 && rec.difficulty != 38))
                return fail("bad difficulty");
        } else if (key == "seed") {
            if (!(words >> rec.seed))
                return fail("bad seed");
        } else if (key == "t") {
            uint32_t tick = 0;
            while (words >> tick)
                rec.inputs.push_back(Input{false, tick, {}});
            if (!words.eof())
                return fail("bad tick count");
        } else if (key == "k") {
            Input poll{true, 0, {}};
            int code = 0;
            while (words >> code) {
                if (code < 0 || code > 255)
                    return fail("bad scan code");
                poll.held.push_back(static_cast<uint8_t>(code));
            }
            if (!words.eof())
                return fail("bad scan code");
            rec.inputs.push_back(std::move(poll));
            ++polls;
        } else if (key == "c") {
            Checkpoint c;
            int won = 0;
            std::string hash;
            if (!(words >> c.poll >> c.level >> won >> hash) || hash.size() != 16 || c.poll != polls)
                return fail("bad checkpoint");
            c.level -= 1;
            c.won = won != 0;
            c.hash = std::stoull(hash, nullptr, 16);
            rec.checkpoints.push_back(c);
        } else if (key == "end") {
            ended = true;
        } else {
            return fail("unknown line \"" + key + "\"");
        }
    }
    if (!ended)
        return fail("the recording is cut short (no end line)");
    return true;
}

// ---- recording

uint32_t RecordingPlatform::GetTickCount()
{
    const uint32_t t = inner_.GetTickCount();
    rec_.inputs.push_back(Recording::Input{false, t, {}});
    return t;
}

uint64_t RecordingPlatform::ClockSeed()
{
    rec_.seed = inner_.ClockSeed();
    return rec_.seed;
}

void RecordingPlatform::CheckLevel()
{
    if (game_ == nullptr)
        return;
    if (game_->gLevel != lastLevel_ || game_->gGameWon != lastWon_) {
        rec_.checkpoints.push_back(CheckpointOf(*game_, polls_));
        lastLevel_ = game_->gLevel;
        lastWon_ = game_->gGameWon;
    }
}

void RecordingPlatform::ReadKeyboard(KeyState& keys)
{
    CheckLevel();
    inner_.ReadKeyboard(keys);
    Recording::Input poll{true, 0, {}};
    for (size_t code = 0; code < keys.size(); ++code)
        if (keys[code] != 0)
            poll.held.push_back(static_cast<uint8_t>(code));
    rec_.inputs.push_back(std::move(poll));
    ++polls_;
}

void RecordingPlatform::Finish()
{
    if (game_ != nullptr)
        rec_.checkpoints.push_back(CheckpointOf(*game_, polls_));
}

// ---- replay

uint32_t ReplayPlatform::GetTickCount()
{
    if (next_ < rec_.inputs.size() && !rec_.inputs[next_].keys) {
        lastTick_ = rec_.inputs[next_++].tick;
        return lastTick_;
    }
    if (!exhausted_ && next_ < rec_.inputs.size() && divergence_.empty())
        divergence_ = "after poll " + std::to_string(polls_) + " the game read the clock where the recording polls the keyboard";
    exhausted_ = true;
    return lastTick_;
}

void ReplayPlatform::WaitUntil(uint32_t tick)
{
    // Watching in a window: wait as long as the game would have waited.
    if (realTime_ && tick > lastTick_ && tick - lastTick_ < 60000)
        inner_.WaitUntil(inner_.GetTickCount() + (tick - lastTick_));
    else
        inner_.DoEvents();
}

bool ReplayPlatform::CloseRequested() const
{
    return exhausted_ || next_ >= rec_.inputs.size() || inner_.CloseRequested();
}

void ReplayPlatform::Check(const Recording::Checkpoint& expected)
{
    if (game_ == nullptr || !divergence_.empty())
        return;
    const Recording::Checkpoint seen = CheckpointOf(*game_, expected.poll);
    if (seen == expected) {
        ++matched_;
        return;
    }
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "at poll %" PRId64 " the recording expects level %d%s with state %s but the game is at level %d%s with state %s",
                  expected.poll, expected.level + 1, expected.won ? " (won)" : "", Hex(expected.hash).c_str(),
                  seen.level + 1, seen.won ? " (won)" : "", Hex(seen.hash).c_str());
    divergence_ = buf;
}

void ReplayPlatform::ReadKeyboard(KeyState& keys)
{
    while (nextCheck_ < rec_.checkpoints.size() && rec_.checkpoints[nextCheck_].poll == polls_)
        Check(rec_.checkpoints[nextCheck_++]);
    keys.fill(0);
    if (next_ < rec_.inputs.size() && rec_.inputs[next_].keys) {
        for (uint8_t code : rec_.inputs[next_].held)
            keys[code] = 0x80;
        ++next_;
    } else {
        if (!exhausted_ && next_ < rec_.inputs.size() && divergence_.empty())
            divergence_ = "at poll " + std::to_string(polls_) + " the game polled the keyboard where the recording reads the clock";
        exhausted_ = true;
    }
    ++polls_;
}

void ReplayPlatform::Finish()
{
    while (nextCheck_ < rec_.checkpoints.size())
        Check(rec_.checkpoints[nextCheck_++]);
}

} // namespace zorbo
