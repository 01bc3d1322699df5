// Elevators and warp pipes.
#include "HeroWorld.h"
#include "LevelText.h"
#include "world/Objects.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zorbo;
using test::HeroWorldX;
using test::PlaceHero;

namespace {
struct Rides : testing::Test {
    test::Game g;
    Sprite& hero() { return g->sprPlayer; }
    // An elevator as the map activation leaves it once both ends were seen.
    Sprite& Elevator(size_t i, int32_t state, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY)
    {
        Sprite& e = g->sprElevators[i];
        e.State = state;
        e.X = fromX;
        e.Y = fromY;
        e.GlobalX = g->ViewX;
        g->ElevatorPaths[i] = ElevatorPath{fromX, fromY, toX, toY, g->ViewX, 1};
        return e;
    }
    void Start(const test::LevelSet& set)
    {
        test::WriteFile(g.data.path() + g->gLevelSet, set.Text());
        g->gLevel = 0;
        g->ContinueGame();
    }
};
} // namespace

TEST_F(Rides, AVerticalElevatorTurnsOncePastEitherEnd)
{
    Sprite& e = Elevator(0, 3, 100, 80, 100, 160);
    std::vector<int> ys;
    for (int i = 0; i < 60; ++i) {
        g->UpdateElevator();
        ys.push_back(e.Y);
    }
    EXPECT_EQ(ys[0], 83);
    EXPECT_EQ(*std::max_element(ys.begin(), ys.end()), 161);
    EXPECT_EQ(ys[26], 161);
    EXPECT_EQ(ys[27], 158);
    EXPECT_EQ(ys[53], 80);
    EXPECT_EQ(ys[54], 83);
}

TEST_F(Rides, AHorizontalElevatorTurnsOnItsPositionBeforeTheScroll)
{
    auto run = [&](int scroll) {
        g->ViewX = 0;
        Sprite& e = Elevator(0, 2, 100, 120, 180, 120); // five columns apart
        std::vector<int> worldX;
        for (int i = 0; i < 60; ++i) {
            g->ViewX += scroll;
            g->UpdateElevator();
            worldX.push_back(e.X + g->ViewX);
        }
        return worldX;
    };
    const std::vector<int> still = run(0);
    EXPECT_EQ(*std::max_element(still.begin(), still.end()), 181);
    EXPECT_EQ(*std::min_element(still.begin(), still.end()), 100);
    EXPECT_EQ(still[26], 181);
    EXPECT_EQ(still[27], 178);
    // The turn is decided before the scroll correction, so while the view scrolls the
    // turning points move by the scroll of a frame.
    const std::vector<int> scrolled = run(2);
    EXPECT_EQ(*std::max_element(scrolled.begin(), scrolled.end()), 178);
    EXPECT_EQ(*std::min_element(scrolled.begin(), scrolled.end()), 97);
}

TEST_F(Rides, AHeroFallingOntoAPlatformIsCarriedAndKeepsHisFacing)
{
    // Left of the scroll point, so the view stays put during the ride.
    Sprite& e = Elevator(0, 2, 20, 120, 100, 120);
    PlaceHero(*g, 30, 103, Hero::AirLeft);
    hero().SpeedX = 0;
    hero().SpeedY = 2;
    g->CollisionDetection();
    EXPECT_EQ(hero().State, Hero::GroundLeft);
    EXPECT_EQ(hero().SpeedY, 0);
    EXPECT_EQ(hero().Y, 104) << "feet on the platform";
    EXPECT_EQ(hero().X, 33) << "carried 3 pixels with it";

    // Standing on it, frame after frame he rides along, turns with it and rides back.
    std::vector<int> gaps;
    for (int i = 0; i < 40; ++i) {
        g.Frame();
        ASSERT_EQ(hero().State, Hero::GroundLeft) << i;
        ASSERT_EQ(hero().Y, 104);
        gaps.push_back(HeroWorldX(*g) - (e.X + g->ViewX));
    }
    EXPECT_EQ(gaps, std::vector<int>(40, 13));
    // He can jump off: on the platform he is in a ground state at the end of every frame.
    g.Frame({Key::Space});
    g.Frame({Key::Space});
    EXPECT_LT(hero().Y, 100);
}

