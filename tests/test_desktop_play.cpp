// Playing on today's desktops: gamepads standing in for keys, whole-factor scaling, pause.
#include "media/Keyboard.h"
#include "media/PadMap.h"
#include "media/Presentation.h"
#include "media/Surface.h"

#include <gtest/gtest.h>

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
