#include "LevelText.h"
#include "TestData.h"
#include "record/RecordingWriter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <sstream>
#include <unistd.h>

using namespace zorbo;

namespace {

const std::string kHeader = "zorbo-recording 1\nlevel-set Standard.txt 1a5bc37d3244b278\nstart-level 1\n"
                            "difficulty 26\nseed 1\n";
const std::string kGame = "t 0 0 1\nc 0 1 0 b798c9f5c454b8f9\nk 205\nt 1 1 40\nk\nc 2 1 0 0123456789abcdef\nend\n";

std::string Sample()
{
    return test::FileBytes(ZORBO_TEST_RECORDING);
}

struct BadCase {
    std::string text;
    int line;
    std::string says;
};

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

} // namespace

TEST(RecordingFile, EveryBadFieldIsReportedWithItsLine)
{
    const std::string good = kHeader + kGame;
    ASSERT_TRUE(ParseRecording(good).ok()) << ParseRecording(good).FirstError("good.rec");
    const std::vector<BadCase> cases = {
        {Replace(good, "1a5bc37d3244b278", "zzzzzzzzzzzzzzzz"), 2, "level-set hash \"zzzzzzzzzzzzzzzz\" is not 16 hex"},
        {Replace(good, "1a5bc37d3244b278", "-a5bc37d3244b278"), 2, "is not 16 hexadecimal digits"},
        {Replace(good, "1a5bc37d3244b278", "0x5bc37d3244b278"), 2, "is not 16 hexadecimal digits"},
        {Replace(good, "1a5bc37d3244b278", "1a5bc37d3244b27"), 2, "is not 16 hexadecimal digits"},
        {Replace(good, "Standard.txt", "../../../../../dev/zero"), 2, "not the name of a file in the data folder"},
        {Replace(good, "Standard.txt", "../../etc/passwd"), 2, "not the name of a file in the data folder"},
        {Replace(good, "Standard.txt", ".hidden"), 2, "not the name of a file in the data folder"},
        {Replace(good, "start-level 1", "start-level 11"), 3, "start level must be a number from 1 to 10"},
        {Replace(good, "start-level 1", "start-level +1"), 3, "start level must be a number from 1 to 10"},
        {Replace(good, "difficulty 26", "difficulty 27"), 4, "difficulty must be 18, 26, 32 or 38"},
        {Replace(good, "seed 1", "seed 18446744073709551616"), 5, "seed must be a whole number"},
        {Replace(good, "seed 1", "seed -1"), 5, "seed must be a whole number"},
        {Replace(good, "t 1 1 40", "t 1 1 536870913"), 9, "not a whole number from 0 to 536870912"},
        {Replace(good, "t 1 1 40", "t 1 0 40"), 9, "below the one before it (1)"},
        {Replace(good, "k 205", "k 256"), 8, "scan code \"256\" is not a number from 0 to 255"},
        {Replace(good, "c 0 1 0", "c 0 -2147483648 0"), 7, "level \"-2147483648\" is not a number from 1 to 11"},
        {Replace(good, "c 0 1 0", "c 0 12 0"), 7, "is not a number from 1 to 11"},
        {Replace(good, "c 0 1 0", "c 1 1 0"), 7, "poll \"1\" is not the number of polls before it (0)"},
        {Replace(good, "c 0 1 0", "c 0 1 2"), 7, "won flag \"2\" is not 0 or 1"},
        {Replace(good, "c 0 1 0 b798c9f5c454b8f9", "c 0 1 0 b798c9f5c454b8f9 x"), 7, "unexpected text after the checkpoint"},
        {Replace(good, "k 205\n", "k 205\n\n"), 9, "empty line"},
        {Replace(good, "k 205\n", "k 205\nq\n"), 9, "unknown line \"q\""},
        {Replace(good, "seed 1\n", ""), 5, "missing header line before the inputs: seed"},
        {Replace(good, "start-level 1\ndifficulty 26\n", ""), 4, "missing header lines before the inputs: start-level, difficulty"},
        {Replace(good, "seed 1\n", "seed 1\nseed 2\n"), 6, "a second seed line"},
        {Replace(good, "k\n", "k\nseed 3\n"), 11, "the seed line must come before the inputs"},
        {Replace(good, "c 2 1 0 0123456789abcdef\n", ""), 11, "no final checkpoint before the end line (a c line for poll 2"},
        {good + "k\n", 13, "text after the end line"},
        {Replace(good, "k 205", std::string(5000, ' ')), 8, "longer than 4096 bytes"},
        {"zorbo-recording 99\nend\n", 1, "recording format 99 is not supported"},
        {"\x7f" "ELF\x02\x01\x01", 1, "not a Zorbo recording"},
        {"", 0, "empty; not a Zorbo recording"},
        {std::string(RecordingFormat::MaxFileBytes + 1, '\n'), 0, "larger than 8 MB"},
        {kHeader, 5, "stops before the game's first keyboard poll"},
    };
    for (const BadCase& c : cases) {
        const RecordingParse p = ParseRecording(c.text);
        ASSERT_FALSE(p.ok()) << c.says;
        EXPECT_EQ(p.problems.front().line, c.line) << c.says << ": " << p.problems.front().message;
        EXPECT_NE(p.problems.front().message.find(c.says), std::string::npos) << p.problems.front().message;
    }
    // One line naming the file, with a count of the problems not shown.
    const RecordingParse two = ParseRecording(Replace(Replace(good, "k 205", "k 300"), "difficulty 26", "difficulty 5"));
    EXPECT_EQ(two.FirstError("two.rec"),
              "two.rec:4: the difficulty must be 18, 26, 32 or 38 frames per second, not \"5\" (and 1 more problem)");
    // Garbage on every line is listed only so far.
    std::string junk = kHeader;
    for (int i = 0; i < 1000; ++i)
        junk += "x\n";
    const RecordingParse many = ParseRecording(junk);
    EXPECT_TRUE(many.tooManyProblems);
    EXPECT_LE(many.problems.size(), 20u);
}

