#pragma once
#include "media/ModeSwitch.h"
#include "media/Platform.h"
#include "media/SdlGamepads.h"

#include <array>
#include <memory>
#include <string>
#include <thread>
#include <vector>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct Mix_Chunk;
union SDL_Event;
struct SDL_KeyboardEvent;

namespace zorbo {

// Empty when there is a desktop to open windows on, else a one-line reason that starts
// with "no display". A video driver named in SDL_VIDEODRIVER is trusted.
std::string NoDisplayReason();

// The sound drivers SDL is to try when the player named none (SDL_AUDIODRIVER), as a
// comma list: all SDL knows but the file writer and the silent one, and ALSA and sndio
// only with an ALSA sound card. Without one they can only reach a sound server, which
// SDL's drivers for it try first; trying them anyway costs a tenth of a second at each
// start and a line of noise. Empty when nothing is left out (SDL's own order).
std::string AutomaticAudioDrivers(const std::vector<std::string>& known, bool soundCard);

// The platform on a real desktop: an SDL window and renderer, the SDL keyboard state,
// SDL_mixer for sound and the SDL millisecond clock.
class SdlPlatform : public Platform {
public:
    explicit SdlPlatform(std::string iconFile = {});
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    uint32_t GetTickCount() override;
    uint64_t ClockSeed() override;
    void OpenWindow(ScreenMode mode) override;
    void HideWindow() override;
    void ShowCursor(bool visible) override;
    void DoEvents() override;
    void WaitUntil(uint32_t tick) override;
    bool CloseRequested() const override { return closeRequested_; }
    void ShowMessage(const std::string& title, const std::string& text) override;
    void SetTitle(const std::string& title) override;
    bool StartDisplay() override;
    void Present(const Surface& picture, const Rect& srcRect) override;
    void StopDisplay() override;
    bool OpenKeyboard() override { return true; }
    void ReadKeyboard(KeyState& keys) override;
    void CloseKeyboard() override {}
    void AskingQuestion(bool asking) override { question_ = asking; }
    bool OpenAudio() override;
    bool LoadSound(int number, const std::string& file, std::string& error) override;
    void PlaySound(int number) override;
    void PlaySoundSync(int number) override;
    void CloseAudio() override;

    // Writes the last presented picture to a BMP file (for screenshots).
    bool SavePicture(const std::string& file) const;
    // Asks the game to end, as the close control does, after that many pictures.
    void CloseAfterFrames(int frames) { closeAfter_ = frames; }
    int Presents() const { return presents_; }
    // Milliseconds from SDL start to the first picture on the screen (0 before it).
    uint32_t FirstPresentTick() const { return firstPresent_; }
    bool Paused() const { return paused_; }
    bool FullScreen() const { return modeSwitch_.FullScreen(); }
    size_t Pads() const { return pads_ ? pads_->Count() : 0; }
    // Where the picture was last drawn in the window (for tests of the scaling).
    Rect PictureRect() const { return pictureRect_; }

private:
    void Handle(const SDL_Event& e);
    bool HandleControlKey(const SDL_KeyboardEvent& key);
    void SetPaused(bool paused);
    void QuitFromPause();
    void ServeWindow();
    void SwitchMode(bool fullScreen);
    void KeepSizeHints();
    void KeepSizeInBounds();
    bool TooLargeToDraw(int w, int h) const;
    void SizeChanged(int w, int h);
    void KeepScreenAwake();
    void Upload();
    void Render();

    std::string iconFile_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    ScreenMode mode_ = ScreenMode::Window320;
    bool closeRequested_ = false;
    bool audioOpen_ = false;
    // Closing the sound device plays out its last buffers (tens of milliseconds); that runs
    // here while the window goes, and is waited for before the sound system is ended.
    std::thread audioCloser_;
    void FinishClosingAudio();
    KeyState tapped_{};
    std::array<Mix_Chunk*, 16> chunks_{};
    std::unique_ptr<uint32_t[]> lastPicture_;
    int32_t pictureW_ = 0, pictureH_ = 0;
    Rect lastSrc_{};
    std::unique_ptr<Gamepads> pads_;
    bool question_ = false;
    bool paused_ = false;
    bool hidden_ = false;
    ModeSwitch modeSwitch_;
    int answerW_ = 0, answerH_ = 0;   // the window's size once the switch under way is done
    bool startedFullScreen_ = false;
    bool managed_ = false;   // a window manager framed the window when it went full screen
    Rect windowed_{};   // the window's place before it went full screen
    Rect pictureRect_{};
    int closeAfter_ = -1;
    int presents_ = 0;
    uint32_t firstPresent_ = 0;
};

} // namespace zorbo
