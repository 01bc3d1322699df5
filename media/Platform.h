#pragma once
#include "media/Rect.h"

#include <array>
#include <cstdint>
#include <string>

namespace zorbo {

class Canvas;

enum class ScreenMode { FullScreen, Window320, Window640 };

// One byte per scan code (the game's key numbering, 0..255); non-zero means held.
using KeyState = std::array<uint8_t, 256>;

// The one seam between the game and the machine: window, keyboard, audio and clock.
// The program uses the SDL implementation; tests and headless replays use a scripted one.
// Everything that makes a game run differently from one run to the next (the tick count,
// the held keys per poll, the random seed) comes through here, so that a game can be
// recorded and replayed by wrapping a Platform.
class Platform {
public:
    virtual ~Platform() = default;

    // Clock and random seed.
    virtual uint32_t GetTickCount() = 0;
    virtual uint64_t ClockSeed() = 0;

    // Window and messages.
    virtual void OpenWindow(ScreenMode mode) = 0;
    virtual void HideWindow() = 0;
    virtual void ShowCursor(bool visible) = 0;
    // Handles pending window messages.
    virtual void DoEvents() = 0;
    // Handles window messages while waiting until the tick count reaches `tick`.
    virtual void WaitUntil(uint32_t tick) = 0;
    // The window's close control was used.
    virtual bool CloseRequested() const = 0;
    virtual void ShowMessage(const std::string& title, const std::string& text) = 0;
    // The window's caption as the desktop shows it (task bar, window list); the game's
    // picture never shows it.
    virtual void SetTitle(const std::string& title) { (void)title; }

    // Display: shows the game's 320 x 240 pictures in the window's view area. The window
    // opened by OpenWindow decides the size; starting the display only makes it ready to draw.
    virtual bool StartDisplay() = 0;
    // A frame has ended: the canvas holds its composed picture and its draws.
    virtual void Present(const Canvas& frame) = 0;
    // False when nobody ever looks at the pictures: the game's draws are then neither
    // recorded nor painted (their effects on the game happen all the same).
    virtual bool WantsPictures() const { return true; }
    // Whether the window shows a frame's overlay (Canvas::SetOverlay) over its pictures, and
    // plays what goes with it: only smooth motion does.
    virtual bool ShowsOverlays() const { return false; }
    virtual void StopDisplay() = 0;

    // Keyboard: every key held now, plus every key that went down since the last read
    // (so a tap between two polls is not lost).
    virtual bool OpenKeyboard() = 0;
    virtual void ReadKeyboard(KeyState& keys) = 0;
    virtual void CloseKeyboard() = 0;
    // The game shows a Y/N question: a gamepad's buttons answer it instead of jumping.
    virtual void AskingQuestion(bool asking) { (void)asking; }

    // Sound effects by number 1..16.
    virtual bool OpenAudio() = 0;
    // False, with the reason in `error`, when the file cannot be loaded.
    virtual bool LoadSound(int number, const std::string& file, std::string& error) = 0;
    // Restarts the effect from its beginning; other effects keep playing.
    virtual void PlaySound(int number) = 0;
    // Plays the effect and returns when it has ended; window messages are handled meanwhile.
    virtual void PlaySoundSync(int number) = 0;
    virtual void CloseAudio() = 0;

    // Music: one looping tune at a time by number 1..6 (game/Music.h), under the effects,
    // playing on through the effects the game waits for and held in a pause. Checks a tune's
    // file once the audio is open; false, with the reason in `error`, when it cannot be played.
    virtual bool LoadMusic(int tune, const std::string& file, std::string& error) = 0;
    // Starts the tune from its beginning in place of the one playing. Whether it is heard is
    // the player's choice (music on or off), never the game's.
    virtual void PlayMusic(int tune) = 0;
    // No tune until the next PlayMusic.
    virtual void StopMusic() = 0;
};

} // namespace zorbo
