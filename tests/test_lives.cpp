#include "HeroWorld.h"
#include "LevelText.h"
#include "level/LevelFile.h"
#include "level/Rules.h"

#include <gtest/gtest.h>

using namespace zorbo;
using test::CountSounds;
using test::HeroWorldX;
using test::PlaceHero;

namespace {
struct Lives : testing::Test {
    test::Game g;
    Sprite& hero() { return g->sprPlayer; }

    // Writes the level set and starts `level` from its beginning, as a continue does.
    void Start(const test::LevelSet& set, int32_t level = 0)
    {
        test::WriteFile(g.data.path() + g->gLevelSet, set.Text());
        g->gLevel = level;
        g->ContinueGame();
        g.platform.sounds.clear();
    }
    // Frames until the hero has landed (or 60 frames).
    void Settle()
    {
        for (int i = 0; i < 60 && (hero().State == Hero::AirRight || hero().State == Hero::AirLeft); ++i)
            g.Frame();
    }
    bool HasYellow(const Surface& pic)
    {
        for (int y = 70; y < 160; ++y)
            for (int x = 16; x < 304; ++x)
                if (pic.Pixel(x, y) == PixelFromColor(RGB(255, 255, 83)))
                    return true;
        return false;
    }
};

// A level with a pit at columns 10 to 14 and a brick at (row 9, column 6).
test::LevelSet PitSet()
{
    test::LevelSet set;
    test::Level& l = set.levels[0];
    l[9] = test::Row(".....B");
    l[13] = test::Row("#########.....##############################");
    l[14] = test::Row("#########.....##############################");
    return set;
}

struct Blink : testing::TestWithParam<int32_t> {};
} // namespace

TEST_F(Lives, APoweredUpHeroShrinksAbove224AndDiesBelow)
{
    test::Floor(*g, 14);
    g->HeroBig = true;
    PlaceHero(*g, 100, 223, Hero::Hit);
    g.Frame();
    EXPECT_FALSE(g->HeroBig);
    EXPECT_EQ(hero().State, Hero::GroundRight);
    EXPECT_EQ(g->HurtTimer, 1);
    EXPECT_EQ(CountSounds(g.platform, 10), 1);

    g->HeroBig = true;
    g->HurtTimer = 0;
    PlaceHero(*g, 100, 224, Hero::Hit);
    g.Frame();
    EXPECT_TRUE(g->HeroBig) << "kept until the restart";
    EXPECT_EQ(hero().State, Hero::Dying);
    EXPECT_EQ(hero().SpeedY, -12);
}

TEST_P(Blink, TheBlinkAfterShrinkingLastsTwoSeconds)
{
    test::Game game(GetParam());
    test::Floor(*game, 10);
    game->HeroBig = true;
    PlaceHero(*game, 100, 144, Hero::Hit);
    game.Frame();
    ASSERT_EQ(game->HurtTimer, 1);
    int blinking = 1; // frames that end with the count running
    for (int i = 0; i < 500 && game->HurtTimer != 0; ++i) {
        game.Frame();
        blinking += game->HurtTimer != 0 ? 1 : 0;
    }
    EXPECT_EQ(blinking, 2 * GetParam() - 1);

    // A hit while blinking waits in the Hit state until the count has run out.
    game->HurtTimer = 2 * GetParam() - 2;
    game->sprPlayer.State = Hero::Hit;
    game.Frame();
    EXPECT_EQ(game->sprPlayer.State, Hero::Hit);
    game.Frame();
    EXPECT_EQ(game->HurtTimer, 0);
    EXPECT_EQ(game->sprPlayer.State, Hero::Dying);
}
INSTANTIATE_TEST_SUITE_P(Difficulties, Blink, testing::Values(Difficulty::Easy, Difficulty::Normal));

