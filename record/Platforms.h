#pragma once
// The platforms a recorded game is played on: one that records what the game reads from
// another platform, one that feeds a recording back in its place.
#include "media/Platform.h"
#include "record/Recording.h"

#include <cstdint>
#include <string>

namespace zorbo {

struct GameState;
class RecordingWriter;

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
    // The title is no part of the game's state: a recording neither stores nor checks it.
    void SetTitle(const std::string& t) override { inner_.SetTitle(t); }
    bool StartDisplay() override { return inner_.StartDisplay(); }
    void Present(const Canvas& frame) override { inner_.Present(frame); }
    bool WantsPictures() const override { return inner_.WantsPictures(); }
    bool ShowsOverlays() const override { return inner_.ShowsOverlays(); }
    void StopDisplay() override { inner_.StopDisplay(); }
    bool OpenKeyboard() override { return inner_.OpenKeyboard(); }
    void ReadKeyboard(KeyState& keys) override { inner_.ReadKeyboard(keys); }
    void CloseKeyboard() override { inner_.CloseKeyboard(); }
    void AskingQuestion(bool asking) override { inner_.AskingQuestion(asking); }
    bool OpenAudio() override { return inner_.OpenAudio(); }
    bool LoadSound(int n, const std::string& f, std::string& e) override { return inner_.LoadSound(n, f, e); }
    void PlaySound(int n) override { inner_.PlaySound(n); }
    void PlaySoundSync(int n) override { inner_.PlaySoundSync(n); }
    void CloseAudio() override { inner_.CloseAudio(); }
    // The music changes nothing in the game: a recording neither stores nor checks it.
    bool LoadMusic(int t, const std::string& f, std::string& e) override { return inner_.LoadMusic(t, f, e); }
    void PlayMusic(int t) override { inner_.PlayMusic(t); }
    void StopMusic() override { inner_.StopMusic(); }

protected:
    Platform& inner_;
};

// Passes everything through to another platform and records what the game reads.
class RecordingPlatform : public ForwardingPlatform {
public:
    RecordingPlatform(Platform& inner, Recording& recording) : ForwardingPlatform(inner), rec_(recording) {}
    // The game whose level changes are checkpointed (set once it exists).
    void Watch(const GameState* game) { game_ = game; }
    // Writes the recording to a file as the game goes: the header once the seed is drawn,
    // then every poll as soon as it is read.
    void WriteTo(RecordingWriter* writer) { writer_ = writer; }
    // Adds the final checkpoint; call when the game has ended.
    void Finish();

    uint32_t GetTickCount() override;
    uint64_t ClockSeed() override;
    void ReadKeyboard(KeyState& keys) override;

private:
    void CheckLevel();
    Recording& rec_;
    const GameState* game_ = nullptr;
    RecordingWriter* writer_ = nullptr;
    int64_t polls_ = 0;
    int32_t lastLevel_ = -1;
    bool lastWon_ = false;
};

// How a replay ended.
enum class ReplayEnd {
    Matched,   // every input used exactly and every checkpoint matched
    Diverged,  // the game went its own way, or ended on an error message
    CutOff,    // matched up to the last poll of a recording whose game was killed
    Stopped,   // stopped (window closed, a signal, a frame limit) before the recording's end
};

// Feeds a recording back to the game. Window, picture and sound go to another platform
// (a real window to watch, or a headless one to replay as fast as possible). When the
// inputs run out, the game is asked to end as by the window's close control.
class ReplayPlatform : public ForwardingPlatform {
public:
    ReplayPlatform(Platform& inner, const Recording& recording, bool realTime);
    void Watch(const GameState* game) { game_ = game; }
    // Judges the replay once the game has ended: compares the final state with the last
    // checkpoint and checks that the game used the recording exactly.
    void Finish();

    ReplayEnd End() const { return end_; }
    // One line: why the replay did not match, where it was stopped or cut off.
    const std::string& Verdict() const { return verdict_; }
    int64_t Polls() const { return polls_; }
    int CheckpointsMatched() const { return matched_; }

    uint32_t GetTickCount() override;
    uint64_t ClockSeed() override { return rec_.seed; }
    void WaitUntil(uint32_t tick) override;
    bool CloseRequested() const override;
    void ShowMessage(const std::string& title, const std::string& text) override;
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
    int64_t recordedPolls_ = 0;
    int matched_ = 0;
    bool exhausted_ = false; // the game read past the recording's last input
    uint32_t lastTick_ = 0;
    std::string divergence_;
    std::string message_;    // the first message box the game showed
    ReplayEnd end_ = ReplayEnd::Matched;
    std::string verdict_;
};

} // namespace zorbo
