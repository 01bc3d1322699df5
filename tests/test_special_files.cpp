// Files of outside data that are not plain files, or cannot be read: every reader refuses
// them at once, naming the file and the reason, instead of blocking or failing vaguely.
#include "TestData.h"
#include "media/BitmapFile.h"
#include "media/RegularFile.h"
#include "media/SdlPlatform.h"
#include "level/LevelCheck.h"
#include "level/LevelFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

using namespace zorbo;

namespace {

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs read against a FIFO nobody writes to. Should the reader wait for a writer after
// all, a watchdog opens the write end after two seconds and closes it again, so the test
// fails instead of hanging. Returns the seconds read took.
double ReadFifoGuarded(const std::string& fifo, const std::function<void()>& read)
{
    std::atomic<bool> done{false};
    std::thread watchdog([&] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (!done) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    });
    const auto start = std::chrono::steady_clock::now();
    read();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    done = true;
    watchdog.join();
    return seconds;
}

struct SpecialFiles : testing::Test {
    test::TempDir dir;
    std::string fifo = dir.path() + "fifo";
    void SetUp() override { ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0); }
};

} // namespace

TEST_F(SpecialFiles, TheReaderRefusesWhatIsNoPlainFileAndNamesTheReason)
{
    std::string bytes, reason;
    const double seconds = ReadFifoGuarded(fifo, [&] {
        EXPECT_EQ(ReadRegularFile(fifo, 1000, bytes, reason), FileError::NotRegular);
    });
    EXPECT_LT(seconds, 1.0) << "the FIFO blocked the reader";
    EXPECT_EQ(reason, "is a FIFO, not a regular file");

    EXPECT_EQ(ReadRegularFile(dir.path(), 1000, bytes, reason), FileError::NotRegular);
    EXPECT_EQ(reason, "is a folder, not a regular file");
    EXPECT_EQ(ReadRegularFile("/dev/zero", 1000, bytes, reason), FileError::NotRegular);
    EXPECT_EQ(reason, "is a character device, not a regular file");

    EXPECT_EQ(ReadRegularFile(dir.path() + "missing", 1000, bytes, reason), FileError::CannotOpen);
    EXPECT_EQ(reason, "cannot be opened: no such file or directory");
    // A path through a plain file: the reason is the system's, whatever it is.
    WriteBytes(dir.path() + "plain", "abc");
    EXPECT_EQ(ReadRegularFile(dir.path() + "plain/x", 1000, bytes, reason), FileError::CannotOpen);
    EXPECT_EQ(reason, "cannot be opened: not a directory");
}

TEST_F(SpecialFiles, APlainFileIsReadWholeUpToTheLimit)
{
    const std::string text(3000, 'x');
    WriteBytes(dir.path() + "plain", text);
    std::string bytes, reason;
    EXPECT_EQ(ReadRegularFile(dir.path() + "plain", 3000, bytes, reason), FileError::None);
    EXPECT_EQ(bytes, text);
    EXPECT_EQ(ReadRegularFile(dir.path() + "plain", 2999, bytes, reason), FileError::TooLarge);
    EXPECT_EQ(reason, "is larger than 2999 bytes");
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadRegularFile(dir.path() + "plain", 2048, bytes, reason), FileError::TooLarge);
    EXPECT_EQ(reason, "is larger than 2 kB");
}

TEST_F(SpecialFiles, ALevelSetThatIsAFifoIsRefusedAtOnce)
{
    LevelCheckResult check;
    const double seconds = ReadFifoGuarded(fifo, [&] { check = CheckLevelSet(fifo); });
    EXPECT_LT(seconds, 1.0);
    EXPECT_FALSE(check.ok());
    EXPECT_NE(check.Report(fifo).find(fifo + ": error: the file is a FIFO, not a regular file"), std::string::npos)
        << check.Report(fifo);

    // Swapped in during play: the reload ends the game with the reason instead of freezing.
    test::Game g;
    ::unlink((g.data.path() + "Standard.txt").c_str());
    ASSERT_EQ(::mkfifo((g.data.path() + "Standard.txt").c_str(), 0600), 0);
    const double reload = ReadFifoGuarded(g.data.path() + "Standard.txt", [&] { g->LoadLevelData(); });
    EXPECT_LT(reload, 1.0);
    EXPECT_TRUE(g->Failed());
    EXPECT_NE(g->Failure().find("Standard.txt"), std::string::npos) << g->Failure();
    EXPECT_NE(g->Failure().find("is a FIFO"), std::string::npos) << g->Failure();
}

TEST_F(SpecialFiles, BitmapsAndWavesThatCannotBeReadAreNamedWithTheReason)
{
    Surface picture;
    std::string error;
    const double seconds = ReadFifoGuarded(fifo, [&] { EXPECT_FALSE(DecodeBitmap(fifo, picture, error)); });
    EXPECT_LT(seconds, 1.0);
    EXPECT_EQ(error, "is a FIFO, not a regular file");

    // What SDL would have called "Parameter 'src' is invalid".
    WriteBytes(dir.path() + "plain", "abc");
    EXPECT_FALSE(DecodeBitmap(dir.path() + "plain/m001.bmp", picture, error));
    EXPECT_EQ(error, "cannot be opened: not a directory");
    EXPECT_FALSE(DecodeBitmap(dir.path() + "plain", picture, error));
    EXPECT_NE(error.find("is not a usable BMP file"), std::string::npos) << error;

    SdlPlatform platform({}, ZORBO_TEST_BUILD_DIR);
    ASSERT_TRUE(platform.OpenAudio());
    const double wave = ReadFifoGuarded(fifo, [&] { EXPECT_FALSE(platform.LoadSound(3, fifo, error)); });
    EXPECT_LT(wave, 1.0);
    EXPECT_EQ(error, "is a FIFO, not a regular file");
    platform.CloseAudio();
}