TEST_F(Lives, APitKillsEvenAPoweredUpHeroAndTheLevelComesBack)
{
    Start(PitSet());
    Settle();
    ASSERT_EQ(hero().Y, 192);
    // A big hero breaks the brick, then walks into the pit.
    g->SetMapCode(9, 6, 0);
    g->HeroBig = true;
    const int lives = g->Lives;
    int presentsAtDeath = -1;
    for (int i = 0; i < 200 && hero().State != Hero::Dying; ++i) {
        g.Frame({Key::Right});
        presentsAtDeath = g.platform.presents;
    }
    ASSERT_EQ(hero().State, Hero::Dying);
    // The death effect plays once, waiting, after the picture of that frame was shown.
    ASSERT_EQ(CountSounds(g.platform, 12), 1);
    for (const auto& e : g.platform.sounds)
        if (e.number == 12) {
            EXPECT_TRUE(e.sync);
            EXPECT_EQ(e.afterFrame, presentsAtDeath);
        }
    EXPECT_EQ(CountSounds(g.platform, 10), 0) << "no shrink in a pit";

    // The animation: up 66 pixels in 11 frames, one still frame, then down.
    const int y0 = hero().Y;
    std::vector<int> ys;
    for (int i = 0; i < 13; ++i) {
        g.Frame({Key::Right}); // keys do not move a dying hero
        ys.push_back(hero().Y);
        EXPECT_EQ(hero().CurrentFrame, 1);
    }
    EXPECT_EQ(ys[10], y0 - 66);
    EXPECT_EQ(ys[11], y0 - 66);
    EXPECT_EQ(ys[12], y0 - 65);
    for (int i = 0; i < 100 && hero().State == Hero::Dying; ++i)
        g.Frame();
    EXPECT_EQ(hero().State, Hero::AirRight) << "restarts falling";
    EXPECT_EQ(hero().X, 32);
    EXPECT_EQ(hero().Y, 192);
    EXPECT_EQ(hero().SpeedX, 0);
    EXPECT_EQ(g->ViewX, 0);
    EXPECT_FALSE(g->HeroBig);
    EXPECT_EQ(g->Lives, lives - 1);
    EXPECT_EQ(g->MapCode(9, 6), 28) << "the reload put the brick back";
}

TEST_F(Lives, TheLastLifeShowsTheBlinkingPromptAndYesContinues)
{
    test::LevelSet set = PitSet();
    set.levels[2] = set.levels[0];
    Start(set, 2);
    Settle();
    g->Lives = 1;
    g->Coins = 42;
    for (int i = 0; i < 300 && !g->gGameOver; ++i)
        g.Frame({Key::Right});
    ASSERT_TRUE(g->gGameOver);
    EXPECT_EQ(g->Lives, 0);
    // The world stands still while the prompt blinks: six yellow frames, six black.
    const int x = hero().X, y = hero().Y, view = g->ViewX;
    std::vector<bool> yellow;
    for (int i = 0; i < 13; ++i) {
        g.Frame({Key::Right, Key::Space});
        yellow.push_back(HasYellow(g.platform.pictures.back()));
    }
    EXPECT_EQ(yellow, (std::vector<bool>{true, true, true, true, true, true, false, false, false,
                                          false, false, false, true}));
    EXPECT_EQ(hero().X, x);
    EXPECT_EQ(hero().Y, y);
    EXPECT_EQ(g->ViewX, view);

    g.platform.sounds.clear();
    g.Frame({Key::Y});
    EXPECT_FALSE(g->gGameOver);
    EXPECT_EQ(g->gLevel, 2) << "the same level again";
    EXPECT_EQ(g->Lives, 5);
    EXPECT_EQ(g->Coins, 0);
    ASSERT_GE(g.platform.sounds.size(), 2u);
    EXPECT_EQ(g.platform.sounds[0].number, 7);
    EXPECT_TRUE(g.platform.sounds[0].sync);
    EXPECT_EQ(g.platform.sounds[1].number, 8);
    Settle();
    EXPECT_EQ(HeroWorldX(*g), 32) << "from the level's beginning";
    EXPECT_TRUE(g->bRunning);
}

TEST_F(Lives, NoAtThePromptEndsTheGame)
{
    g->gGameOver = true;
    g.Frame({Key::Down});
    EXPECT_TRUE(g->bRunning);
    g.Frame({Key::N});
    EXPECT_FALSE(g->bRunning);
}

