// Pads, pause and the window on SDL itself (its dummy video driver): virtual pads plugged
// in and out, a game played on a pad and replayed, a pause in the real frame loop.
#include "LevelText.h"
#include "TestData.h"
#include "record/Platforms.h"
#include "record/Replay.h"
#include "record/StateHash.h"
#include "media/SdlGamepads.h"
#include "media/SdlPlatform.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <climits>
#include <thread>

using namespace zorbo;

namespace {

// A pad that exists only in SDL: its buttons and sticks are set by the test.
class VirtualPad {
public:
    VirtualPad()
    {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Virtual pad";
        index_ = SDL_JoystickAttachVirtualEx(&desc);
        joystick_ = SDL_JoystickOpen(index_);
        id_ = SDL_JoystickInstanceID(joystick_);
    }
    ~VirtualPad() { Unplug(); }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool ok() const { return joystick_ != nullptr; }
    void Button(SDL_GameControllerButton b, bool down)
    {
        SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0);
        SDL_PumpEvents();
    }
    void StickX(int16_t value)
    {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, value);
        SDL_PumpEvents();
    }
    void Unplug()
    {
        if (joystick_ == nullptr)
            return;
        SDL_JoystickClose(joystick_);
        // The device index may have moved when other pads left; find it by its id.
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id_)
                SDL_JoystickDetachVirtual(i);
        joystick_ = nullptr;
        SDL_PumpEvents();
    }

private:
    int index_ = -1;
    SDL_JoystickID id_ = -1;
    SDL_Joystick* joystick_ = nullptr;
};

bool Held(const KeyState& keys, int32_t key) { return (keys[static_cast<size_t>(key)] & 0x80) != 0; }

struct SdlDesktop : testing::Test {
    test::GameData data;
    SdlPlatform sdl{{}, ZORBO_TEST_BUILD_DIR};
    KeyState Poll()
    {
        KeyState keys{};
        sdl.ReadKeyboard(keys);
        return keys;
    }
    Settings GameSettings()
    {
        test::WriteFile(data.path() + "plain.txt", test::LevelSet().Text());
        Settings s;
        s.DataPath = data.path();
        s.gLevelSet = "plain.txt";
        s.gDifficulty = 38;
        s.gSoundOn = false;
        return s;
    }
};

} // namespace

TEST_F(SdlDesktop, PadsArePluggedInAndOutAndTheirButtonsAreKeys)
{
    VirtualPad pad;
    ASSERT_TRUE(pad.ok()) << SDL_GetError();
    Poll();
    ASSERT_EQ(sdl.Pads(), 1u);

    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(Held(Poll(), Key::Space));
    EXPECT_TRUE(Held(Poll(), Key::Space)) << "held, the button stays a held key";
    // The stick counts past its dead zone only.
    pad.StickX(StickDeadZone - 100);
    EXPECT_FALSE(Held(Poll(), Key::Right));
    pad.StickX(20000);
    EXPECT_TRUE(Held(Poll(), Key::Right));

    // Unplugged in the middle of a jump: the keys are let go.
    pad.Unplug();
    const KeyState after = Poll();
    EXPECT_EQ(sdl.Pads(), 0u);
    EXPECT_FALSE(Held(after, Key::Space));
    EXPECT_FALSE(Held(after, Key::Right));
}

TEST_F(SdlDesktop, TwoPadsSteerOneHeroAndAQuickPressCounts)
{
    VirtualPad first, second;
    ASSERT_TRUE(first.ok() && second.ok()) << SDL_GetError();
    Poll();
    ASSERT_EQ(sdl.Pads(), 2u);
    first.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    second.Button(SDL_CONTROLLER_BUTTON_X, true);
    KeyState keys = Poll();
    EXPECT_TRUE(Held(keys, Key::Right));
    EXPECT_TRUE(Held(keys, Key::Up));
    // Pressed and let go between two polls: still one held poll.
    second.Button(SDL_CONTROLLER_BUTTON_X, false);
    first.Button(SDL_CONTROLLER_BUTTON_A, true);
    first.Button(SDL_CONTROLLER_BUTTON_A, false);
    keys = Poll();
    EXPECT_TRUE(Held(keys, Key::Space));
    EXPECT_FALSE(Held(keys, Key::Up));
    EXPECT_FALSE(Held(Poll(), Key::Space));
    // At a Y/N question the same buttons answer it.
    sdl.AskingQuestion(true);
    first.Button(SDL_CONTROLLER_BUTTON_B, true);
    keys = Poll();
    EXPECT_TRUE(Held(keys, Key::N));
    EXPECT_FALSE(Held(keys, Key::Up));
}

