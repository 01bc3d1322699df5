#pragma once
#include "media/FrameLog.h"
#include "media/ModeSwitch.h"
#include "media/ModuleFile.h"
#include "media/Pacing.h"
#include "media/Platform.h"
#include "media/SdlGamepads.h"
#include "media/SdlSound.h"
#include "media/SmoothMotion.h"

#include <array>
#include <memory>
#include <string>

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;
struct SDL_KeyboardEvent;

namespace zorbo {

// Empty when there is a desktop to open windows on, else a one-line reason that starts
// with "no display". A video driver named in SDL_VIDEODRIVER is trusted.
std::string NoDisplayReason();

// The platform on a real desktop: an SDL window and renderer, the SDL keyboard state,
// SdlSound for sound and the SDL millisecond clock.
class SdlPlatform : public Platform {
public:
    // Modules (the sound mixer) are looked for from `programDir` (media/ModuleFile.h).
    explicit SdlPlatform(std::string iconFile = {}, std::string programDir = ProgramFolder());
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
    void Present(const Canvas& frame) override;
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
    // media/SdlMusic.cpp: the music.
    bool LoadMusic(int tune, const std::string& file, std::string& error) override;
    void PlayMusic(int tune) override;
    void StopMusic() override;
    // Music on or off: the player's choice, set before the game starts; the M key switches it.
    void SetMusicOn(bool on);
    bool MusicOn() const;

    // Smooth motion: pictures between the game's frames at the display's rate, the view and
    // the sprites moved part of the way (media/SmoothMotion.h). Otherwise, as the game
    // always was, each composed picture is shown once. Set before the display starts.
    void SetSmoothMotion(bool smooth) { smooth_ = smooth; }
    bool ShowsOverlays() const override { return smooth_; }
    // Every picture put on the screen gets a line in the log (media/FrameLog.h).
    void SetFrameLog(FrameLog* log) { frameLog_ = log; }

    // Writes the last composed picture to a BMP file (for screenshots): never a picture
    // between two frames, never the pause band.
    bool SavePicture(const std::string& file) const;
    // Asks the game to end, as the close control does, after that many pictures.
    void CloseAfterFrames(int frames) { closeAfter_ = frames; }
    int Presents() const { return presents_; }
    // Milliseconds from SDL start to the first picture on the screen (0 before it).
    uint32_t FirstPresentTick() const { return firstPresent_; }
    bool Paused() const { return paused_; }
    const SdlSound& Sound() const { return sound_; }
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
    void UploadPixels(const uint32_t* pixels);
    void Render();
    // media/SdlMotion.cpp: the pictures between frames.
    void StartMotion();
    void ShowInBetween();
    void ShowDueInBetween();
    uint32_t NextWake(uint32_t now, uint32_t frameDue);
    void LogPicture(uint32_t ms, uint32_t frame, double fraction);

    std::string iconFile_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    ScreenMode mode_ = ScreenMode::Window320;
    bool closeRequested_ = false;
    SdlSound sound_;
    KeyState tapped_{};
    Surface lastPicture_; // the last composed picture
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
    bool smooth_ = false;
    InBetweens inBetweens_;
    PicturePacer pacer_;
    bool shownInBetween_ = false; // the texture holds the last picture between frames
    bool vsync_ = false;        // the renderer waits for the display's refresh
    bool vsyncWaits_ = false;   // and has been seen to
    int vsyncChecked_ = 0;
    FrameLog* frameLog_ = nullptr;
    int closeAfter_ = -1;
    int presents_ = 0;
    uint32_t firstPresent_ = 0;
};

} // namespace zorbo
