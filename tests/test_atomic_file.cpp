#include "LevelText.h"
#include "TestData.h"
#include "media/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace zorbo;
namespace fs = std::filesystem;

namespace {

// Files of this process may not grow past `bytes` while it lives: a write beyond fails
// with "file too large" instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace

TEST(AtomicFile, TheTargetAppearsWholeOnlyWhenCommitted)
{
    test::TempDir dir;
    const std::string target = dir.path() + "set.txt";
    test::WriteFile(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);

    // Written piece by piece: the old file stays until the commit, the pieces reach the
    // temporary file as they are written.
    AtomicFile file;
    std::string reason;
    ASSERT_TRUE(file.Open(target, reason)) << reason;
    EXPECT_EQ(file.Temp(), AtomicFile::TempName(target));
    EXPECT_TRUE(file.Write("first "));
    EXPECT_TRUE(file.Write("second"));
    EXPECT_EQ(test::FileBytes(file.Temp()), "first second");
    EXPECT_EQ(test::FileBytes(target), "old");
    ASSERT_TRUE(file.Commit(reason)) << reason;
    EXPECT_EQ(test::FileBytes(target), "first second");
    EXPECT_FALSE(fs::exists(file.Temp()));
    // A replaced file keeps its permissions.
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    // A new file and an empty one.
    AtomicFile empty;
    ASSERT_TRUE(empty.Open(dir.path() + "new.txt", reason)) << reason;
    ASSERT_TRUE(empty.Commit(reason)) << reason;
    EXPECT_TRUE(fs::is_regular_file(dir.path() + "new.txt"));
    EXPECT_EQ(fs::file_size(dir.path() + "new.txt"), 0u);
}

TEST(AtomicFile, AFileLeftUnfinishedIsRemovedOrKeptAsChosen)
{
    test::TempDir dir;
    const std::string target = dir.path() + "game.rec";
    test::WriteFile(target, "old");
    {
        AtomicFile file;
        std::string reason;
        ASSERT_TRUE(file.Open(target, reason)) << reason;
        file.Write("half");
    }
    EXPECT_FALSE(fs::exists(AtomicFile::TempName(target)));
    {
        AtomicFile file(AtomicFile::Unfinished::Keep);
        std::string reason;
        ASSERT_TRUE(file.Open(target, reason)) << reason;
        file.Write("half");
    }
    EXPECT_EQ(test::FileBytes(AtomicFile::TempName(target)), "half");
    {
        AtomicFile file(AtomicFile::Unfinished::Keep);
        std::string reason;
        ASSERT_TRUE(file.Open(target, reason)) << reason;
        file.Discard();
        EXPECT_FALSE(file.IsOpen());
    }
    EXPECT_FALSE(fs::exists(AtomicFile::TempName(target)));
    EXPECT_EQ(test::FileBytes(target), "old");
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileWholeAndSaysWhy)
{
    test::TempDir dir;
    const std::string target = dir.path() + "set.txt";
    test::WriteFile(target, "old");
    std::string reason;

    // The disk refuses the bytes.
    {
        AtomicFile file;
        ASSERT_TRUE(file.Open(target, reason)) << reason;
        {
            FileSizeLimit limit(4);
            EXPECT_FALSE(file.Write("more than four bytes"));
        }
        EXPECT_FALSE(file.Write("x")) << "nothing more after a failure";
        EXPECT_FALSE(file.Commit(reason));
        EXPECT_FALSE(file.Written());
        EXPECT_EQ(reason, "cannot write " + file.Temp() + ": file too large");
        EXPECT_FALSE(fs::exists(file.Temp()));
    }
    EXPECT_EQ(test::FileBytes(target), "old");

    // Something in the way of the rename: the bytes were written, the target stays.
    {
        const std::string blocked = dir.path() + "blocked.txt";
        AtomicFile file;
        ASSERT_TRUE(file.Open(blocked, reason)) << reason;
        EXPECT_TRUE(file.Write("new"));
        fs::create_directories(blocked + "/inside");
        EXPECT_FALSE(file.Commit(reason));
        EXPECT_TRUE(file.Written());
        EXPECT_EQ(reason.rfind("cannot rename " + file.Temp() + " to " + blocked + ": ", 0), 0u) << reason;
        EXPECT_FALSE(fs::exists(file.Temp()));
        EXPECT_TRUE(fs::is_directory(blocked + "/inside"));
    }

    // Something in the way of the temporary file.
    fs::create_directory(AtomicFile::TempName(target));
    {
        AtomicFile file;
        EXPECT_FALSE(file.Open(target, reason));
        EXPECT_EQ(reason.rfind("cannot create " + AtomicFile::TempName(target) + ": ", 0), 0u) << reason;
    }
    EXPECT_TRUE(fs::is_directory(AtomicFile::TempName(target))) << "not ours to remove";
    EXPECT_EQ(test::FileBytes(target), "old");
}

TEST(AtomicFile, OnlyARegularFileInAWritableFolderIsWritten)
{
    test::TempDir dir;
    std::string reason;
    AtomicFile file;
    EXPECT_FALSE(file.Open(dir.path(), reason));
    EXPECT_EQ(reason, "it is a folder, not a regular file");
    EXPECT_FALSE(file.Open("/dev/null", reason));
    EXPECT_NE(reason.find("not a regular file"), std::string::npos) << reason;
    EXPECT_FALSE(file.Open(dir.path() + "no/such/folder/set.txt", reason));
    EXPECT_NE(reason.find("no such file"), std::string::npos) << reason;

    // A folder this process may not write to. Root writes wherever the mode bits say no,
    // but nobody creates files in /proc/self.
    const std::string locked = dir.path() + "locked/";
    fs::create_directory(locked);
    test::WriteFile(locked + "set.txt", "old");
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const std::string folder = ::access(locked.c_str(), W_OK) == 0 ? "/proc/self/" : locked;
    EXPECT_FALSE(file.Open(folder + "new.txt", reason));
    EXPECT_EQ(reason.rfind("cannot create " + folder + "new.txt.part: ", 0), 0u) << reason;
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Commit(reason));
    EXPECT_EQ(test::FileBytes(locked + "set.txt"), "old");
    fs::permissions(locked, fs::perms::owner_all);
}
