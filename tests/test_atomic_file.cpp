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
    // temporary file as they are written. Each writer has a temporary file of its own.
    AtomicFile file, other;
    std::string reason;
    ASSERT_TRUE(file.Open(target, reason)) << reason;
    ASSERT_TRUE(other.Open(target, reason)) << reason;
    EXPECT_NE(file.Temp(), other.Temp());
    EXPECT_EQ(fs::path(file.Temp()).parent_path(), fs::canonical(dir.path()));
    EXPECT_TRUE(fs::path(file.Temp()).filename().string().starts_with(".zorbo-")) << file.Temp();
    EXPECT_TRUE(file.Write("first "));
    EXPECT_TRUE(file.Write("second"));
    EXPECT_EQ(test::FileBytes(file.Temp()), "first second");
    EXPECT_EQ(test::FileBytes(target), "old");
    ASSERT_TRUE(file.Commit(reason)) << reason;
    EXPECT_EQ(test::FileBytes(target), "first second");
    EXPECT_FALSE(fs::exists(file.Temp()));
    // A replaced file keeps its permissions.
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    other.Discard();

    // A new file and an empty one.
    AtomicFile empty;
    ASSERT_TRUE(empty.Open(dir.path() + "new.txt", reason)) << reason;
    ASSERT_TRUE(empty.Commit(reason)) << reason;
    EXPECT_TRUE(fs::is_regular_file(dir.path() + "new.txt"));
    EXPECT_EQ(fs::file_size(dir.path() + "new.txt"), 0u);
    EXPECT_EQ(test::FolderNames(dir.path()), (std::vector<std::string>{"new.txt", "set.txt"}));
}

TEST(AtomicFile, AFileLeftUnfinishedIsRemovedOrKeptAsChosen)
{
    test::TempDir dir;
    const std::string target = dir.path() + "game.rec";
    const std::string kept = AtomicFile::KeptName(target);
    test::WriteFile(target, "old");
    {
        AtomicFile file;
        std::string reason;
        ASSERT_TRUE(file.Open(target, reason)) << reason;
        file.Write("half");
    }
    EXPECT_EQ(test::FolderNames(dir.path()), std::vector<std::string>{"game.rec"});
    {
        AtomicFile file(AtomicFile::Unfinished::Keep);
        std::string reason;
        ASSERT_TRUE(file.Open(target, reason)) << reason;
        EXPECT_EQ(file.Temp(), fs::canonical(dir.path()).string() + "/game.rec.part");
        file.Write("half");
    }
    EXPECT_EQ(test::FileBytes(kept), "half");
    // What an earlier writer kept is left alone: the next one writes beside it.
    {
        AtomicFile file(AtomicFile::Unfinished::Keep);
        std::string reason;
        ASSERT_TRUE(file.Open(target, reason)) << reason;
        const std::string name = fs::path(file.Temp()).filename().string();
        EXPECT_TRUE(name.starts_with("zorbo-") && name.ends_with(".part")) << name;
        file.Write("other");
    }
    const std::vector<std::string> names = test::FolderNames(dir.path());
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(test::FileBytes(dir.path() + names.back()), "other");
    fs::remove(dir.path() + names.back());
    EXPECT_EQ(test::FileBytes(kept), "half");
    fs::remove(kept);
    {
        AtomicFile file(AtomicFile::Unfinished::Keep);
        std::string reason;
        ASSERT_TRUE(file.Open(target, reason)) << reason;
        file.Discard();
        EXPECT_FALSE(file.IsOpen());
    }
    EXPECT_EQ(test::FolderNames(dir.path()), std::vector<std::string>{"game.rec"});
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
    }
    EXPECT_EQ(test::FolderNames(dir.path()), std::vector<std::string>{"set.txt"}) << "no temporary file is left";
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

    // Something under the name a kept file would have: not ours, so it is written beside it.
    fs::create_directory(AtomicFile::KeptName(target));
    {
        AtomicFile file(AtomicFile::Unfinished::Keep);
        ASSERT_TRUE(file.Open(target, reason)) << reason;
        EXPECT_TRUE(file.Write("new"));
        EXPECT_TRUE(file.Commit(reason)) << reason;
    }
    EXPECT_TRUE(fs::is_directory(AtomicFile::KeptName(target))) << "not ours to remove";
    EXPECT_EQ(test::FileBytes(target), "new");
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
    for (const auto unfinished : {AtomicFile::Unfinished::Remove, AtomicFile::Unfinished::Keep}) {
        AtomicFile in(unfinished);
        EXPECT_FALSE(in.Open(folder + "new.txt", reason));
        EXPECT_EQ(reason.rfind("cannot create ", 0), 0u) << reason;
        EXPECT_FALSE(in.IsOpen());
        EXPECT_FALSE(in.Commit(reason));
    }
    EXPECT_EQ(test::FileBytes(locked + "set.txt"), "old");
    fs::permissions(locked, fs::perms::owner_all);
}