TEST(RecordingFile, TheWholeGameRecordingReadsBackAndWritesOutByteForByte)
{
    const std::string sample = Sample();
    const RecordingParse p = ParseRecording(sample);
    ASSERT_TRUE(p.ok()) << p.FirstError("standard-normal.rec");
    EXPECT_FALSE(p.recording.cutOff);
    EXPECT_EQ(p.recording.levelSet, "Standard.txt");
    EXPECT_EQ(p.recording.checkpoints.size(), 12u);
    // The last checkpoint comes after the last poll, each poll being one "k" line.
    int polls = 0;
    for (size_t at = sample.find("\nk"); at != std::string::npos; at = sample.find("\nk", at + 1))
        ++polls;
    EXPECT_EQ(p.recording.checkpoints.back().poll, polls);
    EXPECT_EQ(FormatRecording(p.recording), sample);

    // Line ends of another system and a last line without its line end read alike.
    std::string crlf;
    for (char c : sample)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    crlf.resize(crlf.size() - 2);
    const RecordingParse p2 = ParseRecording(crlf);
    ASSERT_TRUE(p2.ok()) << p2.FirstError("crlf.rec");
    EXPECT_EQ(p2.recording, p.recording);
}

TEST(RecordingFile, ACutOffRecordingReadsUpToItsLastCompletePoll)
{
    const std::string sample = Sample();
    // Cut anywhere after the header: in a poll line, right after one, in a tick line, in
    // a checkpoint line.
    const size_t secondCheckpoint = sample.find("\nc ", sample.find("\nc ") + 1);
    ASSERT_NE(secondCheckpoint, std::string::npos);
    for (const size_t cut : {size_t{200}, size_t{1234}, size_t{50000}, secondCheckpoint + 4, sample.size() - 8}) {
        const std::string head = sample.substr(0, cut);
        const RecordingParse p = ParseRecording(head);
        ASSERT_TRUE(p.ok()) << cut << ": " << p.FirstError("cut.rec");
        const Recording& r = p.recording;
        EXPECT_TRUE(r.cutOff);
        ASSERT_FALSE(r.inputs.empty());
        EXPECT_TRUE(r.inputs.back().keys) << "ends on a poll";
        // Every complete poll line of the head is there.
        const std::string complete = head.substr(0, head.rfind('\n') + 1);
        int64_t polls = 0;
        for (size_t at = complete.find("\nk"); at != std::string::npos; at = complete.find("\nk", at + 1))
            ++polls;
        int64_t read = 0;
        for (const Recording::Input& in : r.inputs)
            read += in.keys ? 1 : 0;
        EXPECT_EQ(read, polls) << cut;
        for (const Recording::Checkpoint& c : r.checkpoints)
            EXPECT_LT(c.poll, polls);
        // Written again it stays cut off and reads back the same.
        const RecordingParse again = ParseRecording(FormatRecording(r));
        ASSERT_TRUE(again.ok()) << again.FirstError("again.rec");
        EXPECT_EQ(again.recording, r);
    }
}

// A level-set name runs up to the hash, the last word; spaces in it survive a round trip.
TEST(RecordingFile, LevelSetNamesMayHoldSpaces)
{
    const RecordingParse p = ParseRecording(Replace(kHeader + kGame, "Standard.txt", "My  Levels.txt"));
    ASSERT_TRUE(p.ok()) << p.FirstError("spaces.rec");
    EXPECT_EQ(p.recording.levelSet, "My  Levels.txt");
    EXPECT_EQ(ParseRecording(FormatRecording(p.recording)).recording, p.recording);
    EXPECT_FALSE(IsPlainFileName(" lead.txt"));
    EXPECT_FALSE(IsPlainFileName("a..b.txt"));
}

TEST(RecordingFile, OnlyRegularFilesAreReadAndNoneWaitedOn)
{
    test::TempDir dir;
    const std::string fifo = dir.path() + "pipe.rec";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Guarded: should the read block on the FIFO, a writer is opened to release it.
    auto reading = std::async(std::launch::async, [&] {
        Recording rec;
        std::string error;
        const bool ok = LoadRecording(fifo, rec, error);
        return std::make_pair(ok, error);
    });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        FAIL() << "reading a FIFO blocked";
    }
    const auto [ok, error] = reading.get();
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, fifo + ": is a FIFO, not a regular file");

    Recording rec;
    std::string zeroError;
    EXPECT_FALSE(LoadRecording("/dev/zero", rec, zeroError));
    EXPECT_EQ(zeroError, "/dev/zero: is a character device, not a regular file");
}
