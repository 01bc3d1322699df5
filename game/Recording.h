#pragma once
#include "media/Platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zorbo {

struct GameState;

// A recorded game: the settings and everything the game read from the machine (the
// random seed, every tick count and every keyboard poll, in order), plus checkpoints
// of where the game stood whenever its level changed. Replaying the inputs replays the
// game exactly.
struct Recording {
    static constexpr int Version = 1;

    struct Input {
        bool keys = false;              // a keyboard poll, else a tick-count read
        uint32_t tick = 0;
        std::vector<uint8_t> held;      // scan codes held at the poll
    };
    struct Checkpoint {
        int64_t poll = 0;               // number of keyboard polls before it
        int32_t level = 0;
        bool won = false;
        uint64_t hash = 0;
        bool operator==(const Checkpoint&) const = default;
    };

    int version = Version;
    std::string levelSet;               // file name, e.g. "Standard.txt"
    uint64_t levelSetHash = 0;
    int32_t startLevel = 0;             // 0..9
    int32_t difficulty = 26;
    uint64_t seed = 0;
    std::vector<Input> inputs;
    std::vector<Checkpoint> checkpoints;

    bool Save(const std::string& file, std::string& error) const;
    // Reads a recording; false with a one-line reason naming the file and line.
    static bool Load(const std::string& file, Recording& out, std::string& error);
};

// FNV-1a over a file's bytes; false when it cannot be read.
bool HashFile(const std::string& file, uint64_t& hash);

// A hash of the game's state (not of its picture, which depends on the installed fonts).
uint64_t StateHash(const GameState& state);

// What a checkpoint and a replay summary report about a game.
Recording::Checkpoint CheckpointOf(const GameState& state, int64_t poll);
std::string Summary(const GameState& state);

// Passes every call through to another platform; the recording and replay platforms
// change only what they must.
class ForwardingPlatform : public Platform {
public:
    explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

    uint32_t GetTickCount() override { return inner_.GetTickCount(); }
    uint64_t ClockSeed() override { return inner_.ClockSeed(); }
    void OpenWindow(ScreenMode mode) override { inner_.OpenWindow(mode); }
    void HideWindow() override { inner_.HideWindow(); }
    void ShowCursor(bool visible) override { inner_.ShowCursor(visible); }
    void DoEvents() override { inner_.DoEvents(); }
    void WaitUntil(uint32_t tick) override { inner_.WaitUntil(tick); }
    bool CloseRequested() const override { return inner_.CloseRequested(); }
    void ShowMessage(const std::string& t, const std::string& x) override { inner_.ShowMessage(t, x); }
    bool StartDisplay(int32_t w, int32_t h, bool full) override { return inner_.StartDisplay(w, h, full); }
    void Present(const Surface& p, const Rect& r) override { inner_.Present(p, r); }
    Rect ScreenRect() override { return inner_.ScreenRect(); }
    void StopDisplay() override { inner_.StopDisplay(); }
    bool OpenKeyboard() override { return inner_.OpenKeyboard(); }
    void ReadKeyboard(KeyState& keys) override { inner_.ReadKeyboard(keys); }
    void CloseKeyboard() override { inner_.CloseKeyboard(); }
    bool OpenAudio() override { return inner_.OpenAudio(); }
    bool LoadSound(int n, const std::string& f, std::string& e) override { return inner_.LoadSound(n, f, e); }
    void PlaySound(int n) override { inner_.PlaySound(n); }
    void PlaySoundSync(int n) override { inner_.PlaySoundSync(n); }
    void CloseAudio() override { inner_.CloseAudio(); }

protected:
    Platform& inner_;
};

// Passes everything through to another platform and records what the game reads.
class RecordingPlatform : public ForwardingPlatform {
public:
    RecordingPlatform(Platform& inner, Recording& recording) : ForwardingPlatform(inner), rec_(recording) {}
    // The game whose level changes are checkpointed (set once it exists).
    void Watch(const GameState* game) { game_ = game; }
    // Adds the final checkpoint; call when the game has ended.
    void Finish();

    uint32_t GetTickCount() override;
    uint64_t ClockSeed() override;
    void ReadKeyboard(KeyState& keys) override;

private:
    void CheckLevel();
    Recording& rec_;
    const GameState* game_ = nullptr;
    int64_t polls_ = 0;
    int32_t lastLevel_ = -1;
    bool lastWon_ = false;
};

// Feeds a recording back to the game. Window, picture and sound go to another platform
// (a real window to watch, or a headless one to replay as fast as possible). When the
// inputs run out, the game is asked to end as by the window's close control.
class ReplayPlatform : public ForwardingPlatform {
public:
    ReplayPlatform(Platform& inner, const Recording& recording, bool realTime)
        : ForwardingPlatform(inner), rec_(recording), realTime_(realTime) {}
    void Watch(const GameState* game) { game_ = game; }
    // Compares the final state with the last checkpoint; call when the game has ended.
    void Finish();

    bool Diverged() const { return !divergence_.empty(); }
    const std::string& Divergence() const { return divergence_; }
    int64_t Polls() const { return polls_; }
    int CheckpointsMatched() const { return matched_; }

    uint32_t GetTickCount() override;
    uint64_t ClockSeed() override { return rec_.seed; }
    void WaitUntil(uint32_t tick) override;
    bool CloseRequested() const override;
    void ReadKeyboard(KeyState& keys) override;
    bool OpenAudio() override { return realTime_ && inner_.OpenAudio(); }

private:
    void Check(const Recording::Checkpoint& expected);
    const Recording& rec_;
    bool realTime_;
    const GameState* game_ = nullptr;
    size_t next_ = 0;        // next input
    size_t nextCheck_ = 0;   // next checkpoint
    int64_t polls_ = 0;
    int matched_ = 0;
    bool exhausted_ = false;
    uint32_t lastTick_ = 0;
    std::string divergence_;
};

} // namespace zorbo

namespace zorbo {

struct Settings;

// Reads a recording for replay and checks it against the level set in the data folder;
// fills the settings the game must be started with. False with a clear message when the
// recording cannot be used.
bool PrepareReplay(const std::string& file, const std::string& dataPath, Recording& rec, Settings& settings,
                   std::string& error);

// Starts a recording with the settings of the game about to be played.
bool StartRecording(const Settings& settings, Recording& rec, std::string& error);

struct ReplayResult {
    bool ok = false;           // every checkpoint matched and the inputs were used up exactly
    std::string message;       // the divergence, when not ok
    std::string summary;       // where the game ended (Summary)
    int64_t polls = 0;
    int checkpoints = 0;
};

// Replays a recording without window, sound or clock, as fast as possible.
ReplayResult ReplayHeadless(const Recording& rec, const Settings& settings);

} // namespace zorbo