TEST_F(SdlDesktop, BackHeldForASecondIsEscape)
{
    Gamepads pads;
    VirtualPad pad;
    ASSERT_TRUE(pad.ok()) << SDL_GetError();
    KeyState tapped{};
    SDL_Event e;
    while (SDL_PollEvent(&e) != 0)
        pads.Handle(e, false, tapped);
    ASSERT_EQ(pads.Count(), 1u);
    auto escapeAt = [&](uint32_t now) {
        KeyState keys{};
        pads.AddKeys(keys, false, now);
        return Held(keys, Key::Escape);
    };
    pad.Button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_FALSE(escapeAt(5000));
    EXPECT_FALSE(escapeAt(5999));
    EXPECT_TRUE(escapeAt(6000));
    // Let go, the second starts again.
    pad.Button(SDL_CONTROLLER_BUTTON_BACK, false);
    EXPECT_FALSE(escapeAt(6100));
    pad.Button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_FALSE(escapeAt(6200));
    EXPECT_TRUE(escapeAt(7200));
}

// In play Back must be held a second; in a pause a press quits, as escape does there.
TEST_F(SdlDesktop, BackPressedInAPauseQuitsAsEscapeDoes)
{
    VirtualPad pad;
    ASSERT_TRUE(pad.ok()) << SDL_GetError();
    Poll();
    ASSERT_EQ(sdl.Pads(), 1u);
    pad.Button(SDL_CONTROLLER_BUTTON_BACK, true);
    pad.Button(SDL_CONTROLLER_BUTTON_BACK, false);
    EXPECT_FALSE(Held(Poll(), Key::Escape)) << "a brief press in play does nothing";

    pad.Button(SDL_CONTROLLER_BUTTON_START, true);
    pad.Button(SDL_CONTROLLER_BUTTON_START, false);
    Poll();
    ASSERT_TRUE(sdl.Paused());
    pad.Button(SDL_CONTROLLER_BUTTON_BACK, true);
    pad.Button(SDL_CONTROLLER_BUTTON_BACK, false);
    EXPECT_TRUE(Held(Poll(), Key::Escape));
    EXPECT_FALSE(sdl.Paused());
}

TEST_F(SdlDesktop, AGamePlayedOnAPadReplaysFromItsRecording)
{
    // The dummy desktop never gives the game window the focus, without which SDL holds
    // back pad presses.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    VirtualPad pad;
    ASSERT_TRUE(pad.ok()) << SDL_GetError();
    const Settings settings = GameSettings();
    Recording rec;
    std::string error;
    ASSERT_TRUE(StartRecording(settings, rec, error)) << error;
    RecordingPlatform recorder(sdl, rec);
    GameWindow game(recorder, settings);
    recorder.Watch(&game);
    game.Startup();
    game.BeginLoop();
    pad.Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    pad.Button(SDL_CONTROLLER_BUTTON_A, true);
    int frames = 0;
    int32_t highest = INT32_MAX; // the hero's top, once the first frame has placed him
    while (game.bRunning && frames < 30)
        if (game.LoopPass() && ++frames > 1)
            highest = std::min(highest, game.sprPlayer.Y);
    ASSERT_EQ(frames, 30);
    // Held south is a held jump: higher than the 8-pixel start alone would carry him.
    EXPECT_LT(highest, 192 - 40);
    EXPECT_GT(game.ViewX + game.sprPlayer.X, 32 + 60) << "the d-pad ran him right";
    sdl.CloseAfterFrames(0);
    while (game.bRunning)
        game.LoopPass();
    recorder.Finish();
    const std::string live = Summary(game);

    const ReplayResult replay = ReplayHeadless(rec, settings);
    EXPECT_TRUE(replay.ok) << replay.message;
    EXPECT_EQ(replay.summary, live);
}

namespace {

void PushKey(SDL_Scancode code, bool down)
{
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.scancode = code;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&e);
}

} // namespace

TEST_F(SdlDesktop, EscapeQuitsAPausedGameAsItQuitsARunningOne)
{
    const Settings settings = GameSettings();
    GameWindow game(sdl, settings);
    game.Startup();
    game.BeginLoop();
    for (int frames = 0; frames < 5 && game.bRunning;)
        frames += game.LoopPass() ? 1 : 0;
    // P, then Escape 300 ms into the pause from another thread, as a player would. A game
    // that ignored the key would wait in its pause: the window's close control ends it
    // after three seconds, which the test tells apart by CloseRequested.
    PushKey(SDL_SCANCODE_P, true);
    PushKey(SDL_SCANCODE_P, false);
    std::thread player([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        PushKey(SDL_SCANCODE_ESCAPE, true);
        PushKey(SDL_SCANCODE_ESCAPE, false);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    });
    int framesAfterP = 0;
    while (game.bRunning)
        framesAfterP += game.LoopPass() ? 1 : 0;
    const bool closed = sdl.CloseRequested();
    player.join();
    EXPECT_LE(framesAfterP, 2) << "the game was not paused when Escape came";
    EXPECT_FALSE(closed) << "Escape did not end the paused game";
    EXPECT_FALSE(sdl.Paused());
}

