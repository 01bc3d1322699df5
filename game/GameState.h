#pragma once
#include "game/Random.h"
#include "game/Settings.h"
#include "game/Turning.h"
#include "media/Canvas.h"
#include "media/Sprite.h"
#include "media/Surface.h"
#include "level/TileMap.h"

#include <array>
#include <cstdint>
#include <string>

namespace zorbo {

// Timing members of the game window. Each part of the game keeps its counters here.
struct TimerRecord {
    int32_t StartTick = 0;
    int32_t Elapsed = 0;
    int32_t NextTick = 0;
    int32_t LastKeyTick = 0;
    int32_t LastKey = 0;
    int32_t GameOverBlink = 0;
    int32_t WonBlink = 0;
    int32_t WonPhase = 0;
    int32_t ParadeCount = 0;
    int32_t SpiralCX = 0;
    float SpiralAngle = 0.0F;
    float SpiralRadius = 0.0F;
    // The shared animation pictures of all question boxes and of all coins.
    int32_t QBoxTick = 0;
    int32_t QBoxFrame = 0;
    int32_t CoinTick = 0;
    int32_t CoinFrame = 0;
    // Per flame: the updates counted toward its next picture.
    std::array<int16_t, 16> FlameTick{};
};

// A rotating chain of fire balls around a box.
struct FireChain {
    std::array<Sprite, ChainBalls> Balls;
    float CenterX = 0.0F;   // screen position of the pivot
    float CenterY = 0.0F;
    int32_t LastViewX = 0;  // ViewX when CenterX was last brought up to date
    float Angle = 0.0F;     // radians
    bool ChainActive = false;
};

// The path of one elevator. The x values are screen positions, shifted with the scroll
// whenever the view has moved since RefViewX.
struct ElevatorPath {
    int32_t FromX = 0;
    int32_t FromY = 0;
    int32_t ToX = 0;
    int32_t ToY = 0;
    int32_t RefViewX = 0;
    int32_t Dir = 0; // +1 toward the second end, -1 toward the first
};

// Every value of a running game, kept apart from the window's devices so that a game can
// be copied (snapshot and restore) as a whole.
struct GameState {
    // Settings handed over by the launcher; level and the two questions change in play.
    int32_t gLevel = 0;
    bool gFullScreen = false;
    bool gWindow640 = false;
    int32_t gDifficulty = Difficulty::Normal;
    std::string gLevelSet;
    bool gSoundOn = false;
    bool gGameOver = false;
    bool gGameWon = false;
    int32_t gStartColumn = 0;   // 0, or where the start level begins (Settings::StartColumn)
    int32_t gStartLevel = 0;
    bool gLoopLevel = false;    // Settings::LoopLevel

    std::string DataPath;
    std::string LevelSetFolder; // Settings::LevelSetFolder
    bool bRunning = false;
    int32_t FrameDelay = 0;
    bool bKeyDown = false;
    bool bDownKey = false;
    int32_t FireDelay = 0;
    int32_t JumpCount = 0;
    int32_t Lives = 0;
    int32_t Coins = 0;
    bool HeroBig = false;
    int32_t HurtTimer = 0;
    int32_t StartX = 0;
    int32_t StartY = 0;
    int32_t StartViewX = 0;
    int32_t ViewX = 0;
    double PlantDelay = 0.0;
    TimerRecord Timers;
    Random rng;

    Canvas ddsBack;

    // The tile map and warp table of all ten levels; read through MapCode / SetMapCode.
    TileMap Map;
    WarpTable Warps{};

    Sprite sprPlayer;
    std::array<Sprite, 24> sprTurtles;
    std::array<Sprite, 24> sprPTurtles;
    std::array<Sprite, 24> sprWumpels;
    std::array<Sprite, 10> sprFTurtles;
    std::array<Sprite, 10> sprPPlants;
    std::array<Sprite, 10> sprGreenies;
    Sprite sprMush;
    Sprite sprMushAlt;
    Sprite sprOneUp;
    std::array<Sprite, 24> sprQBoxes;
    std::array<Sprite, 24> sprCoins;
    std::array<Sprite, 4> sprBricks;
    std::array<FireChain, 6> sprFires;
    std::array<Sprite, 10> sprBirds;
    std::array<Sprite, 10> sprBlacks;
    std::array<Sprite, 10> sprBrowns;
    std::array<Sprite, 6> sprFireballs;
    std::array<Sprite, 4> sprHeroFire;
    std::array<Sprite, 10> sprElevators;
    std::array<Sprite, 16> sprFlames;
    Sprite sprWarp;

    // Per-slot companions of the level objects, set when a map cell makes the object.
    std::array<bool, 24> WumpelAlt{};
    std::array<int32_t, 10> PlantTimer{};
    std::array<int32_t, 16> FlameFrame{};
    std::array<int32_t, 6> FireTick{};

    // The hero's cell, recomputed whenever his position changes inside the collision step.
    int32_t HeroCol = 0;
    int32_t HeroXMod = 0;
    int32_t HeroRow = 0;
    int32_t HeroYMod = 0;
    // The released power-up shows its second picture.
    bool MushAlt = false;
    std::array<ElevatorPath, 10> ElevatorPaths{};
    // Per slot: drawn in the alternate look.
    std::array<bool, 10> FTurtleAlt{};
    std::array<bool, 24> PTurtleAlt{};
    // Per PTurtle slot: updates left in which it ignores the hero (a fresh shell).
    std::array<int32_t, 24> KickDelay{};
};

// Hero states.
namespace Hero {
constexpr int32_t GroundRight = 0;
constexpr int32_t GroundLeft = 1;
constexpr int32_t AirRight = 2;
constexpr int32_t AirLeft = 3;
constexpr int32_t Hit = 4;
constexpr int32_t Dying = 5;
} // namespace Hero

} // namespace zorbo
