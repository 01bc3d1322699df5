#pragma once
#include "media/DrawList.h"
#include "media/Platform.h"
#include "media/Surface.h"

#include <deque>
#include <functional>
#include <initializer_list>
#include <vector>

namespace zorbo {

// The platform without a machine: keys and ticks come from a script, presented pictures,
// played sounds and the tunes asked for are recorded. The clock only moves when the game waits for it (it
// then jumps to the awaited tick) or when a test moves it.
class HeadlessPlatform : public Platform {
public:
    struct SoundEvent {
        int number;
        bool sync;
        int afterFrame; // number of pictures presented before the sound started
        bool operator==(const SoundEvent&) const = default;
    };
    // What the game asked of the music; nothing is ever heard.
    struct MusicEvent {
        int tune;       // 0: stopped
        int afterFrame; // number of pictures presented before the request
        bool operator==(const MusicEvent&) const = default;
    };

    // Queues the keys held at one poll; polls beyond the script see no key.
    void QueueKeys(std::initializer_list<int32_t> scanCodes);
    void QueueKeys(const std::vector<int32_t>& scanCodes);
    // Polls queued that no frame has read yet.
    size_t QueuedPolls() const { return script_.size(); }
    void ClearKeys() { script_.clear(); }

    uint32_t now = 0;
    // Called by GetTickCount before it answers, to model time passing inside a frame.
    std::function<void(uint32_t& now)> onTick;
    uint64_t seed = 12345;
    // Ends the game (as the window's close control does) once this many pictures were shown.
    int closeAfterFrames = -1;
    // Keeps every presented picture in `pictures`; without it (and without paintPictures)
    // the game paints none.
    bool keepPictures = true;
    // Paints every picture even when none is kept (to measure the painting, or to read
    // each picture as it is presented).
    bool paintPictures = false;
    // Shows overlays as a smooth window does, keeping each frame's in `overlays`.
    bool showOverlays = false;
    // Milliseconds the clock moves forward while a synchronous sound plays.
    uint32_t syncSoundMs = 0;
    // Message boxes also go to stderr, as the program's would: a headless run never hides
    // the reason it ended.
    bool echoMessages = true;
    // Sound numbers whose files fail to load.
    std::vector<int> brokenSounds;
    // Tune numbers whose files fail to load.
    std::vector<int> brokenMusic;

    std::vector<Surface> pictures;
    std::vector<uint32_t> presentTicks;
    std::vector<SoundEvent> sounds;
    std::vector<Overlay> overlays;
    std::vector<std::string> messages;
    std::string title; // the last one set
    std::vector<std::string> loadedSounds;
    std::vector<MusicEvent> music;
    std::vector<std::string> loadedMusic;
    ScreenMode windowMode = ScreenMode::Window320;
    bool windowOpen = false;
    bool cursorVisible = true;
    bool displayStarted = false;
    bool keyboardOpen = false;
    bool audioOpen = false;
    bool closeRequested = false;
    int polls = 0;
    int presents = 0;

    uint32_t GetTickCount() override;
    uint64_t ClockSeed() override { return seed; }
    void OpenWindow(ScreenMode mode) override;
    void HideWindow() override { windowOpen = false; }
    void ShowCursor(bool visible) override { cursorVisible = visible; }
    void DoEvents() override {}
    void WaitUntil(uint32_t tick) override;
    bool CloseRequested() const override { return closeRequested; }
    void ShowMessage(const std::string& title, const std::string& text) override;
    void SetTitle(const std::string& text) override { title = text; }
    bool StartDisplay() override;
    void Present(const Canvas& frame) override;
    // Pictures are painted only while they are kept.
    bool WantsPictures() const override { return keepPictures || paintPictures; }
    bool ShowsOverlays() const override { return showOverlays; }
    void StopDisplay() override { displayStarted = false; }
    bool OpenKeyboard() override;
    void ReadKeyboard(KeyState& keys) override;
    void CloseKeyboard() override { keyboardOpen = false; }
    bool OpenAudio() override;
    bool LoadSound(int number, const std::string& file, std::string& error) override;
    void PlaySound(int number) override;
    void PlaySoundSync(int number) override;
    void CloseAudio() override { audioOpen = false; }
    bool LoadMusic(int tune, const std::string& file, std::string& error) override;
    void PlayMusic(int tune) override { music.push_back(MusicEvent{tune, presents}); }
    void StopMusic() override { music.push_back(MusicEvent{0, presents}); }

private:
    std::deque<KeyState> script_;
};

} // namespace zorbo