TEST_F(SdlDesktop, TheScreenSaverWaitsWhileAGameIsPlayedOnly)
{
    EXPECT_TRUE(SDL_IsScreenSaverEnabled()) << "no game yet";
    const Settings settings = GameSettings();
    GameWindow game(sdl, settings);
    game.Startup();
    game.BeginLoop();
    EXPECT_FALSE(SDL_IsScreenSaverEnabled()) << "a game is played";
    PushKey(SDL_SCANCODE_P, true);
    PushKey(SDL_SCANCODE_P, false);
    sdl.DoEvents();
    ASSERT_TRUE(sdl.Paused());
    EXPECT_TRUE(SDL_IsScreenSaverEnabled()) << "paused";
    PushKey(SDL_SCANCODE_P, true);
    PushKey(SDL_SCANCODE_P, false);
    sdl.DoEvents();
    ASSERT_FALSE(sdl.Paused());
    EXPECT_FALSE(SDL_IsScreenSaverEnabled()) << "resumed";
    PushKey(SDL_SCANCODE_ESCAPE, true);
    PushKey(SDL_SCANCODE_ESCAPE, false);
    while (game.bRunning)
        game.LoopPass();
    EXPECT_TRUE(SDL_IsScreenSaverEnabled()) << "the game has ended";
}

TEST_F(SdlDesktop, APauseRunsNoFrameLetsNoKeyThroughAndEndsWithoutABurst)
{
    const Settings settings = GameSettings();
    GameWindow game(sdl, settings);
    game.Startup();
    game.BeginLoop();
    std::vector<uint32_t> frameTicks;
    auto run = [&](int frames) {
        for (int n = 0; n < frames && game.bRunning;)
            if (game.LoopPass()) {
                frameTicks.push_back(SDL_GetTicks());
                ++n;
            }
    };
    const auto key = PushKey;
    run(5);
    // P, then a tap of space while paused; P again 300 ms later, from another thread as
    // a player would.
    key(SDL_SCANCODE_P, true);
    key(SDL_SCANCODE_P, false);
    key(SDL_SCANCODE_SPACE, true);
    key(SDL_SCANCODE_SPACE, false);
    std::thread resume([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        key(SDL_SCANCODE_P, true);
        key(SDL_SCANCODE_P, false);
    });
    run(6);
    resume.join();
    EXPECT_FALSE(sdl.Paused());
    ASSERT_EQ(frameTicks.size(), 11u);
    EXPECT_GE(frameTicks[5] - frameTicks[4], 290u) << "no frame ran while paused";
    for (size_t i = 6; i < frameTicks.size(); ++i)
        EXPECT_GE(frameTicks[i] - frameTicks[i - 1], static_cast<uint32_t>(game.FrameDelay))
            << "frame " << i << " came in a catch-up burst";
    EXPECT_EQ(game.sprPlayer.State, Hero::GroundRight) << "the space tapped during the pause jumped";
    EXPECT_EQ(game.sprPlayer.SpeedY, 0);
}

// A storm of F11 presses read in one pass starts one switch at most, and a close request
// read with it wins: the game ends without switching at all.
TEST_F(SdlDesktop, AnF11StormStartsOneSwitchAndAClosedWindowNone)
{
    sdl.OpenWindow(ScreenMode::Window320);
    ASSERT_TRUE(sdl.StartDisplay());
    auto storm = [](int presses) {
        for (int i = 0; i < presses; ++i) {
            PushKey(SDL_SCANCODE_F11, true);
            PushKey(SDL_SCANCODE_F11, false);
        }
    };
    storm(50);
    sdl.DoEvents();
    EXPECT_FALSE(sdl.FullScreen()) << "an even number of presses";
    storm(51);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    sdl.DoEvents();
    EXPECT_TRUE(sdl.CloseRequested());
    EXPECT_FALSE(sdl.FullScreen()) << "a switch started after the close request";
    storm(1);
    sdl.DoEvents();
    EXPECT_FALSE(sdl.FullScreen());
}