TEST_F(Rides, ThePlatformCatchesFeetInItsTop8Or11Pixels)
{
    // Horizontal: feet 7 pixels in are caught, 8 are not.
    Elevator(0, 2, 100, 120, 180, 120);
    for (int depth : {0, 7, 8}) {
        PlaceHero(*g, 110, 120 - 16 + depth - 3, Hero::AirRight);
        hero().SpeedX = 0;
        hero().SpeedY = 3;
        g->CollisionDetection();
        EXPECT_EQ(hero().State, depth < 8 ? Hero::GroundRight : Hero::AirRight) << depth;
    }
    // Vertical: 10 caught, 11 not; he is put where the top will be after its move.
    g->sprElevators[0].State = Elevator::Free;
    Sprite& v = Elevator(1, 3, 100, 120, 100, 200);
    for (int depth : {0, 10, 11}) {
        PlaceHero(*g, 110, 120 - 16 + depth - 3, Hero::AirRight);
        hero().SpeedX = 0;
        hero().SpeedY = 3;
        g->CollisionDetection();
        EXPECT_EQ(hero().State, depth < 11 ? Hero::GroundRight : Hero::AirRight) << depth;
        if (depth < 11) {
            EXPECT_EQ(hero().Y, 120 - 13) << "going down";
        }
    }
    v.Y = 200; // at its lower end it turns up
    PlaceHero(*g, 110, 200 - 16 - 3, Hero::AirRight);
    hero().SpeedY = 3;
    g->CollisionDetection();
    EXPECT_EQ(hero().Y, 200 - 19) << "going up";
    EXPECT_EQ(hero().X, 110) << "vertical platforms do not carry sideways";
}

namespace {
// A pipe with ends at world x 144 in row 3 and 624 in row 12, floors to stand on beside both.
test::LevelSet PipeSet()
{
    test::LevelSet set;
    test::Level& l = set.levels[0];
    l[3] = test::Row(".........0");
    l[4] = test::Row(".......###");
    l[12] = test::Row("..H" + std::string(36, '.') + "0");
    return set;
}
} // namespace

TEST_F(Rides, APipeSendsTheHeroToItsOtherEndOnce)
{
    Start(PipeSet());
    ASSERT_EQ(g->sprWarp.State, Marker::Placed) << "the first end is in view and marked";
    EXPECT_EQ(g->Warps[0][0].WarpState, WarpEnds::Both);

    // Standing on it without the down arrow does nothing; one pixel too far right neither.
    PlaceHero(*g, 132, 48, Hero::GroundRight);
    g->UpdateWarp();
    EXPECT_EQ(HeroWorldX(*g), 132);
    PlaceHero(*g, 141, 48, Hero::GroundRight);
    g->bDownKey = true;
    g->UpdateWarp();
    EXPECT_EQ(HeroWorldX(*g), 141);

    PlaceHero(*g, 140, 49, Hero::GroundRight);
    g.Frame({Key::Down});
    EXPECT_EQ(HeroWorldX(*g), 616);
    EXPECT_EQ(g->ViewX, 456);
    EXPECT_EQ(hero().X, 160);
    EXPECT_EQ(hero().Y, 192);
    EXPECT_EQ(test::CountSounds(g.platform, 2), 1);
    const WarpRecord used = g->Warps[0][0];
    EXPECT_EQ(used.X1, 0);
    EXPECT_EQ(used.Y1, 48);
    EXPECT_EQ(used.X2, 0);
    EXPECT_EQ(used.Y2, 192);
    EXPECT_EQ(used.WarpState, WarpEnds::None);

    // The far end is marked now; going back through the used pipe does nothing.
    g.Frame();
    ASSERT_EQ(g->sprWarp.State, Marker::Placed);
    EXPECT_EQ(g->sprWarp.X + g->sprWarp.GlobalX, 624);
    g.Frame({Key::Down});
    EXPECT_EQ(HeroWorldX(*g), 616);

    // After losing a life the reload makes the pair usable again.
    hero().State = Hero::Dying;
    hero().Y = 239;
    hero().SpeedY = 5;
    g.Frame();
    EXPECT_EQ(g->Warps[0][0].WarpState, WarpEnds::Both);
    EXPECT_EQ(g->Warps[0][0].X1, 144);
    EXPECT_EQ(g->Warps[0][0].X2, 624);
}

TEST_F(Rides, TheSecondEndLeadsBackToTheFirstEvenLeftOfTheView)
{
    Start(PipeSet());
    // Show the far end.
    PlaceHero(*g, 616, 192, Hero::GroundRight);
    g.Frame();
    ASSERT_EQ(g->sprWarp.X + g->sprWarp.GlobalX, 624);
    g.Frame({Key::Down});
    EXPECT_EQ(hero().Y, 48);
    EXPECT_EQ(g->ViewX, -24) << "the view may go negative";
    EXPECT_EQ(hero().X, 160);
    EXPECT_EQ(HeroWorldX(*g), 136);
    // The next move in the air gives the view's deficit back to the screen.
    hero().State = Hero::AirRight;
    hero().SpeedY = 0;
    g.Frame();
    EXPECT_EQ(g->ViewX, 0);
    EXPECT_EQ(hero().X, 136);
}

TEST_F(Rides, ALoneWarpEndLeadsNowhere)
{
    test::LevelSet set;
    set.levels[0][3] = test::Row(".........1");
    set.levels[0][4] = test::Row(".......###");
    Start(set);
    ASSERT_EQ(g->Warps[0][1].WarpState, WarpEnds::First);
    PlaceHero(*g, 136, 48, Hero::GroundRight);
    g->bDownKey = true;
    g->UpdateWarp();
    EXPECT_EQ(HeroWorldX(*g), 136);
    EXPECT_EQ(hero().Y, 48);
}