TEST_F(Lives, TheLevelEndsBesideTheEndTileAndFromAboveButNeverRising)
{
    test::LevelSet set;
    set.levels[0][12] = test::Row("..H.....E");   // the end tile at column 9, in the hero's row
    std::string floor(60, '#');
    floor[19] = 'E';                               // and one at column 20 in the floor
    set.levels[0][13] = test::Row(floor);
    Start(set);
    Settle();
    // Walking right, the wall rule stops him beside the tile and the level is finished.
    for (int i = 0; i < 40 && g->gLevel == 0; ++i)
        g.Frame({Key::Right});
    EXPECT_EQ(g->gLevel, 1);
    EXPECT_EQ(g.platform.sounds.front().number, 7);
    EXPECT_TRUE(g.platform.sounds.front().sync);
    EXPECT_EQ(hero().X, 32) << "the next level starts at its start cell";

    // Rising with the tile right below his head row does nothing; falling onto it ends.
    Start(set);
    Settle();
    PlaceHero(*g, 304, 174, Hero::AirRight);
    hero().SpeedX = 0;
    hero().SpeedY = -2;
    g.Frame();
    ASSERT_EQ(hero().Y, 172);
    EXPECT_EQ(g->gLevel, 0) << "rising over the end tile";
    for (int i = 0; i < 30 && g->gLevel == 0; ++i)
        g.Frame();
    EXPECT_EQ(g->gLevel, 1);
}

TEST_F(Lives, FinishingTheTenthLevelPresentsNothingAndStartsTheWinningSequence)
{
    test::LevelSet set;
    set.levels[9][12] = test::Row("..H.E");
    Start(set, 9);
    Settle();
    bool won = false;
    for (int i = 0; i < 20 && !won; ++i) {
        const int presents = g.platform.presents;
        g.Frame({Key::Right});
        won = g->gGameWon;
        EXPECT_EQ(g.platform.presents, presents + (won ? 0 : 1));
    }
    ASSERT_TRUE(won);
    EXPECT_EQ(g->gLevel, 10);
    const int presents = g.platform.presents;
    g.Frame();
    EXPECT_EQ(g.platform.presents, presents + 1) << "the winning sequence presents its own picture";
    EXPECT_EQ(hero().CurrentFrame, 1);
}

namespace {
struct Winning : testing::TestWithParam<int32_t> {};

// Runs the sequence until its question is up; returns the frames spent in each phase.
std::array<int, 3> RunToQuestion(test::Game& g)
{
    std::array<int, 3> frames{};
    for (int i = 0; i < 5000 && g->Timers.WonPhase < 3; ++i) {
        const int phase = g->Timers.WonPhase;
        g.Frame();
        ++frames[static_cast<size_t>(phase)];
    }
    return frames;
}
} // namespace

TEST_P(Winning, SpiralOutAndInThenTheParadeThenTheQuestion)
{
    test::Game g(GetParam());
    g.platform.keepPictures = false;
    g->gGameWon = true;
    g->HeroBig = true;
    const auto frames = RunToQuestion(g);
    ASSERT_EQ(g->Timers.WonPhase, 3);
    // The spiral leaves 0..320 after about 760 frames and needs as many to come back.
    EXPECT_GT(frames[0], 700);
    EXPECT_LT(frames[0], 820);
    EXPECT_NEAR(frames[1], frames[0], 3);
    EXPECT_EQ(frames[2], 3 * GetParam()) << "three seconds of parade";
    EXPECT_EQ(g->sprPlayer.X, 152);
    EXPECT_EQ(g->sprPlayer.Y, 112);
    EXPECT_EQ(g->sprPlayer.CurrentFrame, 1) << "the big hero keeps the plain pose";
    // The parade set the enemies' slots along the bottom.
    EXPECT_EQ(g->sprWumpels[1].X, 288);
    EXPECT_EQ(g->sprGreenies[1].X, 176);
    EXPECT_EQ(g->sprBirds[0].CurrentFrame, 3);

    // "Y" starts a new game on the first level, keeping the power.
    g.Frame({Key::Y});
    EXPECT_FALSE(g->gGameWon);
    EXPECT_EQ(g->gLevel, 0);
    EXPECT_EQ(g->Lives, 5);
    EXPECT_TRUE(g->HeroBig);
    EXPECT_TRUE(g->bRunning);

    // A second win in the same run goes straight to the question.
    g->gGameWon = true;
    g.Frame();
    EXPECT_EQ(g->Timers.WonPhase, 3);
    EXPECT_EQ(g->Timers.ParadeCount, 3 * GetParam());
    g.Frame({Key::N});
    EXPECT_FALSE(g->bRunning);
}
INSTANTIATE_TEST_SUITE_P(EasyAndCrazy, Winning, testing::Values(Difficulty::Easy, Difficulty::Crazy));

