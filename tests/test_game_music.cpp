// Which tune the game asks for: its level's look at each level start, the parade once the
// game is won, the same tune on through a restart after a death; a tune that cannot be
// loaded warned about once; and none of it changing the game.
#include "LevelText.h"
#include "TestData.h"
#include "record/StateHash.h"

#include <gtest/gtest.h>

#include <memory>

using namespace zorbo;
using Event = HeadlessPlatform::MusicEvent;

namespace {

// A level of one background over one floor, the hero's start and the level's end on row 12.
test::Level Themed(int background, int floor)
{
    test::Level level{};
    for (size_t r = 0; r < 12; ++r)
        level[r] = std::string(60, test::Byte(background));
    level[12] = std::string(60, test::Byte(background));
    level[12][2] = test::Byte(44);
    level[12][39] = test::Byte(58);
    level[13] = level[14] = std::string(60, test::Byte(floor));
    return level;
}

// Levels 1..5: open sky, cave, castle, lagoon, cloud causeway; the rest open sky.
struct LooksGame {
    test::GameData data;
    HeadlessPlatform platform;
    std::unique_ptr<GameWindow> game;

    explicit LooksGame(bool soundOn = true, std::vector<int> brokenMusic = {})
    {
        test::LevelSet set;
        set.levels[0] = Themed(0, 26);
        set.levels[1] = Themed(9, 38);
        set.levels[2] = Themed(9, 40);
        set.levels[3] = Themed(0, 26);
        for (size_t col = 0; col < 12; ++col)
            set.levels[3][14][col] = test::Byte(16); // water under a fifth of it
        set.levels[4] = Themed(0, 94);
        test::WriteFile(data.path() + "looks.txt", set.Text());
        Settings settings;
        settings.DataPath = data.path();
        settings.gLevelSet = "looks.txt";
        settings.gSoundOn = soundOn;
        platform.brokenMusic = std::move(brokenMusic);
        game = std::make_unique<GameWindow>(platform, settings);
        game->Startup();
    }
    // The hero falls off the screen: a life fewer, the level begins again.
    void Die()
    {
        game->sprPlayer.State = Hero::Dying;
        game->sprPlayer.Y = 300;
        game->KillZorboAnimate();
    }
    std::vector<int> Tunes() const
    {
        std::vector<int> tunes;
        for (const Event& e : platform.music)
            tunes.push_back(e.tune);
        return tunes;
    }
};

} // namespace

TEST(GameMusic, EachLevelStartAsksForItsLooksTuneAndTheWinningSequenceForTheParade)
{
    LooksGame g;
    ASSERT_TRUE(g.game->bRunning);
    ASSERT_EQ(g.platform.loadedMusic.size(), 6u);
    EXPECT_EQ(g.platform.loadedMusic[1], g.data.path() + "tune-cave.ogg");
    EXPECT_EQ(g.Tunes(), std::vector<int>{Tune::OpenSky});
    for (int i = 0; i < 4; ++i)
        g.game->Nextlevel();
    EXPECT_EQ(g.Tunes(), (std::vector<int>{Tune::OpenSky, Tune::Cave, Tune::Castle, Tune::Lagoon, Tune::CloudCauseway}));

    // A death begins the level again under the tune already playing; a continue after the
    // game is over starts it afresh.
    g.Die();
    EXPECT_EQ(g.platform.music.size(), 5u) << "a restart after a death keeps the tune";
    g.game->Lives = 1;
    g.Die();
    ASSERT_TRUE(g.game->gGameOver);
    EXPECT_EQ(g.platform.music.size(), 5u);
    g.game->ContinueGame();
    EXPECT_EQ(g.platform.music.back().tune, Tune::CloudCauseway);
    EXPECT_EQ(g.platform.music.size(), 6u);

    // The last level's end starts the winning sequence, and its parade.
    g.game->gLevel = 9;
    g.game->Nextlevel();
    ASSERT_TRUE(g.game->gGameWon);
    EXPECT_EQ(g.platform.music.back().tune, Tune::Parade);
    // A new game from the question begins with the first level's tune; the end stops it.
    g.game->gLevel = 0;
    g.game->gGameWon = false;
    g.game->ContinueGame();
    EXPECT_EQ(g.platform.music.back().tune, Tune::OpenSky);
    g.game->Shutdown();
    EXPECT_EQ(g.platform.music.back().tune, 0) << "the game's end stops the music";
}

TEST(GameMusic, ATuneThatCannotBeLoadedIsNamedOnceAndItsLevelsAreSilent)
{
    test::Warnings warnings;
    LooksGame g(true, {Tune::Cave});
    ASSERT_EQ(warnings.Count("tune-cave.ogg"), 1) << "named once, at start-up";
    EXPECT_EQ(warnings.lines().size(), 1u);
    EXPECT_EQ(warnings.lines()[0], "music " + g.data.path() +
                                       "tune-cave.ogg: is not an Ogg Vorbis file; the game plays on without that tune");
    g.game->Nextlevel();
    EXPECT_TRUE(g.game->bRunning);
    EXPECT_EQ(g.platform.music.back().tune, 0) << "the cave is silent, not left with the sky's tune";
    g.game->Nextlevel();
    EXPECT_EQ(g.platform.music.back().tune, Tune::Castle) << "only that tune is missing";
    EXPECT_EQ(warnings.Count("tune-cave.ogg"), 1);
}

TEST(GameMusic, WithSoundOffNoTuneIsLoadedOrAskedFor)
{
    LooksGame g(false);
    g.game->Nextlevel();
    g.game->Shutdown();
    EXPECT_TRUE(g.platform.loadedMusic.empty());
    EXPECT_TRUE(g.platform.music.empty());
}

// The same keys give the same game whether every tune plays or none can: the music takes
// no random draw, reads no clock and moves nothing.
TEST(GameMusic, MusicChangesNothingInTheGame)
{
    test::Warnings quiet;
    LooksGame with;
    LooksGame without(true, {1, 2, 3, 4, 5, 6});
    for (LooksGame* g : {&with, &without}) {
        g->game->BeginLoop();
        for (int frame = 0; frame < 40; ++frame) {
            g->platform.QueueKeys({Key::Right});
            g->game->LoopPass();
            if (frame % 10 == 9)
                g->game->Nextlevel();
        }
    }
    EXPECT_EQ(StateHash(*with.game), StateHash(*without.game));
    EXPECT_EQ(with.platform.GetTickCount(), without.platform.GetTickCount());
    EXPECT_EQ(with.Tunes().size(), without.Tunes().size());
}
