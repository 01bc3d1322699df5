// Pictures between two game frames: what moves, what does not, and the pace they go up at.
#include "TestData.h"
#include "media/Canvas.h"
#include "media/FrameLog.h"
#include "media/Pacing.h"
#include "media/Rasteriser.h"
#include "media/SmoothMotion.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <future>

using namespace zorbo;

namespace {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

Surface Filled(int w, int h, uint32_t pixel)
{
    Surface s;
    s.Create(w, h);
    s.BltColorFill(pixel);
    return s;
}

// Sixteen tile pictures, code n filled with 0x10000 * (n + 1); a sprite strip of one
// 16 x 16 frame in `spriteColour`.
struct Pictures {
    std::array<Surface, 16> tiles;
    Surface strip = Filled(16, 16, 0x00FF00);
    Pictures()
    {
        for (size_t n = 0; n < tiles.size(); ++n)
            tiles[n] = Filled(16, 16, 0x10000u * static_cast<uint32_t>(n + 1));
    }
};

// A frame's draws through a canvas, as the game makes them: the tile map at `view` (each
// column's code is its map column modulo 16), then sprites at their places.
struct FrameMaker {
    Pictures& pictures;
    Canvas canvas;
    explicit FrameMaker(Pictures& p) : pictures(p) { canvas.Create(320, 240); }

    DrawList Frame(int32_t view, std::initializer_list<std::pair<const void*, Point>> sprites, bool keep = false)
    {
        if (keep)
            canvas.KeepPicture();
        if (view >= 0) {
            TileView v;
            v.first = view / 16;
            v.shift = view % 16;
            for (auto& row : v.codes)
                for (size_t i = 0; i < row.size(); ++i)
                    row[i] = static_cast<int16_t>((v.first + static_cast<int32_t>(i)) % 16);
            canvas.DrawTiles(v, pictures.tiles.data(), static_cast<int32_t>(pictures.tiles.size()));
        }
        for (const auto& [owner, at] : sprites)
            canvas.DrawSprite(owner, pictures.strip, Rect{0, 0, 16, 16}, at.x, at.y);
        canvas.DrawText(20, 2, "Lives: 05");
        canvas.EndFrame();
        return canvas.LastFrame();
    }
};

std::vector<Point> SpritePlaces(const DrawList& f)
{
    std::vector<Point> places;
    for (const DrawCommand& c : f.commands)
        if (const auto* s = std::get_if<Draw::Sprite>(&c))
            places.push_back({s->x, s->y});
    return places;
}

int32_t ViewOf(const DrawList& f)
{
    return f.tileViews.at(0).View();
}

int hero, enemy, newcomer; // their addresses name three sprites

} // namespace

TEST(Blend, SpritesAndTheViewMoveTheFractionOfTheWayRoundedToPixels)
{
    Pictures p;
    FrameMaker m(p);
    const DrawList before = m.Frame(100, {{&hero, {150, 100}}, {&enemy, {200, 200}}});
    const DrawList after = m.Frame(107, {{&hero, {153, 90}}, {&enemy, {199, 200}}, {&newcomer, {290, 50}}});
    ASSERT_TRUE(Blendable(before, after));

    const DrawList half = Blend(before, after, 0.5);
    EXPECT_EQ(ViewOf(half), 104) << "a half pixel is rounded on";
    EXPECT_EQ(SpritePlaces(half), (std::vector<Point>{{152, 95}, {199, 200}, {290, 50}}))
        << "the newcomer is drawn where it appeared";
    const DrawList start = Blend(before, after, 0.0);
    EXPECT_EQ(ViewOf(start), 100);
    EXPECT_EQ(SpritePlaces(start), (std::vector<Point>{{150, 100}, {200, 200}, {290, 50}}));
    const DrawList end = Blend(before, after, 1.0);
    EXPECT_EQ(ViewOf(end), 107);
    EXPECT_EQ(SpritePlaces(end), SpritePlaces(after));
    EXPECT_EQ(end.commands.size(), after.commands.size()) << "texts and every other draw are kept";
}

TEST(Blend, WhatJumpsOrIsDrawnTwiceIsShownWhereTheLatestFrameHasIt)
{
    Pictures p;
    FrameMaker m(p);
    // A warp: the view and the hero jump; the enemy's slot is used again far away.
    const DrawList before = m.Frame(100, {{&hero, {150, 100}}, {&enemy, {10, 200}}});
    const DrawList after = m.Frame(100 + MaxBlendStep + 1, {{&hero, {150, 100 + MaxBlendStep + 1}}, {&enemy, {250, 200}}});
    const DrawList half = Blend(before, after, 0.5);
    EXPECT_EQ(ViewOf(half), ViewOf(after));
    EXPECT_EQ(SpritePlaces(half), SpritePlaces(after));

    // A sprite drawn twice in a frame (the winning parade's slots) is not followed.
    const DrawList twiceBefore = m.Frame(0, {{&hero, {10, 10}}, {&hero, {40, 10}}});
    const DrawList twiceAfter = m.Frame(0, {{&hero, {12, 10}}, {&hero, {42, 10}}});
    EXPECT_EQ(SpritePlaces(Blend(twiceBefore, twiceAfter, 0.5)), SpritePlaces(twiceAfter));
}

