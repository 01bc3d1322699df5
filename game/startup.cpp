#include "game/GameWindow.h"

#include <cmath>
#include <exception>
#include <new>

namespace zorbo {

GameWindow::GameWindow(Platform& p, const Settings& settings)
    : platform(p), ddMain(p), diMain(p)
{
    gLevel = settings.gLevel;
    gFullScreen = settings.gFullScreen;
    gWindow640 = settings.gWindow640;
    gDifficulty = settings.gDifficulty;
    gLevelSet = settings.gLevelSet;
    gSoundOn = settings.gSoundOn;
    DataPath = settings.DataPath;
    if (!DataPath.empty() && DataPath.back() != '/')
        DataPath += '/';
    LevelSetFolder = settings.LevelSetFolder;
    gGameOver = false;
    gGameWon = false;
    gStartColumn = settings.StartColumn;
    gStartLevel = settings.gLevel;
    gLoopLevel = settings.LoopLevel;
}

ScreenMode GameWindow::Mode() const
{
    if (gFullScreen)
        return ScreenMode::FullScreen;
    return gWindow640 ? ScreenMode::Window640 : ScreenMode::Window320;
}

void GameWindow::Form_Load()
{
    try {
        Startup();
    } catch (const std::bad_alloc&) {
        Fail("there is not enough memory to start the game");
        return;
    } catch (const std::exception& e) {
        // The platform could not give the game a window, a display or a keyboard, or
        // memory ran out while a named file was loaded (WhileLoading).
        Fail(e.what());
        return;
    }
    Game_Loop();
}

void GameWindow::Startup()
{
    rng.Seed(platform.ClockSeed());
    bRunning = true;
    Initform();
    InitInput();
    InitGraphics();
    InitSound();
    InitOverlays();
    PlaySound(Sound::LevelStart);
    // The last step: a failure leaves the loop nothing to run.
    if (LoadLevelData()) {
        StartLevelCard();
        PlaceTestStart(true);
        StartMusic();
    }
}

void GameWindow::Initform()
{
    platform.OpenWindow(Mode());
    if (gFullScreen)
        platform.ShowCursor(false);
}

void GameWindow::InitInput()
{
    diMain.Startup();
    Keyboard.KeyDown = [this](int32_t key) { Keyboard_KeyDown(key); };
    Keyboard.Startup(diMain);
}

void GameWindow::Game_Loop()
{
    BeginLoop();
    while (bRunning)
        LoopPass();
}

void GameWindow::BeginLoop()
{
    Timers.StartTick = static_cast<int32_t>(platform.GetTickCount());
    FrameDelay = static_cast<int32_t>(std::nearbyint(1000.0 / gDifficulty));
    // Frames come one millisecond later than the delay (LoopPass).
    ddsBack.SetFramePeriod(static_cast<uint32_t>(FrameDelay + 1));
}

bool GameWindow::LoopPass()
{
    bool frame = false;
    Timers.Elapsed = static_cast<int32_t>(platform.GetTickCount()) - Timers.StartTick;
    // Kept on purpose: strictly later than due, so frames are FrameDelay + 1 ms apart (39 ms
    // at Normal; recordings rely on the timing).
    if (Timers.Elapsed > Timers.NextTick) {
        frame = true;
        platform.AskingQuestion(gGameOver || gGameWon);
        Keyboard.Check_Keyboard();
        if (gGameWon) {
            if (bRunning)
                Game_Won(Timers.Elapsed);
        } else if (bRunning) {
            Game_Update(Timers.Elapsed);
        }
        // A late frame is not made up for: the next one is due FrameDelay after this
        // one began.
        Timers.NextTick = Timers.Elapsed + FrameDelay;
    }
    platform.DoEvents();
    if (bRunning && platform.CloseRequested()) {
        Shutdown();
        return frame;
    }
    // Wait for the next frame instead of spinning; the first tick that passes the rule is
    // NextTick + 1 milliseconds after the start.
    if (bRunning)
        platform.WaitUntil(static_cast<uint32_t>(Timers.StartTick + Timers.NextTick + 1));
    return frame;
}

void GameWindow::Fail(const std::string& message)
{
    if (Failed())
        return;
    failure_ = message.empty() ? std::string("the game cannot go on") : message;
    platform.ShowMessage("Zorbo", failure_);
    Shutdown();
}

void GameWindow::Shutdown()
{
    platform.ShowCursor(true);
    bRunning = false;
    Keyboard.Shutdown();
    if (AudioOpen)
        platform.StopMusic();
    AudioOpen = false;
    platform.CloseAudio();
    platform.HideWindow();
    ddMain.Shutdown();
}

} // namespace zorbo
