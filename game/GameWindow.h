#pragma once
#include "game/GameState.h"
#include "game/Hud.h"
#include "game/Music.h"
#include "game/Settings.h"
#include "game/Sounds.h"
#include "media/Display.h"
#include "media/DrawList.h"
#include "media/Font.h"
#include "media/Keyboard.h"
#include "media/Platform.h"
#include "level/LevelFile.h" // IsSolid and the tile codes the routines test
#include "level/Rules.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace zorbo {

enum class KnockCause : uint8_t; // game/Kinds.h

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
    void BeginLoop();   // the loop's set-up: start tick and frame delay
    bool LoopPass();    // one pass of the loop; true when it ran a frame
    void Shutdown();
    ScreenMode Mode() const;
    // The one way out for a fault the game cannot go on from: the message (message box
    // and stderr), then Shutdown, so the frame loop ends with the display restored, and
    // the program exits with a non-zero status. A caller returns at once after it, and
    // every routine that may end in it tells its caller (bRunning is false). Faults the
    // game plays on through are only warned about (media/Warn.h).
    void Fail(const std::string& message);
    bool Failed() const { return !failure_.empty(); }
    const std::string& Failure() const { return failure_; }

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

    // ---- game/levelflow.cpp: level changes, continue, the editor's test start and loop
    void Nextlevel();
    void AdvanceLevel(); // Nextlevel's steps, which a continue takes too
    void ContinueGame();
    void PlaceTestStart(bool placeHero);
    void LoopTestLevel();
    void ShowLevelTitle(); // the window's caption names the level being played

    // ---- game/overlays.cpp: what a smooth window shows over the pictures (the level card,
    // the flags of the checkpoints reached) and the chime that goes with a checkpoint
    void InitOverlays();
    void StartLevelCard(); // a level begins: its card, and no checkpoint of it reached
    void CheckpointTaken(MapCell start); // the restart point moved to the start in this cell
    Overlay FrameOverlay(); // the overlay of the frame being drawn

    // ---- game/lives.cpp: hurt and death, the game-over prompt, the winning sequence
    bool HurtAndHit(); // true when the hero began dying in this call
    void KillZorboAnimate();
    void GameOverPrompt();
    void Game_Won(int32_t MS);
    void DrawQuestion(const char* first, const char* second, int32_t& blink);

    // ---- player/collision.cpp: hero movement against the map
    void CollisionDetection();
    bool GroundStep(); // false when the step ended early (no elevator step)
    bool AirStep();
    void MoveRight();
    void MoveLeft();
    void MoveAir();
    void PlaceAt(int32_t W);
    void PlaceAtGuarded(int32_t W);
    void ComputeHeroCell();
    void WallStop();
    void Land();
    void CeilingHit(bool right);
    // ---- player/contacts.cpp: the hero's head against boxes and blocks
    void CeilingHitPair();
    void HeadHitsBoxes();
    void StrikeBlock(bool right);
    // ---- player/elevators.cpp
    void ElevatorCollision();
    void UpdateElevator();
    // ---- player/warps.cpp
    void UpdateWarp();
    // Standing where Down takes him through the marked pipe (as of the last frame).
    bool HeroOnWarp() const;
    // ---- player/fireballs.cpp: the hero's fireballs
    void InitFireBall();
    void ZorboFireBall();

    // ---- enemies/update.cpp: every enemy kind, in painting order
    void UpdateEnemies();
    // ---- enemies/walker.cpp: the walking machine that Wumpels, turtles, PTurtles and
    // Greenies share, and their contacts with the hero
    int32_t UpdateWalker(Sprite& e, const struct WalkerKind& kind, bool alternate);
    void WalkerStep(Sprite& e, const struct WalkerKind& kind);
    void SquashedStep(Sprite& e, const struct WalkerKind& kind);
    bool WalkerContact(Sprite& e, int32_t top, int32_t stompSound = Sound::Stomp);
    void DrawWithLook(Sprite& e, bool alternate, int32_t lookOffset);
    // ---- enemies/wumpels.cpp, turtles.cpp, pturtles.cpp, greenies.cpp
    void UpdateWumpels();
    void UpdateTurtles();
    void UpdatePTurtles();
    void ShellStep(size_t i);
    void ShellContact(size_t i);
    void PTurtleCollision(int32_t& shell);
    void KnockOutFTurtle(size_t f);
    int32_t PTurtleFromFTurtle(size_t f);
    void UpdateGreenies();
    // ---- enemies/fturtles.cpp, plants.cpp, birds.cpp, blacks.cpp, browns.cpp,
    // brownfire.cpp, firechains.cpp, flames.cpp: the kinds that do not walk
    void UpdateFTurtles();
    void FTurtleStep(Sprite& e);
    void FTurtleStomped(size_t f);
    void UpdatePPlants();
    void UpdateBird();
    void UpdateBlack();
    void UpdateBrown();
    void BrownAnimate(Sprite& b);
    void ThrowFireball(const Sprite& brown);
    void UpdateFireball();
    void UpdateFire();
    void UpdateFlame();
    // ---- enemies/knockout.cpp: a hero fireball or a sliding shell knocks out every enemy
    // in its box, by the kinds' rows (game/Kinds.h); true when it hit any
    bool KnockOut(KnockCause cause, int32_t x, int32_t y, const Sprite* self = nullptr);
    void KnockOutSlot(const struct KindRow& kind, const struct KnockOutRule& rule, size_t i);
    // ---- enemies/hopper.cpp: the hop in place that Blacks and Browns share
    bool HopperStep(Sprite& e, int32_t squashedFrame, int32_t& row, int32_t& col);
    void SquashedHopperStep(Sprite& e);
    // Whatever touches the hero hurts him, unless he is still blinking from the last hit.
    void HitHero()
    {
        if (HurtTimer == 0)
            sprPlayer.State = Hero::Hit;
    }

    // ---- world/: the tile map of the current level. Cells outside rows 0..14 or
    // columns 0..1000 read as 0; no routine indexes Map directly.
    int32_t MapCode(int32_t row, int32_t col) const { return Map.At(gLevel, row, col); }
    void SetMapCode(int32_t row, int32_t col, int32_t code) { Map.Set(gLevel, row, col, code); }
    // The current level's codes, as the shared rules of level/Rules.h read a map.
    CodeAt LevelCodes() const
    {
        return [this](int32_t r, int32_t c) { return MapCode(r, c); };
    }

    // ---- world/loader.cpp: the level set
    bool LoadLevelData(); // false when it failed the game
    bool LoadLevelSet(const std::string& path); // its work, inside the out-of-memory guard
    // ---- world/tiles.cpp, world/activation.cpp: map drawing, objects from the map
    void DrawTiles();
    void ActivateCell(int32_t row, int32_t col, int32_t x, int32_t y);
    bool ActivateEnemy(int32_t code, int32_t x, int32_t y); // false when the code is no plain enemy
    void ActivateItem(int32_t code, int32_t col, int32_t x, int32_t y);
    void ActivateHeroStart(int32_t col, int32_t y);
    void ActivateFlame(int32_t x, int32_t y);
    void ActivateFireChain(int32_t x, int32_t y);
    void ActivateElevatorEnd(int32_t x, int32_t y);
    void ClearCell(int32_t row, int32_t col);
    // ---- world/blocks.cpp: boxes, coins, brick fragments
    void UpdateQBoxes();
    void UpdateCoins();
    void AnimateBricks();
    void AssignCoin(int32_t box, bool alternate);
    void InitializeBricks(int32_t x, int32_t y, int32_t kind);
    // ---- world/powerups.cpp: the power-up and the one-up
    void UpdateMush();
    void UpdateOneUp();
    bool WalkItem(Sprite& item, bool freeToTheRight); // false when the item left play
    // ---- enemies/killall.cpp
    void KillAllEnemies();

    // ---- game/sound.cpp: sound effects and music
    void InitSound();
    void PlaySound(int32_t snd);
    void PlaySoundSync(int32_t snd);
    // The tune of the level just begun, or the parade's once the game is won; a restart
    // after a death keeps the tune playing.
    void StartMusic();

    Platform& platform;
    Display ddMain;
    InputService diMain;
    KeyboardDevice Keyboard;
    Surface ddsBorder;
    std::array<Surface, Tile::Count> TileSurfaces;
    std::array<std::string, Sound::Count + 1> SoundFiles; // 1..Count
    std::array<bool, Sound::Count + 1> SoundLoaded{};
    // Outside GameState too: the music changes nothing in the game.
    bool AudioOpen = false;
    std::array<bool, Tune::Count + 1> MusicLoaded{};
    // Each level's title from the level set (outside GameState: only the window shows it).
    std::array<std::string, TileMap::Levels> LevelTitles;
    // Outside GameState as well: no rule of play reads it and no recording sees it.
    struct Overlays {
        bool on = false;      // the platform shows them (smooth motion)
        std::string card;     // the level card's text
        uint32_t cardMs = 0;  // how long the card has shown
        std::vector<MapCell> checkpoints; // the level's, as loaded
        std::vector<MapCell> reached;     // those whose flag is raised
        Surface flags;        // the raised flags (kCheckpointFlags' order)
    } overlays;
    // How long the card shows, the last part of it fading out.
    static constexpr uint32_t CardMs = 2000;
    static constexpr uint32_t CardFadeMs = 400;
    // Told the level (1..10, 11 once the last one is done) that the player has reached by
    // finishing the one before; never for the start level, a continue or a looped try.
    // Outside GameState: the game does the same whoever listens, and no recording sees it.
    std::function<void(int32_t reached)> OnLevelReached;

    static constexpr const char* HudFont = HudFontFamily;
    static constexpr int32_t HudColor = HudTextColor;

private:
    // Outside GameState: how the run ended is no part of the game a recording checks.
    std::string failure_;
};

} // namespace zorbo