TEST(Blend, FramesDrawnOverTheLastPictureOrWithoutTheMapAreNotBlended)
{
    Pictures p;
    FrameMaker m(p);
    const DrawList played = m.Frame(100, {{&hero, {150, 100}}});
    const DrawList trail = m.Frame(-1, {{&hero, {150, 90}}}, true);
    const DrawList restart = m.Frame(100, {{&hero, {150, 80}}}, true);
    const DrawList again = m.Frame(100, {{&hero, {150, 70}}});
    EXPECT_FALSE(Blendable(played, trail)) << "the dying hero's trail";
    EXPECT_FALSE(Blendable(trail, restart));
    EXPECT_FALSE(Blendable(played, restart)) << "a frame that draws over the last picture";
    EXPECT_FALSE(Blendable(trail, again)) << "nothing to come from";
    EXPECT_TRUE(Blendable(restart, again));
    EXPECT_EQ(SpritePlaces(Blend(played, trail, 0.5)), SpritePlaces(trail));
}

// Scrolling left (an elevator going down the level) shows a column only the frame before
// drew; nothing is drawn that neither frame drew.
TEST(Blend, AViewBetweenTwoTakesEachColumnFromAFrameThatDrewIt)
{
    Pictures p;
    FrameMaker m(p);
    const DrawList before = m.Frame(130, {});
    const DrawList after = m.Frame(118, {});
    const TileView v = Blend(before, after, 0.5).tileViews.at(0);
    EXPECT_EQ(v.View(), 124);
    for (size_t i = 0; i < TileView::Columns; ++i)
        EXPECT_EQ(v.codes[3][i], (v.first + static_cast<int32_t>(i)) % 16) << "column " << i;

    Surface picture = Filled(320, 240, 0);
    Paint(Blend(before, after, 0.5), picture);
    // Screen x = map x - view - 16: map column 10 (x 160) is at 160 - 124 - 16 = 20.
    EXPECT_EQ(picture.Pixel(20, 100), 0x10000u * 11);
    EXPECT_EQ(picture.Pixel(19, 100), 0x10000u * 10);
}

// At the end of its way a picture between frames is the latest frame's own picture, and a
// picture in which nothing has moved a whole pixel is not made again.
TEST(InBetweens, ThePictureBetweenEndsAsTheComposedOneAndRepeatsAreSaid)
{
    Pictures p;
    FrameMaker m(p);
    m.canvas.SetFramePeriod(40);
    InBetweens between;
    between.FrameShown(m.Frame(100, {{&hero, {150, 100}}}), 1000);
    const DrawList latest = m.Frame(104, {{&hero, {154, 100}}});
    between.FrameShown(latest, 1040);
    const Surface composed = m.canvas.Composed();

    double fraction = -1;
    const Surface& atStart = between.PictureAt(1040, composed, fraction);
    EXPECT_DOUBLE_EQ(fraction, 0.0);
    EXPECT_EQ(atStart.Pixel(150, 100), 0x00FF00u) << "the hero where the frame before had him";
    EXPECT_NE(atStart.Pixel(150 + 17, 100), 0x00FF00u);
    between.PictureAt(1040, composed, fraction);
    EXPECT_TRUE(between.SameAsBefore());
    const Surface& half = between.PictureAt(1060, composed, fraction);
    EXPECT_DOUBLE_EQ(fraction, 0.5);
    EXPECT_FALSE(between.SameAsBefore());
    EXPECT_EQ(half.Pixel(152, 100), 0x00FF00u);
    EXPECT_NE(half.Pixel(151, 100), 0x00FF00u);

    const Surface& end = between.PictureAt(1080, composed, fraction);
    EXPECT_DOUBLE_EQ(fraction, 1.0);
    EXPECT_EQ(&end, &composed);
}

// Over a whole game the blend's end paints, over the picture before, exactly the game's
// own next picture: nothing the game drew is lost or moved when its frame is reached.
TEST(InBetweens, OverAPlayedGameTheBlendsEndIsTheGamesOwnPicture)
{
    HeadlessPlatform machine;
    machine.keepPictures = false;
    machine.paintPictures = true;
    Settings settings;
    settings.DataPath = std::string(ZORBO_TEST_DATA_DIR) + "/";
    settings.gSoundOn = false;
    GameWindow game(machine, settings);
    game.Startup();
    DrawList previous;
    Surface before;
    int blended = 0;
    for (int i = 0; i < 300 && game.bRunning; ++i) {
        machine.QueueKeys(i % 40 < 30 ? std::vector<int32_t>{Key::Right} : std::vector<int32_t>{Key::Right, Key::Space});
        game.Keyboard.Check_Keyboard();
        game.Game_Update(0);
        const DrawList& latest = game.ddsBack.LastFrame();
        if (Blendable(previous, latest)) {
            Surface painted;
            painted.Assign(before);
            Paint(Blend(previous, latest, 1.0), painted);
            const Surface& own = game.ddsBack.Composed();
            const size_t n = static_cast<size_t>(own.Width()) * own.Height();
            const auto differ = std::mismatch(own.pixels(), own.pixels() + n, painted.pixels());
            ASSERT_EQ(differ.first, own.pixels() + n) << "frame " << i << ", pixel " << differ.first - own.pixels();
            ++blended;
        }
        previous = latest;
        before.Assign(game.ddsBack.Composed());
    }
    EXPECT_GT(blended, 250);
    EXPECT_GT(game.ViewX, 200) << "the view scrolled";
}

