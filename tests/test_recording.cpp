#include "LevelText.h"
#include "TestData.h"
#include "record/Platforms.h"
#include "record/RecordingWriter.h"
#include "record/Replay.h"
#include "record/StateHash.h"
#include "record/StateFields.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace zorbo;

namespace {

struct RecordingFixture : testing::Test {
    test::GameData data;
    test::TempDir dir;
    Settings settings;
    Recording rec;
    std::string finalSummary;

    void SetUp() override
    {
        // Any playable level set will do for the inputs; its contents are what the
        // recording pins.
        test::WriteFile(data.path() + "Tiny.txt", test::LevelSet().Text());
        settings.DataPath = data.path();
        settings.gLevelSet = "Tiny.txt";
        settings.gDifficulty = 32;
        settings.gSoundOn = false;
    }

    // Plays a short game with held keys through a recording platform, written to a file
    // as it goes when a writer is given (and left unfinished when finish is false).
    void Record(int frames, RecordingWriter* writer = nullptr, bool finish = true, int escapeAt = -1)
    {
        std::string error;
        ASSERT_TRUE(StartRecording(settings, rec, error)) << error;
        HeadlessPlatform machine;
        machine.seed = 987654321;
        machine.keepPictures = false;
        machine.closeAfterFrames = frames;
        for (int i = 0; i < frames; ++i) {
            if (i == escapeAt)
                machine.QueueKeys({Key::Escape});
            else if (i % 7 < 4)
                machine.QueueKeys({Key::Right, Key::Space});
            else if (i % 7 == 5)
                machine.QueueKeys({Key::Left});
            else
                machine.QueueKeys({});
        }
        RecordingPlatform recorder(machine, rec);
        recorder.WriteTo(writer);
        GameWindow game(recorder, settings);
        recorder.Watch(&game);
        game.Form_Load();
        if (!finish)
            return;
        recorder.Finish();
        if (writer != nullptr) {
            ASSERT_TRUE(writer->Finish(rec, error)) << error;
        }
        finalSummary = Summary(game);
    }
};

} // namespace

// The caption reaches the window through the recording platform (its default would drop it).
TEST_F(RecordingFixture, TheTitleReachesTheWindowThroughTheRecorder)
{
    std::string error;
    ASSERT_TRUE(StartRecording(settings, rec, error)) << error;
    HeadlessPlatform machine;
    machine.keepPictures = false;
    machine.closeAfterFrames = 20;
    RecordingPlatform recorder(machine, rec);
    GameWindow game(recorder, settings);
    recorder.Watch(&game);
    game.Form_Load();
    EXPECT_EQ(machine.title, "Zorbo \xE2\x80\x94 1 \xC2\xB7 Level 1");
}

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
    std::string error;
    ASSERT_TRUE(SaveRecording(rec, dir.path() + "game.rec", error)) << error;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "game.rec.part"));
    Recording loaded;
    Settings replaySettings;
    ASSERT_TRUE(PrepareReplay(dir.path() + "game.rec", data.path(), loaded, replaySettings, error)) << error;
    EXPECT_EQ(replaySettings.gDifficulty, 32);
    EXPECT_EQ(replaySettings.gLevelSet, "Tiny.txt");
    EXPECT_EQ(loaded, rec);
    const ReplayResult fromFile = ReplayHeadless(loaded, replaySettings);
    EXPECT_TRUE(fromFile.ok) << fromFile.message;
    EXPECT_EQ(fromFile.summary, finalSummary);
}

TEST_F(RecordingFixture, AGameWrittenAsItGoesGivesTheSameFileAsOneSavedWhole)
{
    RecordingWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Open(dir.path() + "live.rec", error)) << error;
    Record(60, &writer);
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "live.rec.part"));
    EXPECT_EQ(test::FileBytes(dir.path() + "live.rec"), FormatRecording(rec));
}

