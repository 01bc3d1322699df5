// What a smooth window shows over the game's pictures: the level card, the flag of each
// checkpoint reached with its chime; never part of the game's pictures or state.
#include "HeroWorld.h"
#include "LevelText.h"
#include "media/Canvas.h"
#include "media/OverlayPainter.h"
#include "media/SmoothMotion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zorbo;

namespace {

constexpr int32_t kDifficulty = 26; // frames 39 ms apart

// Level 1 titled "Turtle Creek": the hero starts at column 3; a checkpoint at column 60
// with its flag beside it; a pit at columns 75 to 79; the level end at column 100.
// Level 2 is plain and titled "Lily Lagoon"; level 3 has no title.
std::string CheckpointSet()
{
    test::LevelSet set;
    test::Level& l = set.levels[0];
    l[12] = test::Row("..H" + std::string(55, '.') + "xH" + std::string(39, '.') + "E");
    const std::string floor = std::string(74, '#') + "....." + std::string(60, '#');
    l[13] = test::Row(floor);
    l[14] = test::Row(floor);
    std::string text = set.Text();
    for (const auto& [from, to] : {std::pair{"*Level 1\n", "*1 Turtle Creek\n"},
                                   std::pair{"*Level 2\n", "*2   Lily Lagoon  \n"}, std::pair{"*Level 3\n", "*3\n"}})
        text.replace(text.find(from), std::string(from).size(), to);
    return text;
}

struct Overlays : testing::Test {
    test::Game g{kDifficulty, true, true};
    Overlays()
    {
        test::WriteFile(g.data.path() + g->gLevelSet, CheckpointSet());
        g->BeginLoop(); // the frame period
        Begin(0);
    }
    // Begins `level` from its start, as a continue does.
    void Begin(int32_t level)
    {
        g->gLevel = level;
        g->ContinueGame();
        g.platform.sounds.clear();
        g.platform.overlays.clear();
    }
    const Overlay& Last() { return g.platform.overlays.back(); }
    // The restart point as the game keeps it.
    std::array<int32_t, 3> RestartPoint() { return {g->StartX, g->StartY, g->StartViewX}; }
};

} // namespace

TEST_F(Overlays, ALevelStartShowsItsNumberAndTitleForTwoSecondsFadingAtTheEnd)
{
    std::vector<int> opacities;
    for (int i = 0; i < 80; ++i) {
        g.Frame();
        if (!Last().card.empty()) {
            EXPECT_EQ(Last().card, "1 \u00B7 Turtle Creek");
            opacities.push_back(Last().cardOpacity);
        }
    }
    const int period = 1000 / kDifficulty + 1;
    ASSERT_EQ(opacities.size(), static_cast<size_t>(std::ceil(2000.0 / period))) << "about two seconds of frames";
    EXPECT_EQ(opacities.front(), 255);
    EXPECT_TRUE(std::is_sorted(opacities.rbegin(), opacities.rend())) << "it only fades";
    EXPECT_LT(opacities.back(), 64);
    EXPECT_GT(opacities.back(), 0);
    EXPECT_EQ(std::count(opacities.begin(), opacities.end(), 255), std::ceil(1600.0 / period))
        << "whole until the last 400 ms";
    EXPECT_TRUE(Last().card.empty());

    // The next level has its own card, the title without its blanks; a level without a
    // title shows its number.
    g->Nextlevel();
    g.Frame();
    EXPECT_EQ(Last().card, "2 \u00B7 Lily Lagoon");
    EXPECT_EQ(Last().cardOpacity, 255);
    Begin(2);
    g.Frame();
    EXPECT_EQ(Last().card, "3");
}