TEST(Canvas, NobodyLookingRecordsAndPaintsNothingButFramesAreCounted)
{
    Pictures p;
    Canvas quiet;
    ASSERT_TRUE(quiet.Create(320, 240, false));
    quiet.DrawSprite(&hero, p.strip, Rect{0, 0, 16, 16}, 10, 10);
    quiet.EndFrame();
    quiet.EndFrame();
    EXPECT_TRUE(quiet.LastFrame().commands.empty());
    EXPECT_EQ(quiet.LastFrame().number, 2u);
    EXPECT_FALSE(quiet.Composed().valid()) << "no picture is even kept";

    Canvas looked;
    ASSERT_TRUE(looked.Create(320, 240));
    looked.BltColorFill(0x123456);
    looked.DrawSprite(&hero, p.strip, Rect{0, 0, 16, 16}, 10, 10);
    EXPECT_EQ(looked.Pixel(10, 10), 0x00FF00u) << "a look in the middle of a frame paints what is drawn so far";
    looked.DrawSprite(&hero, p.strip, Rect{0, 0, 16, 16}, 100, 10);
    looked.EndFrame();
    EXPECT_EQ(looked.Composed().Pixel(100, 10), 0x00FF00u);
    EXPECT_EQ(looked.Composed().Pixel(0, 0), 0x123456u);
    EXPECT_EQ(looked.LastFrame().commands.size(), 3u) << "the whole frame's draws, painted once each";
    EXPECT_FALSE(looked.Create(0, 240));
    EXPECT_FALSE(looked.Create(320, Surface::MaxSide + 1));
}

TEST(PicturePacer, PicturesKeepTheirGridAndNeverCrowdAFrame)
{
    PicturePacer pacer(20.0);
    ASSERT_TRUE(pacer.ShowNow(0.0));
    pacer.Shown(0.0, 1.0);
    EXPECT_DOUBLE_EQ(pacer.Due(), 20.0) << "a picture that did not wait: one refresh after the last began";
    EXPECT_FALSE(pacer.ShowNow(17.0));
    EXPECT_TRUE(pacer.ShowNow(19.5)) << "a wait may end late, so the picture may go up a little early";
    EXPECT_FALSE(pacer.ShowNow(20.0, 22.0)) << "the frame due in 2 ms comes first";
    EXPECT_TRUE(pacer.ShowNow(20.0, 40.0));
    // Held back until after the frame, it goes up late; the next keeps its time.
    pacer.Shown(23.0, 24.0);
    EXPECT_DOUBLE_EQ(pacer.Due(), 40.0);
    // A display that waits for its refresh ends the picture at the refresh: the next one
    // starts just early enough for the next refresh.
    pacer.Shown(40.0, 55.0);
    EXPECT_LT(pacer.Due(), 75.0);
    EXPECT_GT(pacer.Due(), 70.0);
    // After a long stall the grid starts again instead of catching up in a burst.
    pacer.Shown(500.0, 501.0);
    EXPECT_GT(pacer.Due(), 501.0);
}

TEST(FrameLog, ALineForEachPictureAndAFileThatCannotBeWrittenIsRefusedAtOnce)
{
    test::TempDir dir;
    FrameLog log;
    std::string error;
    ASSERT_TRUE(log.Open(dir.path() + "frames.txt", error)) << error;
    log.Picture(1234, 7, 0.5);
    log.Picture(1251, 8, 1.0);
    ASSERT_TRUE(log.Close(error)) << error;
    EXPECT_EQ(test::FileBytes(dir.path() + "frames.txt"), "1234 7 0.500\n1251 8 1.000\n");

    FrameLog bad;
    EXPECT_FALSE(bad.Open(dir.path() + "no/such/folder/frames.txt", error));
    EXPECT_NE(error.find("no/such/folder/frames.txt"), std::string::npos) << error;
    EXPECT_FALSE(bad.Open(dir.path(), error)) << "a folder";
    // A pipe nobody reads would hold the game for ever; it is refused without waiting.
    const std::string fifo = dir.path() + "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto opened = std::async(std::launch::async, [&] {
        std::string e;
        FrameLog f;
        return f.Open(fifo, e) ? std::string() : e;
    });
    ASSERT_EQ(opened.wait_for(std::chrono::seconds(30)), std::future_status::ready);
    EXPECT_NE(opened.get().find("a pipe nobody reads"), std::string::npos);
}