TEST(AtomicFile, ANameOfAnyLegalLengthIsSavedUnderItself)
{
    test::TempDir dir;
    const long nameMax = ::pathconf(dir.path().c_str(), _PC_NAME_MAX);
    ASSERT_GT(nameMax, 10);
    // Too long to take ".part" after it, and as long as a name may be.
    for (const long length : {nameMax - 4, nameMax}) {
        const std::string target = dir.path() + std::string(static_cast<size_t>(length), 'n');
        std::string reason;
        EXPECT_EQ(AtomicFile::WriteWhole(target, "whole", reason), AtomicFile::Outcome::Saved) << reason;
        EXPECT_EQ(test::FileBytes(target), "whole");

        // A kept file that cannot be NAME.part keeps its unique name, which the reason names.
        AtomicFile file(AtomicFile::Unfinished::Keep);
        ASSERT_TRUE(file.Open(target, reason)) << reason;
        file.Write("half");
        const std::string temp = file.Temp();
        file.Close();
        EXPECT_EQ(test::FileBytes(temp), "half");
        EXPECT_TRUE(fs::path(temp).filename().string().starts_with("zorbo-")) << temp;
        fs::remove(temp);
        fs::remove(target);
    }
    EXPECT_TRUE(test::FolderNames(dir.path()).empty());
}

TEST(AtomicFile, ASymbolicLinkStaysOneAndTheFileItLeadsToIsWritten)
{
    test::TempDir dir;
    fs::create_directory(dir.path() + "real");
    fs::create_directory(dir.path() + "links");
    const std::string real = dir.path() + "real/set.txt";
    test::WriteFile(real, "old");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A chain: links/set.txt -> links/middle.txt -> ../real/set.txt.
    fs::create_symlink("../real/set.txt", dir.path() + "links/middle.txt");
    fs::create_symlink("middle.txt", dir.path() + "links/set.txt");

    std::string reason;
    ASSERT_EQ(AtomicFile::WriteWhole(dir.path() + "links/set.txt", "new", reason), AtomicFile::Outcome::Saved) << reason;
    EXPECT_EQ(test::FileBytes(real), "new");
    EXPECT_TRUE(fs::is_symlink(dir.path() + "links/set.txt"));
    EXPECT_EQ(fs::read_symlink(dir.path() + "links/set.txt"), "middle.txt");
    EXPECT_EQ(fs::read_symlink(dir.path() + "links/middle.txt"), "../real/set.txt");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(test::FolderNames(dir.path() + "links"), (std::vector<std::string>{"middle.txt", "set.txt"}));
    EXPECT_EQ(test::FolderNames(dir.path() + "real"), std::vector<std::string>{"set.txt"});
}

TEST(AtomicFile, ALinkThatLeadsNowhereIsRefusedAndLeftAlone)
{
    test::TempDir dir;
    fs::create_symlink("missing.txt", dir.path() + "dangling.txt");
    fs::create_symlink("loop-b.txt", dir.path() + "loop-a.txt");
    fs::create_symlink("loop-a.txt", dir.path() + "loop-b.txt");
    std::string reason;
    AtomicFile file;
    EXPECT_FALSE(file.Open(dir.path() + "dangling.txt", reason));
    EXPECT_EQ(reason, "it is a symbolic link that leads to no file");
    EXPECT_EQ(AtomicFile::WriteWhole(dir.path() + "loop-a.txt", "x", reason), AtomicFile::Outcome::NotOpened);
    EXPECT_EQ(reason, "it is a symbolic link that leads round in a loop");
    EXPECT_EQ(test::FolderNames(dir.path()), (std::vector<std::string>{"dangling.txt", "loop-a.txt", "loop-b.txt"}));
    EXPECT_TRUE(fs::is_symlink(dir.path() + "dangling.txt"));
}