// Trying a level out from the editor: the start level begins at the chosen column, on the
// floor there, and a death comes back to it rather than to the level's own start.
TEST_F(Lives, ATestStartBeginsTheLevelAtItsColumnAndDeathsReturnThere)
{
    test::LevelSet set;
    set.levels[1] = test::PlainLevel();
    set.levels[1][13] = test::Row(std::string(200, '#'));
    set.levels[1][14] = test::Row(std::string(200, '#'));
    set.levels[1][8] = test::Row(std::string(99, '.') + "###"); // a ledge over column 100
    set.levels[1][3] = test::Row(std::string(150, '.') + "H");   // a later start: a checkpoint
    g->gStartColumn = 100;
    g->gStartLevel = 1;
    Start(set, 1);
    // World x 1584 is 160 pixels into a view scrolled to 1424; the lowest floor is row 13.
    EXPECT_EQ(g->ViewX, 1424);
    EXPECT_EQ(hero().X, 160);
    EXPECT_EQ(hero().Y, 192);
    EXPECT_EQ(g->MapCode(12, 3), 0) << "the level's own start before the column is gone";
    EXPECT_EQ(g->MapCode(3, 151), Tile::HeroStart) << "starts after it stay";
    Settle();
    EXPECT_EQ(HeroWorldX(*g), 1584);
    EXPECT_EQ(hero().State, Hero::GroundRight);

    // Off the bottom: back at the test start, the level reloaded without the old start.
    hero().Y = 250;
    hero().State = Hero::Dying;
    g.Frame();
    EXPECT_EQ(g->ViewX, 1424);
    EXPECT_EQ(hero().X, 160);
    EXPECT_EQ(g->MapCode(12, 3), 0);

    // Other levels keep their own start.
    g->gStartLevel = 0;
    Start(set, 1);
    EXPECT_EQ(g->ViewX, 0);
    EXPECT_EQ(HeroWorldX(*g), 32) << "placed by the level's own start";
}

// The screen's first column is under the border strip: a try from it begins one column on,
// where the hero can be seen.
TEST_F(Lives, ATestStartInTheFirstColumnBeginsClearOfTheBorder)
{
    test::LevelSet set;
    set.levels[0][12] = test::Row("H");
    g->gStartColumn = 1;
    g->gStartLevel = 0;
    Start(set, 0);
    EXPECT_EQ(g->ViewX, 0);
    EXPECT_EQ(hero().X, (FirstOpenColumn - 1) * 16);
    EXPECT_EQ(hero().Y, 192);
    EXPECT_EQ(g->MapCode(12, 1), 0) << "the start in the column left of the try is taken out";
}

// The editor's test play loops: the level's end and a game over both begin the start level
// again at the test column, at once and as a new game would. Without the loop the game goes
// on as ever: the next level, the game-over question.
namespace {
struct LoopingTestLevel : Lives {
    static constexpr int32_t testStartX = (100 - 1) * 16;
    static constexpr int32_t checkpointX = (103 - 1) * 16;

    // Level 2 tried from column 100, with a checkpoint at 103 and the end at 108; the hero
    // has landed, powered up, with 2 lives and 17 coins.
    void StartTry(bool loop)
    {
        test::LevelSet set;
        set.levels[1] = test::PlainLevel();
        set.levels[1][12] = test::Row(std::string(102, '.') + "H....E");
        set.levels[1][13] = test::Row(std::string(200, '#'));
        set.levels[1][14] = test::Row(std::string(200, '#'));
        g->gStartColumn = 100;
        g->gStartLevel = 1;
        g->gLoopLevel = loop;
        Start(set, 1);
        Settle();
        ASSERT_EQ(HeroWorldX(*g), testStartX);
        g->Lives = 2;
        g->Coins = 17;
        g->HeroBig = true;
    }
    void WalkToTheEnd()
    {
        for (int i = 0; i < 80 && CountSounds(g.platform, Sound::LevelDone) == 0; ++i)
            g.Frame({Key::Right});
        ASSERT_EQ(CountSounds(g.platform, Sound::LevelDone), 1);
    }
    void FallToDeath()
    {
        hero().Y = 250;
        hero().State = Hero::Dying;
        g.Frame();
    }
    void ExpectANewGameAtTheTestStart()
    {
        EXPECT_FALSE(g->gGameOver);
        EXPECT_TRUE(g->bRunning);
        EXPECT_EQ(g->gLevel, 1) << "the same level again";
        EXPECT_EQ(HeroWorldX(*g), testStartX);
        EXPECT_EQ(hero().Y, 192);
        EXPECT_EQ(g->Lives, NewGameLives);
        EXPECT_EQ(g->Coins, 0);
        EXPECT_FALSE(g->HeroBig) << "a fresh hero";
    }
};
} // namespace

