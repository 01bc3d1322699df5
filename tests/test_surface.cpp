#include "TestData.h"
#include "media/Display.h"
#include "media/Font.h"
#include "media/Canvas.h"
#include "media/Surface.h"

#include <gtest/gtest.h>

using namespace zorbo;

namespace {

Surface Filled(int w, int h, uint32_t p)
{
    Surface s;
    s.Create(w, h);
    s.BltColorFill(p);
    return s;
}

int Count(const Surface& s, uint32_t p)
{
    int n = 0;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            n += s.Pixel(x, y) == p ? 1 : 0;
    return n;
}

} // namespace

TEST(Surface, BlitIsRefusedWhenARectangleLeavesItsSurface)
{
    Surface dst = Filled(32, 32, 0x111111);
    const Surface src = Filled(16, 16, 0x222222);
    dst.Blt(Rect{20, 0, 36, 16}, src, src.SurfaceRect());    // past the right edge
    dst.Blt(Rect{-1, 0, 15, 16}, src, src.SurfaceRect());    // past the left edge
    dst.Blt(Rect{0, 17, 16, 33}, src, src.SurfaceRect());    // past the bottom
    dst.Blt(Rect{0, 0, 16, 16}, src, Rect{1, 0, 17, 16});    // source past its edge
    dst.BltTrans(Rect{0, -4, 16, 12}, src, src.SurfaceRect());
    EXPECT_EQ(Count(dst, 0x111111), 32 * 32);
    dst.Blt(Rect{16, 16, 32, 32}, src, src.SurfaceRect());   // touching the edges is fine
    EXPECT_EQ(Count(dst, 0x222222), 256);
}

TEST(Surface, ColourKeySkipsBlackOnlyInTheKeyedBlit)
{
    Surface src;
    src.Create(4, 1);
    src.SetPixel(0, 0, 0);
    src.SetPixel(1, 0, 0x010101);   // nearly black is not transparent
    src.SetPixel(2, 0, 0);
    src.SetPixel(3, 0, 0xFFFFFF);
    Surface keyed = Filled(4, 1, 0x00AA00);
    keyed.BltTrans(Rect{0, 0, 4, 1}, src, src.SurfaceRect());
    EXPECT_EQ(keyed.Pixel(0, 0), 0x00AA00u);
    EXPECT_EQ(keyed.Pixel(1, 0), 0x010101u);
    EXPECT_EQ(keyed.Pixel(2, 0), 0x00AA00u);
    EXPECT_EQ(keyed.Pixel(3, 0), 0xFFFFFFu);
    Surface plain = Filled(4, 1, 0x00AA00);
    plain.Blt(Rect{0, 0, 4, 1}, src, src.SurfaceRect());
    EXPECT_EQ(plain.Pixel(0, 0), 0u);
    EXPECT_EQ(plain.Pixel(2, 0), 0u);
}

TEST(Surface, ScaledBlitsDoubleAndHalveByNearestNeighbour)
{
    Surface src;
    src.Create(2, 2);
    src.SetPixel(0, 0, 1);
    src.SetPixel(1, 0, 2);
    src.SetPixel(0, 1, 3);
    src.SetPixel(1, 1, 4);
    Surface big = Filled(4, 4, 9);
    big.Blt(Rect{0, 0, 4, 4}, src, src.SurfaceRect());
    const uint32_t expect[4][4] = {{1, 1, 2, 2}, {1, 1, 2, 2}, {3, 3, 4, 4}, {3, 3, 4, 4}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(big.Pixel(x, y), expect[y][x]) << x << "," << y;
    Surface small = Filled(1, 1, 9);
    small.Blt(Rect{0, 0, 1, 1}, big, big.SurfaceRect());
    EXPECT_EQ(small.Pixel(0, 0), 1u);
}

TEST(Surface, LoadKeepsTheBitmapSizeUnlessCreatedFirst)
{
    test::TempDir dir;
    const std::string file = dir.path() + "quad.bmp";
    test::WriteBmp(file, 32, 32, [](int x, int y) { return x < 16 ? (y < 16 ? 0x10u : 0x20u) : 0x30u; });
    HeadlessPlatform platform;
    Display dd(platform);
    Surface fresh;
    ASSERT_TRUE(fresh.Load(dd, file));
    EXPECT_EQ(fresh.SurfaceRect(), (Rect{0, 0, 32, 32}));
    Surface tile;
    tile.Create(dd, 16, 16);
    ASSERT_TRUE(tile.Load(dd, file));
    EXPECT_EQ(tile.SurfaceRect(), (Rect{0, 0, 16, 16}));
    EXPECT_EQ(tile.Pixel(0, 0), 0x10u);
    EXPECT_EQ(tile.Pixel(0, 15), 0x20u);
    EXPECT_EQ(tile.Pixel(15, 0), 0x30u);
}

TEST(Surface, AMissingBitmapFailsAndDrawsNothing)
{
    HeadlessPlatform platform;
    Display dd(platform);
    Surface s;
    s.Create(dd, 16, 16);
    test::Warnings warnings;
    EXPECT_FALSE(s.Load(dd, "/nonexistent/zorbo/m007.bmp"));
    EXPECT_FALSE(s.Load(dd, "/nonexistent/zorbo/m007.bmp"));
    // One warning naming the file, however often it is asked for.
    EXPECT_EQ(warnings.Count("/nonexistent/zorbo/m007.bmp"), 1);
    EXPECT_EQ(warnings.lines().size(), 1u);
    Surface dst = Filled(16, 16, 0x777777);
    dst.Blt(dst.SurfaceRect(), s, Rect{0, 0, 16, 16});
    EXPECT_EQ(Count(dst, 0x777777), 256);
}

TEST(Surface, TextIsDrawnCrispInTheFontColour)
{
    Canvas s;
    s.Create(120, 20);
    s.SetFont("Tahoma", 8, true, false, false, RGB(200, 100, 50));
    s.DrawText(2, 2, "Lives: 05");
    const int ink = Count(s.Picture(), 0xC86432);
    EXPECT_GT(ink, 20);
    // Solid rendering: every pixel is either background or the exact text colour.
    EXPECT_EQ(ink + Count(s.Picture(), 0), 120 * 20);
    // Text drawn partly outside the surface is clipped, not refused or overrun.
    Canvas edge;
    edge.Create(10, 5);
    edge.SetFont("Tahoma", 8, true, false, false, RGB(255, 255, 255));
    edge.DrawText(-3, -3, "WWWW");
    EXPECT_GT(Count(edge.Picture(), 0xFFFFFF), 0);
}

// A lookup started ahead answers for its own family and style only, and as a lookup made
// on the spot would.
TEST(Font, ALookupStartedAheadGivesTheSameFile)
{
    const std::string bold = MatchFontFile("DejaVu Sans Mono", true, false);
    const std::string plain = MatchFontFile("DejaVu Sans Mono", false, false);
    ASSERT_FALSE(bold.empty()) << "the tests need the DejaVu fonts";
    ASSERT_NE(bold, plain);
    MatchFontFileAhead("DejaVu Sans Mono", true, false);
    MatchFontFileAhead("DejaVu Sans Mono", true, false); // a second start reuses the first
    EXPECT_EQ(MatchFontFile("DejaVu Sans Mono", true, false), bold);
    EXPECT_EQ(MatchFontFile("DejaVu Sans Mono", false, false), plain);
}