TEST_F(Overlays, TheChimeAndTheRaisedFlagComeWhenTheRestartPointMovesAndStayForTheLevel)
{
    const std::array<int32_t, 3> atStart = RestartPoint();
    int movedAt = -1, chimedAt = -1;
    for (int i = 0; i < 200 && test::HeroWorldX(*g) < 70 * 16; ++i) {
        g.Frame({Key::Right});
        const bool flagShown = !Last().cells.empty();
        if (movedAt < 0 && RestartPoint() != atStart)
            movedAt = i;
        if (chimedAt < 0 && test::CountSounds(g.platform, Sound::Checkpoint) > 0)
            chimedAt = i;
        EXPECT_EQ(flagShown, movedAt >= 0) << "frame " << i;
    }
    ASSERT_GE(movedAt, 0);
    EXPECT_EQ(chimedAt, movedAt) << "the chime comes with the restart point, not before";
    const Overlay::Cell flag = Last().cells.at(0);
    EXPECT_EQ(flag.col, 59);
    EXPECT_EQ(flag.row, 12);
    EXPECT_EQ(flag.picture, &g->overlays.flags);
    EXPECT_EQ(flag.src, (Rect{0, 0, 16, 16})) << "the flag raised over sky";
    EXPECT_EQ(flag.picture->Pixel(flag.src.left, 0), test::RaisedFlagColour(0));

    // Into the pit: the restart at the checkpoint finds its start again but says nothing,
    // and the flag stays raised.
    const int32_t lives = g->Lives;
    for (int i = 0; i < 300 && g->Lives == lives; ++i)
        g.Frame({Key::Right});
    ASSERT_EQ(g->Lives, lives - 1);
    for (int i = 0; i < 5; ++i)
        g.Frame();
    EXPECT_EQ(test::CountSounds(g.platform, Sound::Checkpoint), 1);
    ASSERT_EQ(Last().cells.size(), 1u);
    EXPECT_EQ(Last().cells[0].col, 59);

    // A new level forgets it.
    g->Nextlevel();
    g.Frame();
    EXPECT_TRUE(Last().cells.empty());
}

// Whatever the overlays show, the game plays and draws as without them.
TEST(OverlaysOff, AGameWithoutThemPlaysAndDrawsTheSameAndChimesNot)
{
    test::Game smooth{kDifficulty, true, true};
    test::Game classic{kDifficulty, true, false};
    for (test::Game* g : {&smooth, &classic}) {
        test::WriteFile(g->data.path() + (*g)->gLevelSet, CheckpointSet());
        (*g)->gLevel = 0;
        (*g)->ContinueGame();
        for (int i = 0; i < 150; ++i)
            g->Frame({Key::Right});
    }
    EXPECT_EQ(test::CountSounds(smooth.platform, Sound::Checkpoint), 1);
    EXPECT_EQ(test::CountSounds(classic.platform, Sound::Checkpoint), 0);
    EXPECT_TRUE(classic.platform.overlays.empty());
    EXPECT_TRUE(classic->ddsBack.LastFrame().overlay.empty());
    ASSERT_EQ(smooth.platform.pictures.size(), classic.platform.pictures.size());
    for (size_t i = 0; i < smooth.platform.pictures.size(); ++i)
        ASSERT_TRUE(std::equal(smooth.platform.pictures[i].pixels(),
                               smooth.platform.pictures[i].pixels() + 320 * 240, classic.platform.pictures[i].pixels()))
            << "picture " << i;
    EXPECT_EQ(smooth->sprPlayer.X, classic->sprPlayer.X);
    EXPECT_EQ(smooth->ViewX, classic->ViewX);
}

namespace {

Surface Filled(int w, int h, uint32_t pixel)
{
    Surface s;
    s.Create(w, h);
    s.BltColorFill(pixel);
    return s;
}

// A frame whose tile map was drawn at view `view`, with the given overlay.
DrawList FrameAt(int32_t view, const Surface& tiles, Overlay overlay)
{
    DrawList f;
    TileView v;
    v.first = view / 16;
    v.shift = view % 16;
    f.tileViews.push_back(v);
    f.commands.push_back(Draw::Tiles{0, &tiles, 1});
    f.overlay = std::move(overlay);
    return f;
}

int CountPixels(const Surface& s, uint32_t pixel, int top = 0, int bottom = 240)
{
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < s.Width(); ++x)
            n += s.Pixel(x, y) == pixel;
    return n;
}

} // namespace