TEST_F(RecordingFixture, ASecondWriterOfOneNameIsRefusedAndTheFirstKeepsItsFile)
{
    const std::string file = dir.path() + "same.rec";
    RecordingWriter first;
    std::string error;
    ASSERT_TRUE(first.Open(file, error)) << error;
    // Another Zorbo recording to the same file is refused at once.
    const auto second = [&file] {
        return test::InOtherProcess([&file] {
            RecordingWriter writer;
            std::string refusal;
            if (writer.Open(file, refusal))
                return 0;
            return refusal == "cannot record to " + file + ": it is already being written by another Zorbo" ? 2 : 1;
        });
    };
    EXPECT_EQ(second(), 2);
    Record(60, &first);
    EXPECT_EQ(test::FileBytes(file), FormatRecording(rec));
    EXPECT_EQ(second(), 0) << "a finished recording lets go of its name";
    EXPECT_EQ(test::FileBytes(file), FormatRecording(rec));
}

TEST_F(RecordingFixture, AKilledGameLeavesARecordingThatReplaysToItsLastPoll)
{
    RecordingWriter writer;
    std::string error;
    ASSERT_TRUE(writer.Open(dir.path() + "killed.rec", error)) << error;
    Record(50, &writer, false);
    // What a killed game leaves: the temporary file, maybe with a half-written line.
    const std::string part = dir.path() + "killed.rec.part";
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "killed.rec"));
    std::ofstream(part, std::ios::binary | std::ios::app) << "t 20";

    Recording loaded;
    Settings s;
    ASSERT_TRUE(PrepareReplay(part, data.path(), loaded, s, error)) << error;
    EXPECT_TRUE(loaded.cutOff);
    const ReplayResult r = ReplayHeadless(loaded, s);
    EXPECT_EQ(r.end, ReplayEnd::CutOff) << r.message;
    EXPECT_EQ(r.polls, 50);
    EXPECT_NE(r.message.find("cut off at poll 50"), std::string::npos) << r.message;
}

