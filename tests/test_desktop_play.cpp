// Playing on today's desktops: gamepads standing in for keys, whole-factor scaling, pause.
#include "media/Keyboard.h"
#include "media/ModeSwitch.h"
#include "media/PadMap.h"
#include "media/Presentation.h"
#include "media/Surface.h"

#include <gtest/gtest.h>

#include <utility>

using namespace zorbo;

namespace {
std::vector<int> Held(const KeyState& keys)
{
    std::vector<int> held;
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i] & 0x80)
            held.push_back(static_cast<int>(i));
    return held;
}

std::vector<int> KeysOf(const PadState& pad, bool question)
{
    KeyState keys{};
    AddPadKeys(pad, question, keys);
    return Held(keys);
}
} // namespace

TEST(PadMap, ButtonsStandForTheGameKeysAndAnswerTheQuestions)
{
    PadState pad;
    pad.Set(PadButton::South, true);
    EXPECT_EQ(KeysOf(pad, false), std::vector<int>{Key::Space});
    EXPECT_EQ(KeysOf(pad, true), std::vector<int>{Key::Y}) << "at a question south answers yes, without a jump";
    pad.Set(PadButton::South, false);
    pad.Set(PadButton::East, true);
    EXPECT_EQ(KeysOf(pad, false), std::vector<int>{Key::Up});
    EXPECT_EQ(KeysOf(pad, true), std::vector<int>{Key::N});
    pad.Set(PadButton::East, false);
    pad.Set(PadButton::West, true);
    EXPECT_EQ(KeysOf(pad, true), std::vector<int>{Key::Up});
    pad.Set(PadButton::West, false);
    pad.Set(PadButton::Down, true);
    pad.Set(PadButton::Right, true);
    EXPECT_EQ(KeysOf(pad, false), (std::vector<int>{Key::Right, Key::Down}));
    // Back alone is no key: holding it is timed by the pad reader.
    PadState back;
    back.Set(PadButton::Back, true);
    EXPECT_TRUE(KeysOf(back, false).empty());
}

TEST(PadMap, TheStickCountsOnlyPastItsDeadZone)
{
    PadState pad;
    pad.stickX = StickDeadZone;
    pad.stickY = -StickDeadZone;
    EXPECT_TRUE(KeysOf(pad, false).empty()) << "a stick resting at the edge of the dead zone is centred";
    pad.stickX = StickDeadZone + 1;
    EXPECT_EQ(KeysOf(pad, false), std::vector<int>{Key::Right});
    pad.stickX = -32768;
    pad.stickY = 32767;
    EXPECT_EQ(KeysOf(pad, false), (std::vector<int>{Key::Left, Key::Down}));
    // The d-pad and the stick together press a key once.
    pad.Set(PadButton::Left, true);
    EXPECT_EQ(KeysOf(pad, false), (std::vector<int>{Key::Left, Key::Down}));
}

TEST(Presentation, ThePictureTakesTheLargestWholeFactorCentred)
{
    EXPECT_EQ(WholeScaleRect(320, 240, 320, 240), (Rect{0, 0, 320, 240}));
    EXPECT_EQ(WholeScaleRect(640, 480, 320, 240), (Rect{0, 0, 640, 480}));
    // 700 x 500 fits twice across and twice down: 30 and 10 pixels of black around.
    EXPECT_EQ(WholeScaleRect(700, 500, 320, 240), (Rect{30, 10, 670, 490}));
    // A wide desktop: the height decides (1080 / 240 = 4.5, so 4).
    EXPECT_EQ(WholeScaleRect(1920, 1080, 320, 240), (Rect{320, 60, 1600, 1020}));
    EXPECT_EQ(WholeScaleRect(1366, 768, 320, 240), (Rect{203, 24, 1163, 744}));
    // Smaller than the picture: drawn at its own size, centred and cut.
    EXPECT_EQ(WholeScaleRect(200, 100, 320, 240), (Rect{-60, -70, 260, 170}));
}