TEST(OverlayPainter, CellsGoWhereTheFramesTileMapPutsThemCutAtTheEdges)
{
    const Surface tiles = Filled(16, 16, 0x111111);
    Surface flags = Filled(32, 16, 0x00AA00);
    for (int y = 0; y < 16; ++y)
        for (int x = 16; x < 32; ++x)
            flags.SetPixel(x, y, 0x0000BB);
    Overlay o;
    // The view at column 10 plus 5 pixels: column 12 starts at x 11, column 11 at x -5.
    o.cells = {{12, 3, &flags, Rect{16, 0, 32, 16}}, {11, 5, &flags, Rect{0, 0, 16, 16}},
               {10, 6, &flags, Rect{0, 0, 16, 16}}, {31, 7, &flags, Rect{0, 0, 16, 16}}};
    const DrawList frame = FrameAt(10 * 16 + 5, tiles, o);
    Surface picture = Filled(320, 240, 0x777777);
    PaintOverlay(frame, picture);
    EXPECT_EQ(picture.Pixel(11, 48), 0x0000BBu);
    EXPECT_EQ(picture.Pixel(26, 63), 0x0000BBu);
    EXPECT_EQ(picture.Pixel(10, 48), 0x777777u);
    EXPECT_EQ(picture.Pixel(27, 48), 0x777777u);
    EXPECT_EQ(CountPixels(picture, 0x0000BB), 256);
    // Cut at the left edge; wholly left of it, or past the right edge, not at all.
    EXPECT_EQ(CountPixels(picture, 0x00AA00, 80, 96), 11 * 16);
    EXPECT_EQ(CountPixels(picture, 0x00AA00, 96, 128), 16 * 5) << "column 31 starts at x 315";

    // Without a tile map (the dying hero's trail) no cell has a place.
    DrawList trail = frame;
    trail.commands.clear();
    Surface untouched = Filled(320, 240, 0x777777);
    PaintOverlay(trail, untouched);
    EXPECT_EQ(CountPixels(untouched, 0x777777), 320 * 240);
}

TEST(OverlayPainter, TheCardIsADarkBandWithLightTextThatFades)
{
    const Surface tiles = Filled(16, 16, 0x111111);
    Overlay o;
    o.card = "2 \u00B7 Turtle Creek";
    o.cardOpacity = 255;
    Surface whole = Filled(320, 240, 0xF0F0F0);
    PaintOverlay(FrameAt(0, tiles, o), whole);
    EXPECT_EQ(whole.Pixel(0, CardTop), CardEdgePixel);
    EXPECT_EQ(whole.Pixel(0, CardTop + 1), CardBandPixel);
    EXPECT_EQ(whole.Pixel(0, CardTop - 1), 0xF0F0F0u);
    const int band = 320 * 240 - CountPixels(whole, 0xF0F0F0);
    EXPECT_GT(band, 320 * 14);
    EXPECT_LT(band, 320 * 40);
    const int text = CountPixels(whole, CardTextPixel);
    EXPECT_GT(text, 100) << "the title is written";
    // Light text on the dark band, whatever lies under it.
    EXPECT_GT(Luminance(0xFF, 0xF4, 0xD0) / Luminance(0x14, 0x12, 0x2A), 7.0);

    o.cardOpacity = 128;
    Surface half = Filled(320, 240, 0xF0F0F0);
    PaintOverlay(FrameAt(0, tiles, o), half);
    const uint32_t mixed = half.Pixel(0, CardTop + 1);
    EXPECT_GT(mixed & 0xFF, CardBandPixel & 0xFF);
    EXPECT_LT(mixed & 0xFF, 0xF0u);
    EXPECT_EQ(CountPixels(half, CardTextPixel), 0) << "the text fades with its band";
}

TEST(OverlayPainter, SmoothPicturesCarryTheOverlayAndTheComposedPictureNever)
{
    const Surface tiles = Filled(16, 16, 0x111111);
    Overlay o;
    o.card = "1 \u00B7 Green Meadow";
    o.cardOpacity = 255;
    DrawList first = FrameAt(0, tiles, {});
    first.number = 1;
    first.periodMs = 40;
    DrawList second = FrameAt(4, tiles, o);
    second.number = 2;
    second.periodMs = 40;
    const Surface composed = Filled(320, 240, 0x111111);
    InBetweens between;
    between.FrameShown(first, 1000);
    between.FrameShown(second, 1040);
    double fraction = 0;
    for (uint32_t now : {1050u, 1050u, 1090u}) {
        const Surface& shown = between.PictureAt(now, composed, fraction);
        EXPECT_GT(CountPixels(shown, CardBandPixel), 0) << "at " << now;
    }
    EXPECT_EQ(fraction, 1.0);
    EXPECT_EQ(CountPixels(composed, 0x111111), 320 * 240);
}