TEST_F(RecordingFixture, AReplayFailsUnlessTheGameUsesTheRecordingExactly)
{
    Record(60, nullptr, true, 30);
    ASSERT_TRUE(ReplayHeadless(rec, settings).ok);

    // A changed input: the checkpoint after it differs.
    Recording changed = rec;
    for (Recording::Input& in : changed.inputs)
        if (in.keys && !in.held.empty()) {
            in.held = {static_cast<uint8_t>(Key::Left)};
            break;
        }
    ReplayResult r = ReplayHeadless(changed, settings);
    EXPECT_EQ(r.end, ReplayEnd::Diverged);
    EXPECT_NE(r.message.find("state"), std::string::npos) << r.message;

    // Polls after the game ended by escape stay unread.
    Recording longer = rec;
    Recording::Checkpoint last = longer.checkpoints.back();
    for (int i = 0; i < 3000; ++i)
        longer.inputs.push_back(Recording::Input{true, 0, {}});
    last.poll += 3000;
    longer.checkpoints.push_back(last);
    r = ReplayHeadless(longer, settings);
    EXPECT_EQ(r.end, ReplayEnd::Diverged);
    EXPECT_NE(r.message.find("the game ended at poll 31, but the recording goes on to poll 3031"), std::string::npos)
        << r.message;

    // Without its final checkpoint a recording proves nothing about the game's end.
    Recording unchecked = rec;
    unchecked.checkpoints.clear();
    r = ReplayHeadless(unchecked, settings);
    EXPECT_EQ(r.end, ReplayEnd::Diverged);
    EXPECT_NE(r.message.find("no final checkpoint"), std::string::npos) << r.message;

    // A level set that breaks under the game ends it with a message box: no match.
    Settings broken = settings;
    test::WriteFile(data.path() + "Broken.txt", "*one\nZZZ\n");
    broken.gLevelSet = "Broken.txt";
    r = ReplayHeadless(rec, broken);
    EXPECT_EQ(r.end, ReplayEnd::Diverged);
    EXPECT_NE(r.message.find("ended on an error at poll 0"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("Broken.txt"), std::string::npos) << r.message;

    // Stopped on purpose before the end: neither a match nor a divergence.
    r = ReplayHeadless(rec, settings, 10);
    EXPECT_EQ(r.end, ReplayEnd::Stopped) << r.message;
    EXPECT_NE(r.message.find("stopped at poll"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(" of 31"), std::string::npos) << r.message;
}

TEST_F(RecordingFixture, RecordingsForAnotherLevelSetOrFormatAreRefused)
{
    Record(10);
    std::string error;
    ASSERT_TRUE(SaveRecording(rec, dir.path() + "game.rec", error));
    Recording loaded;
    Settings s;

    std::ofstream(data.path() + "Tiny.txt", std::ios::binary | std::ios::app) << "b\n";
    EXPECT_FALSE(PrepareReplay(dir.path() + "game.rec", data.path(), loaded, s, error));
    EXPECT_NE(error.find("Tiny.txt"), std::string::npos) << error;

    std::ofstream(dir.path() + "future.rec") << "zorbo-recording 99\nend\n";
    EXPECT_FALSE(LoadRecording(dir.path() + "future.rec", loaded, error));
    EXPECT_NE(error.find("format 99"), std::string::npos) << error;

    // A level set that hashes as recorded but fails the level-set check.
    test::WriteFile(data.path() + "Empty.txt", "");
    const uint64_t emptyHash = HashBytes("");
    Recording empty = rec;
    empty.levelSet = "Empty.txt";
    empty.levelSetHash = emptyHash;
    ASSERT_TRUE(SaveRecording(empty, dir.path() + "empty.rec", error)) << error;
    EXPECT_FALSE(PrepareReplay(dir.path() + "empty.rec", data.path(), loaded, s, error));
    EXPECT_NE(error.find("holds 0 levels"), std::string::npos) << error;
}

TEST_F(RecordingFixture, ARecordingIsOpenedBeforeTheGameAndRefusedWhereItCannotBeWritten)
{
    RecordingWriter writer;
    std::string error;
    EXPECT_FALSE(writer.Open(dir.path() + "no-such-folder/game.rec", error));
    EXPECT_NE(error.find("cannot record to " + dir.path() + "no-such-folder/game.rec"), std::string::npos) << error;
    RecordingWriter intoFolder;
    EXPECT_FALSE(intoFolder.Open(data.path(), error));
    EXPECT_NE(error.find("a folder"), std::string::npos) << error;

    // A level set a recording cannot name is refused before play too.
    Settings hidden = settings;
    hidden.gLevelSet = ".hidden.txt";
    EXPECT_FALSE(StartRecording(hidden, rec, error));
    EXPECT_NE(error.find(".hidden.txt"), std::string::npos) << error;
}

// A set of the player's own folder is recorded by its file name, like any, and replayed
// from whichever folder holds that file with the recorded bytes: the data folder's first.
TEST_F(RecordingFixture, ASetOfThePlayersOwnFolderIsRecordedAndReplayedFromThere)
{
    const std::string player = dir.path() + "levels/";
    std::filesystem::create_directory(player);
    std::filesystem::rename(data.path() + "Tiny.txt", player + "Tiny.txt");
    settings.LevelSetFolder = player;
    Record(40);
    EXPECT_EQ(rec.levelSet, "Tiny.txt");
    std::string error;
    ASSERT_TRUE(SaveRecording(rec, dir.path() + "own.rec", error)) << error;

    Recording loaded;
    Settings s;
    ASSERT_TRUE(PrepareReplay(dir.path() + "own.rec", data.path(), loaded, s, error, player)) << error;
    EXPECT_EQ(s.LevelSetPath(), player + "Tiny.txt");
    const ReplayResult r = ReplayHeadless(loaded, s);
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(r.summary, finalSummary);

    // Another set of that name in the data folder is passed over for the recorded one.
    test::WriteFile(data.path() + "Tiny.txt", test::LevelSet().Text("\r\n"));
    ASSERT_TRUE(PrepareReplay(dir.path() + "own.rec", data.path(), loaded, s, error, player)) << error;
    EXPECT_EQ(s.LevelSetPath(), player + "Tiny.txt");
    std::ofstream(player + "Tiny.txt", std::ios::binary | std::ios::app) << "b\n";
    EXPECT_FALSE(PrepareReplay(dir.path() + "own.rec", data.path(), loaded, s, error, player));
    EXPECT_NE(error.find("recorded with another version of the level set Tiny.txt"), std::string::npos) << error;

    // Without the player's folder only the data folder is looked in.
    std::filesystem::remove(data.path() + "Tiny.txt");
    EXPECT_FALSE(PrepareReplay(dir.path() + "own.rec", data.path(), loaded, s, error));
    EXPECT_NE(error.find("its level set " + data.path() + "Tiny.txt cannot be opened"), std::string::npos) << error;
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