TEST_F(LoopingTestLevel, TheLevelsEndBeginsItAgainAsANewGame)
{
    StartTry(true);
    WalkToTheEnd();
    ASSERT_GE(g.platform.sounds.size(), 2u);
    EXPECT_EQ(g.platform.sounds[0].number, Sound::LevelDone);
    EXPECT_EQ(g.platform.sounds[1].number, Sound::LevelStart);
    ExpectANewGameAtTheTestStart();
    // Round after round.
    g.platform.sounds.clear();
    WalkToTheEnd();
    ExpectANewGameAtTheTestStart();
}

TEST_F(LoopingTestLevel, AGameOverBeginsItAgainAtOnceWithoutTheQuestion)
{
    StartTry(true);
    // A death with lives left comes back to the checkpoint in view, as ever.
    FallToDeath();
    EXPECT_EQ(HeroWorldX(*g), checkpointX);
    EXPECT_EQ(g->Lives, 1);
    FallToDeath();
    ExpectANewGameAtTheTestStart();
    g.Frame({Key::Right});
    EXPECT_GT(HeroWorldX(*g), testStartX) << "play goes on at once";
}

TEST_F(LoopingTestLevel, WithoutTheLoopTheGameGoesOnAsEver)
{
    StartTry(false);
    WalkToTheEnd();
    EXPECT_EQ(g->gLevel, 2) << "the next level";
    EXPECT_EQ(g->Lives, 2);
    EXPECT_EQ(g->Coins, 17);
    EXPECT_TRUE(g->HeroBig);

    StartTry(false);
    FallToDeath();
    FallToDeath();
    EXPECT_TRUE(g->gGameOver) << "the question";
    EXPECT_EQ(g->Lives, 0);
    EXPECT_EQ(HeroWorldX(*g), checkpointX);
}

// A later hero start is a checkpoint: once its cell has come into view, a death brings the
// hero back there (at its column, on its row, the view scrolled as for a start that far in);
// before that, back to the level's own start.
TEST_F(Lives, ADeathAfterACheckpointCameIntoViewRestartsThere)
{
    test::LevelSet set;
    test::Level& l = set.levels[0];
    l[12] = test::Row("..H" + std::string(56, '.') + "H" + std::string(60, '.') + "E");
    l[13] = test::Row(std::string(140, '#'));
    l[14] = test::Row(std::string(140, '#'));
    Start(set, 0);
    Settle();
    auto die = [&] {
        hero().Y = 250;
        hero().State = Hero::Dying;
        g.Frame();
        Settle();
    };
    auto runUntil = [&](int32_t worldX) {
        for (int i = 0; i < 400 && HeroWorldX(*g) < worldX; ++i)
            g.Frame({Key::Right});
    };

    runUntil(30 * 16);
    ASSERT_EQ(g->MapCode(12, 60), Tile::HeroStart) << "not yet in view";
    die();
    EXPECT_EQ(g->ViewX, 0);
    EXPECT_EQ(HeroWorldX(*g), 32) << "back at the level's start";

    // The checkpoint comes into view about ten columns before the hero gets to it.
    for (int i = 0; i < 400 && g->MapCode(12, 60) == Tile::HeroStart; ++i)
        g.Frame({Key::Right});
    ASSERT_NE(g->MapCode(12, 60), Tile::HeroStart);
    EXPECT_LT(HeroWorldX(*g), 52 * 16);
    const int32_t lives = g->Lives;
    die();
    EXPECT_EQ(g->Lives, lives - 1);
    EXPECT_EQ(g->ViewX, 59 * 16 - 160);
    EXPECT_EQ(HeroWorldX(*g), 59 * 16);
    EXPECT_EQ(hero().Y, 12 * 16);
    EXPECT_EQ(hero().State, Hero::GroundRight);

    // Another death: the same checkpoint, not the start.
    runUntil(70 * 16);
    die();
    EXPECT_EQ(HeroWorldX(*g), 59 * 16);
}