TEST(Presentation, AWindowKeepsBetweenThePictureAndTheLargestScreen)
{
    const WindowSize screen{1920, 1080};
    auto kept = [&](int w, int h, WindowSize largest) {
        const WindowSize k = KeptWindowSize({w, h}, largest);
        return std::pair(k.w, k.h);
    };
    EXPECT_EQ(kept(700, 500, screen), std::pair(700, 500));
    EXPECT_EQ(kept(1, 1, screen), std::pair(PictureWidth, PictureHeight));
    EXPECT_EQ(kept(10000, 10000, screen), std::pair(1920, 1080));
    // Each side on its own: a tall narrow window keeps its width.
    EXPECT_EQ(kept(400, 5000, screen), std::pair(400, 1080));
    EXPECT_EQ(kept(5000, 100, screen), std::pair(1920, PictureHeight));
    // A screen smaller than the picture still leaves room for the picture at 1x.
    EXPECT_EQ(kept(10000, 10000, {200, 100}), std::pair(PictureWidth, PictureHeight));
}

// The model of F11 under a storm of presses: one switch at a time, presses meanwhile only
// turn the mode wanted around.
TEST(ModeSwitch, PressesDuringASwitchTurnTheModeWantedNotAQueue)
{
    ModeSwitch fs(false);
    EXPECT_FALSE(fs.Due(0)) << "nothing wanted, nothing to do";
    fs.Press();
    ASSERT_TRUE(fs.Due(0));
    EXPECT_TRUE(fs.Begin(0)) << "the first press goes to full screen at once";
    EXPECT_TRUE(fs.FullScreen());
    // 49 more presses, 5 ms apart, while the desktop has not answered: none starts a switch.
    for (int i = 1; i < 50; ++i) {
        fs.Press();
        EXPECT_FALSE(fs.Due(static_cast<uint32_t>(i * 5))) << "press " << i + 1;
    }
    // Fifty presses in all, an even number: back to the window, in one more switch.
    fs.Answered();
    ASSERT_TRUE(fs.Due(500));
    EXPECT_FALSE(fs.Begin(500));
    fs.Answered();
    EXPECT_FALSE(fs.Due(600)) << "the window is what was wanted: no further switch";
}

TEST(ModeSwitch, AnEvenNumberOfPressesBeforeTheNextSwitchCostsNothing)
{
    ModeSwitch fs(true); // started in full screen
    fs.Press();
    fs.Press();
    EXPECT_FALSE(fs.Due(0));
    EXPECT_TRUE(fs.FullScreen());
    EXPECT_FALSE(fs.Switching());
}

TEST(ModeSwitch, ASwitchNeverAnsweredHoldsTheNextOnlyForAWhile)
{
    ModeSwitch fs(false);
    fs.Press();
    fs.Begin(1000);
    fs.Press();
    EXPECT_FALSE(fs.Due(1000 + ModeSwitch::AnswerWaitMs - 1));
    EXPECT_TRUE(fs.Due(1000 + ModeSwitch::AnswerWaitMs)) << "a desktop that never answers";
    // The tick count wraps after 49 days; the wait still ends.
    ModeSwitch late(false);
    late.Press();
    late.Begin(0xFFFFFF00u);
    late.Press();
    EXPECT_FALSE(late.Due(0xFFFFFF10u));
    EXPECT_TRUE(late.Due(0xFFFFFF00u + ModeSwitch::AnswerWaitMs));
}

TEST(Presentation, ThePauseOverlayDimsThePictureWithoutMakingItTransparent)
{
    Surface picture;
    ASSERT_TRUE(picture.Create(320, 240));
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            picture.SetPixel(x, y, y < 10 ? 0x010101u : 0xC08040u);
    DrawPausedOverlay(picture);
    EXPECT_EQ(picture.Pixel(5, 5), 0x010101u) << "the darkest pixel stays visible, not transparent";
    EXPECT_EQ(picture.Pixel(5, 120), 0x604020u) << "the middle of the play field stays in sight";
    // Two lines of text on a dark band over the bottom rows, the ground under the hero.
    int light = 0, bandTop = 240;
    for (int y = 150; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            light += picture.Pixel(x, y) == PauseTextPixel ? 1 : 0;
            if (x == 0 && picture.Pixel(x, y) == PauseBandPixel)
                bandTop = std::min(bandTop, y);
        }
    EXPECT_GT(light, 150) << "\"PAUSED\" and how to go on are written";
    EXPECT_GE(bandTop, 200);
    EXPECT_LE(bandTop, 225);
    for (int y = bandTop; y < 240; ++y)
        EXPECT_NE(picture.Pixel(0, y), 0x604020u) << "the band reaches the bottom row, at " << y;
}
