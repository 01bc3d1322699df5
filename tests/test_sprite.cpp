#include "TestData.h"
#include "media/Display.h"
#include "media/Sprite.h"

#include <gtest/gtest.h>

using namespace zorbo;

namespace {

struct StripFixture : testing::Test {
    test::TempDir dir;
    HeadlessPlatform platform;
    Display dd{platform};
    std::string file = dir.path() + "strip.bmp";
    // 7 columns x 4 rows of 16 x 16 frames; each frame filled with its number + 1.
    void SetUp() override
    {
        test::WriteBmp(file, 7 * 16, 4 * 16, [](int x, int y) { return static_cast<uint32_t>((y / 16) * 7 + x / 16 + 1); });
    }
    Sprite Loaded(int frames = 28)
    {
        Sprite s;
        s.Create(dd);
        EXPECT_TRUE(s.LoadFromFile(file, 16, 16, 7, frames));
        return s;
    }
};

} // namespace

TEST_F(StripFixture, FrameRectanglesFollowTheStripLayout)
{
    Sprite s = Loaded();
    s.CurrentFrame = 9;
    EXPECT_EQ(s.FrameRect(), (Rect{32, 16, 48, 32}));
    s.CurrentFrame = 27;
    EXPECT_EQ(s.FrameRect(), (Rect{96, 48, 112, 64}));
    Canvas back;
    back.Create(320, 240);
    s.X = 100;
    s.Y = 50;
    s.Draw(back);
    EXPECT_EQ(back.Pixel(100, 50), 28u);
    EXPECT_EQ(back.Pixel(115, 65), 28u);
    EXPECT_EQ(back.Pixel(116, 65), 0u);
}

TEST_F(StripFixture, CurrentFrameIgnoresValuesOutsideTheStrip)
{
    Sprite before;
    before.CurrentFrame = 1;   // nothing loaded: no frame can be set
    EXPECT_EQ(before.CurrentFrame, 0);
    Sprite s = Loaded();
    s.CurrentFrame = 5;
    s.CurrentFrame = 28;
    EXPECT_EQ(s.CurrentFrame, 5);
    s.CurrentFrame = -1;
    EXPECT_EQ(s.CurrentFrame, 5);
    s.CurrentFrame = 27;
    EXPECT_EQ(s.CurrentFrame, 27);
    // Reloading a strip keeps the frame, but resets the position.
    s.CurrentFrame = 5;
    s.X = 40;
    ASSERT_TRUE(s.LoadFromFile(file, 16, 16, 7, 6));
    EXPECT_EQ(s.CurrentFrame, 5);
    EXPECT_EQ(s.X, 0);
    // A failed load keeps the old layout.
    EXPECT_FALSE(s.LoadFromFile(dir.path() + "missing.bmp", 8, 8, 1, 1));
    EXPECT_EQ(s.Width(), 16);
}

// A game snapshot is copied into blank sprites and back: the frames must survive both ways.
TEST_F(StripFixture, ACopiedSpriteKeepsItsFrameEvenInABlankSprite)
{
    Sprite s = Loaded();
    s.CurrentFrame = 5;
    Sprite blank;
    blank = s;
    EXPECT_EQ(blank.CurrentFrame, 5);
    blank.CurrentFrame = 27;
    EXPECT_EQ(blank.CurrentFrame, 27);
    s = blank;
    EXPECT_EQ(s.CurrentFrame, 27);
}

TEST_F(StripFixture, NextAndPrevFrameCountAnimRateCallsAndWrap)
{
    Sprite s = Loaded(6);
    s.CurrentFrame = 5;
    s.NextFrame();
    EXPECT_EQ(s.CurrentFrame, 0);
    s.PrevFrame();
    EXPECT_EQ(s.CurrentFrame, 5);

    s.AnimRate = 3;
    s.CurrentFrame = 0;
    std::vector<int> seen;
    for (int call = 1; call <= 12; ++call) {
        s.NextFrame();
        seen.push_back(s.CurrentFrame);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3}));
    s.AnimCount = 0;
    s.AnimRate = 2;
    s.CurrentFrame = 0;
    s.PrevFrame();
    s.PrevFrame();
    EXPECT_EQ(s.CurrentFrame, 0);
    s.PrevFrame();
    EXPECT_EQ(s.CurrentFrame, 5);
}

TEST_F(StripFixture, SpritesPartlyOffTheBufferAreNotDrawn)
{
    Sprite s = Loaded();
    Canvas back;
    back.Create(320, 240);
    s.X = -4;
    s.Draw(back);
    s.X = 305;
    s.Draw(back);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(back.Pixel(x, y), 0u);
    s.X = 304;
    s.Draw(back);
    EXPECT_EQ(back.Pixel(319, 0), 1u);
}

TEST(Sprite, LoadingNeedsCreateAndAMissingImageDrawsNothing)
{
    HeadlessPlatform platform;
    Display dd(platform);
    test::TempDir dir;
    const std::string file = dir.path() + "one.bmp";
    test::WriteBmp(file, 16, 16, [](int, int) { return 0x123456u; });
    Sprite uncreated;
    EXPECT_FALSE(uncreated.LoadFromFile(file, 16, 16, 1, 1));
    Sprite broken;
    broken.Create(dd);
    test::Warnings warnings;
    EXPECT_FALSE(broken.LoadFromFile(dir.path() + "nope.bmp", 16, 16, 1, 1));
    EXPECT_EQ(warnings.Count("nope.bmp"), 1);
    Canvas back;
    back.Create(32, 32);
    broken.Draw(back);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(back.Pixel(x, y), 0u);
}
