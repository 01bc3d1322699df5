#pragma once
#include "game/GameState.h"
#include "game/Settings.h"
#include "media/Display.h"
#include "media/Keyboard.h"
#include "media/Platform.h"

#include <array>
#include <string>

namespace zorbo {

// The game window: owns every piece of game state (inherited from GameState) and the
// devices it plays on. Its routines live in the folder of their subsystem.
class GameWindow : public GameState {
public:
    GameWindow(Platform& platform, const Settings& settings);
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    // ---- game/startup.cpp: start-up, frame loop, shutdown
    void Form_Load();    // start-up, then the frame loop until the game ends
    void Startup();      // start-up without entering the loop
    void Initform();
    void InitInput();
    void Game_Loop();
    void Shutdown();
    ScreenMode Mode() const;

    // ---- game/frame.cpp: one frame of play
    void Game_Update(int32_t MS);
    void ApplyFriction();
    void ChooseHeroFrame();
    void DrawHero();
    void DrawHud();
    void DrawBorders();

    // ---- game/catalogue.cpp: every surface and sprite
    void InitGraphics();

    // ---- game/controls.cpp: the player's keys
    void Keyboard_KeyDown(int32_t lKey);

    // ---- game/levelflow.cpp: level changes, continue
    void Nextlevel();
    void ContinueGame();

    // ---- world/: the tile map of the current level. Cells outside rows 0..14 or
    // columns 0..1000 read as 0; no routine indexes Map directly.
    int32_t MapCode(int32_t row, int32_t col) const { return Map.At(gLevel, row, col); }
    void SetMapCode(int32_t row, int32_t col, int32_t code) { Map.Set(gLevel, row, col, code); }

    // ---- game/sound.cpp: sound effects
    void InitSound();
    void PlaySound(int32_t snd);
    void PlaySoundSync(int32_t snd);

    Platform& platform;
    Display ddMain;
    InputService diMain;
    KeyboardDevice Keyboard;
    Surface ddsBorder;
    std::array<Surface, 96> TileSurfaces;
    std::array<std::string, 16> SoundFiles; // 1..15
    std::array<bool, 16> SoundLoaded{};

    static constexpr const char* HudFont = "Tahoma";
    static constexpr int32_t HudColor = RGB(200, 200, 200);
};

} // namespace zorbo
