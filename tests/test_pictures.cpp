// Whole games' pictures against the pictures the game has always composed: every picture
// of a game is folded into one hash. The hashes were first taken from the game as it drew
// before its draws became recorded commands (each routine then blitted straight into the
// back buffer), which the commands' painter matched; they were taken again when the
// Standard set and its pictures changed (checkpoint flags, a darker top row) and the
// recordings with them. Any change to what a player sees in classic presentation shows here.
#include "TestData.h"
#include "game/GameWindow.h"
#include "media/Fnv1a.h"
#include "record/Platforms.h"
#include "record/Replay.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace zorbo;

namespace {

// A headless machine that looks at every picture but keeps none, only a hash of all of
// them in order.
class PictureHasher : public HeadlessPlatform {
public:
    PictureHasher()
    {
        keepPictures = false;
        paintPictures = true;
    }
    void Present(const Canvas& frame) override
    {
        HeadlessPlatform::Present(frame);
        const Surface& picture = frame.Composed();
        const uint32_t* p = picture.pixels();
        for (size_t i = 0, n = static_cast<size_t>(picture.Width()) * picture.Height(); i < n; ++i)
            fold.Word(p[i]);
        hash = fold.Value();
    }
    Fnv1a fold;
    uint64_t hash = 0;
};

struct Counts {
    int frames = 0, dying = 0, gameOver = 0, won = 0;
};

// Runs the game frame by frame as its loop does, counting the kinds of frames seen.
Counts RunFrames(GameWindow& game, int frames)
{
    Counts c;
    while (game.bRunning && c.frames < frames) {
        if (!game.LoopPass())
            continue;
        ++c.frames;
        c.dying += game.sprPlayer.State == Hero::Dying;
        c.gameOver += game.gGameOver;
        c.won += game.gGameWon;
    }
    return c;
}

Settings StandardSettings(int32_t difficulty)
{
    Settings s;
    s.DataPath = std::string(ZORBO_TEST_DATA_DIR) + "/";
    s.gLevelSet = "Standard.txt";
    s.gDifficulty = difficulty;
    s.gSoundOn = false;
    return s;
}

std::string RecordingFile(const char* difficulty)
{
    return (std::filesystem::path(ZORBO_TEST_RECORDING).parent_path() / ("standard-" + std::string(difficulty) + ".rec"))
        .string();
}

struct RecordedGame {
    const char* difficulty;
    uint64_t pictures;
};

struct WholeGamePictures : testing::TestWithParam<RecordedGame> {};

} // namespace

TEST_P(WholeGamePictures, EveryPictureOfARecordedGameIsTheOneTheGameAlwaysDrew)
{
    Settings settings = StandardSettings(Difficulty::Normal);
    Recording rec;
    std::string error;
    ASSERT_TRUE(PrepareReplay(RecordingFile(GetParam().difficulty), settings.DataPath, rec, settings, error)) << error;
    PictureHasher machine;
    ReplayPlatform replay(machine, rec, false);
    GameWindow game(replay, settings);
    replay.Watch(&game);
    game.Form_Load();
    replay.Finish();
    ASSERT_EQ(replay.End(), ReplayEnd::Matched) << replay.Verdict();
    EXPECT_EQ(machine.hash, GetParam().pictures) << std::hex << machine.hash << " over " << std::dec
                                                 << machine.presents << " pictures";
}

INSTANTIATE_TEST_SUITE_P(Standard, WholeGamePictures,
                         testing::Values(RecordedGame{"easy", 0x21f0bad4a40583e7}, RecordedGame{"normal", 0x8137fa8b405d3d7a},
                                         RecordedGame{"difficult", 0x7852d93857579c00},
                                         RecordedGame{"crazy", 0xe335a1b23c67301a}),
                         [](const auto& info) { return std::string(info.param.difficulty); });

// A hero who only ever runs right dies again and again (each death a trail of poses over
// the last picture) until the game-over prompt blinks.
TEST(GamePictures, DeathTrailsAndTheGameOverPromptAreTheOnesTheGameAlwaysDrew)
{
    PictureHasher machine;
    for (int i = 0; i < 6000; ++i)
        machine.QueueKeys({Key::Right});
    GameWindow game(machine, StandardSettings(Difficulty::Crazy));
    game.Startup();
    game.BeginLoop();
    const Counts c = RunFrames(game, 6000);
    EXPECT_GT(c.dying, 100);
    EXPECT_GT(c.gameOver, 100);
    EXPECT_EQ(machine.hash, 0xfe407b7863d2804d) << std::hex << machine.hash;
}

// The winning sequence draws its spiral and parade over the last picture of the game.
TEST(GamePictures, TheWinningSequenceIsTheOneTheGameAlwaysDrew)
{
    for (int32_t difficulty : {Difficulty::Easy, Difficulty::Crazy}) {
        PictureHasher machine;
        Settings s = StandardSettings(difficulty);
        s.gLevel = 9;
        GameWindow game(machine, s);
        game.Startup();
        game.BeginLoop();
        RunFrames(game, 40);
        game.gGameWon = true;
        const Counts c = RunFrames(game, 1800);
        EXPECT_EQ(c.won, 1800);
        EXPECT_EQ(game.Timers.WonPhase, 3) << "up to the question";
        EXPECT_EQ(machine.hash, difficulty == Difficulty::Easy ? 0x75fe12d04ab3bc7c : 0x3b0244c5d75b83d4)
            << std::hex << machine.hash;
    }
}
