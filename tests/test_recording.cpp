#include "TestData.h"
#include "game/Recording.h"
#include "game/StateFields.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace zorbo;

namespace {

struct RecordingFixture : testing::Test {
    test::GameData data;
    Settings settings;
    Recording rec;
    std::string finalSummary;

    void SetUp() override
    {
        // Any level set will do for the inputs; its contents are what the recording pins.
        std::ofstream(data.path() + "Tiny.txt", std::ios::binary) << "*one\n" << std::string(20, 'a') << "\n";
        settings.DataPath = data.path();
        settings.gLevelSet = "Tiny.txt";
        settings.gDifficulty = 32;
        settings.gSoundOn = false;
    }

    // Plays a short game with held keys through a recording platform.
    void Record(int frames)
    {
        std::string error;
        ASSERT_TRUE(StartRecording(settings, rec, error)) << error;
        HeadlessPlatform machine;
        machine.seed = 987654321;
        machine.keepPictures = false;
        machine.closeAfterFrames = frames;
        for (int i = 0; i < frames; ++i) {
            if (i % 7 < 4)
                machine.QueueKeys({Key::Right, Key::Space});
            else if (i % 7 == 5)
                machine.QueueKeys({Key::Left});
            else
                machine.QueueKeys({});
        }
        RecordingPlatform recorder(machine, rec);
        GameWindow game(recorder, settings);
        recorder.Watch(&game);
        game.Form_Load();
        recorder.Finish();
        finalSummary = Summary(game);
    }
};

} // namespace

TEST_F(RecordingFixture, ARecordedGameReplaysToTheSameState)
{
    Record(80);
    EXPECT_EQ(rec.seed, 987654321u);
    ASSERT_GE(rec.checkpoints.size(), 2u);

    const ReplayResult direct = ReplayHeadless(rec, settings);
    EXPECT_TRUE(direct.ok) << direct.message;
    EXPECT_EQ(direct.summary, finalSummary);
    EXPECT_EQ(direct.polls, 80);

    // Through a file and back.
    test::TempDir dir;
    std::string error;
    ASSERT_TRUE(rec.Save(dir.path() + "game.rec", error)) << error;
    Recording loaded;
    Settings replaySettings;
    ASSERT_TRUE(PrepareReplay(dir.path() + "game.rec", data.path(), loaded, replaySettings, error)) << error;
    EXPECT_EQ(replaySettings.gDifficulty, 32);
    EXPECT_EQ(replaySettings.gLevelSet, "Tiny.txt");
    EXPECT_EQ(loaded.inputs.size(), rec.inputs.size());
    EXPECT_EQ(loaded.checkpoints, rec.checkpoints);
    const ReplayResult fromFile = ReplayHeadless(loaded, replaySettings);
    EXPECT_TRUE(fromFile.ok) << fromFile.message;
    EXPECT_EQ(fromFile.summary, finalSummary);
}

TEST_F(RecordingFixture, AChangedInputIsCaughtAsADivergence)
{
    Record(40);
    for (Recording::Input& in : rec.inputs)
        if (in.keys && !in.held.empty()) {
            in.held = {static_cast<uint8_t>(Key::Left)};
            break;
        }
    const ReplayResult r = ReplayHeadless(rec, settings);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("state"), std::string::npos) << r.message;
}

TEST_F(RecordingFixture, RecordingsForAnotherLevelSetOrFormatAreRefused)
{
    Record(10);
    test::TempDir dir;
    std::string error;
    ASSERT_TRUE(rec.Save(dir.path() + "game.rec", error));
    Recording loaded;
    Settings s;

    std::ofstream(data.path() + "Tiny.txt", std::ios::binary | std::ios::app) << "b\n";
    EXPECT_FALSE(PrepareReplay(dir.path() + "game.rec", data.path(), loaded, s, error));
    EXPECT_NE(error.find("Tiny.txt"), std::string::npos) << error;

    std::ofstream(dir.path() + "future.rec") << "zorbo-recording 99\nend\n";
    EXPECT_FALSE(Recording::Load(dir.path() + "future.rec", loaded, error));
    EXPECT_NE(error.find("format 99"), std::string::npos) << error;

    std::ofstream(dir.path() + "cut.rec") << "zorbo-recording 1\nlevel-set Tiny.txt 0000000000000000\nk 57\nt 1 2\n";
    EXPECT_FALSE(Recording::Load(dir.path() + "cut.rec", loaded, error));
    EXPECT_NE(error.find("cut short"), std::string::npos) << error;

    std::ofstream(dir.path() + "bad.rec") << "zorbo-recording 1\nk 57 300\nend\n";
    EXPECT_FALSE(Recording::Load(dir.path() + "bad.rec", loaded, error));
    EXPECT_NE(error.find(":2:"), std::string::npos) << error;
}

namespace listcheck {
struct Record {
    int32_t a = 0;
    int64_t b = 0;
    int32_t c = 0;
};
template <class V>
void VisitFields(const Record& r, V& v)
{
    v.Field(r.a), v.Field(r.c);
}
struct Twice {
    int32_t a = 0;
};
template <class V>
void VisitFields(const Twice& t, V& v)
{
    v.Field(t.a), v.Skip(t.a);
}
} // namespace listcheck

// The state hash walks one list of fields per record; a field missing from a list would
// let a replay pass while the game went its own way.
TEST(StateList, EveryRecordOfTheGameStateIsListedWhole)
{
    const GameState g;
    EXPECT_EQ(StateListGap(g), "");
    EXPECT_EQ(StateListGap(g.Timers), "");
    EXPECT_EQ(StateListGap(g.sprFires[0]), "");
    EXPECT_EQ(StateListGap(g.ElevatorPaths[0]), "");
    EXPECT_EQ(StateListGap(g.Warps[0][0]), "");
    EXPECT_EQ(StateListGap(g.sprPlayer), "");
}

TEST(StateList, AnUnlistedFieldIsFound)
{
    const listcheck::Record r;
    // b (with the padding before it) is not in the list; listing a twice is caught too.
    EXPECT_EQ(StateListGap(r), "12 bytes at offset 4 are not listed");
    const listcheck::Twice t;
    EXPECT_EQ(StateListGap(t), "the field at offset 0 is listed twice");
}

TEST(StateList, ChangingAnyListedFieldChangesTheHash)
{
    GameState g;
    const uint64_t base = StateHash(g);
    auto changed = [&](auto mutate) {
        GameState copy = g;
        mutate(copy);
        return StateHash(copy) != base;
    };
    EXPECT_TRUE(changed([](GameState& s) { s.sprWumpels[23].AnimCount = 1; }));
    EXPECT_TRUE(changed([](GameState& s) { s.Timers.SpiralRadius = 0.5F; }));
    EXPECT_TRUE(changed([](GameState& s) { s.Map.Set(9, 14, 1000, 1); }));
    EXPECT_TRUE(changed([](GameState& s) { s.ElevatorPaths[9].Dir = -1; }));
    EXPECT_TRUE(changed([](GameState& s) { s.FireTick[5] = 2; }));
    // Settings that never change in play and the picture are not game state.
    EXPECT_FALSE(changed([](GameState& s) { s.gFullScreen = true; }));
    EXPECT_FALSE(changed([](GameState& s) { s.DataPath = "elsewhere/"; }));
}
