// One writer per file name: locks held by this process and refused to another.
#include "LevelText.h"
#include "TestData.h"
#include "media/FileLock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

using namespace zorbo;
namespace fs = std::filesystem;

namespace {

// 0 when a process of its own may take path's lock, 2 when another holds it, 1 otherwise.
int OtherProcessLocks(const std::string& path)
{
    return test::InOtherProcess([&path] {
        FileLock lock;
        std::string reason;
        return lock.Acquire(path, reason) ? 0 : lock.Busy() ? 2 : 1;
    });
}

// Points XDG_RUNTIME_DIR at a folder of the test's own while it lives.
class RuntimeFolder {
public:
    RuntimeFolder()
    {
        if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
            old_ = old;
        ::setenv("XDG_RUNTIME_DIR", dir_.path().c_str(), 1);
    }
    ~RuntimeFolder()
    {
        if (old_.empty())
            ::unsetenv("XDG_RUNTIME_DIR");
        else
            ::setenv("XDG_RUNTIME_DIR", old_.c_str(), 1);
    }
    std::string Path() const { return dir_.path(); }

private:
    test::TempDir dir_;
    std::string old_;
};

} // namespace

TEST(FileLock, ANameIsHeldByOneProcessUntilItsLastHolderLetsGo)
{
    RuntimeFolder runtime;
    test::TempDir dir;
    const std::string path = dir.path() + "set.txt";
    test::WriteFile(path, "x");
    fs::create_symlink("set.txt", dir.path() + "link.txt");
    std::string reason;

    FileLock first;
    ASSERT_TRUE(first.Acquire(path, reason)) << reason;
    EXPECT_EQ(first.Key(), fs::canonical(path).string());
    EXPECT_EQ(OtherProcessLocks(path), 2);
    EXPECT_EQ(OtherProcessLocks(dir.path() + "link.txt"), 2) << "a link names the file it leads to";

    // This process may hold the name again, through copies too.
    FileLock second;
    ASSERT_TRUE(second.Acquire(dir.path() + "link.txt", reason)) << reason;
    FileLock copy = second;
    FileLock moved = std::move(first);
    EXPECT_FALSE(first.Held());
    second.Release();
    moved.Release();
    EXPECT_EQ(OtherProcessLocks(path), 2) << "the copy still holds it";
    copy.Release();
    EXPECT_EQ(OtherProcessLocks(path), 0);
    // No lock file stays behind, and the player's folder never gets one.
    EXPECT_TRUE(test::FolderNames(runtime.Path() + "zorbo").empty());
    EXPECT_EQ(test::FolderNames(dir.path()), (std::vector<std::string>{"link.txt", "set.txt"}));
}

TEST(FileLock, TakingAnotherNameLetsGoOfTheFirstAndANewFileCanBeLocked)
{
    RuntimeFolder runtime;
    test::TempDir dir;
    const std::string a = dir.path() + "a.rec", b = dir.path() + "b.rec"; // neither exists yet
    std::string reason;
    FileLock lock;
    ASSERT_TRUE(lock.Acquire(a, reason)) << reason;
    EXPECT_EQ(OtherProcessLocks(a), 2);
    ASSERT_TRUE(lock.Acquire(b, reason)) << reason;
    EXPECT_EQ(OtherProcessLocks(a), 0);
    EXPECT_EQ(OtherProcessLocks(b), 2);
    EXPECT_FALSE(fs::exists(a));
    EXPECT_FALSE(fs::exists(b));

    // A name that cannot be resolved is no lock, and not "busy".
    FileLock none;
    EXPECT_FALSE(none.Acquire(dir.path() + "no/such/folder/c.rec", reason));
    EXPECT_FALSE(none.Busy());
    EXPECT_FALSE(none.Held());
}

TEST(FileLock, ALockFileOrFolderPlantedByOthersIsNotUsed)
{
    RuntimeFolder runtime;
    test::TempDir dir;
    const std::string path = dir.path() + "set.txt";
    test::WriteFile(path, "x");
    const std::string folder = runtime.Path() + "zorbo";
    fs::create_directory(folder);
    ::chmod(folder.c_str(), 0700);
    EXPECT_EQ(FileLock::Folder(), folder);

    // A link in place of the lock file is not followed.
    const std::string victim = dir.path() + "victim";
    fs::create_symlink(victim, FileLock::FileOf(fs::canonical(path).string()));
    FileLock lock;
    std::string reason;
    EXPECT_FALSE(lock.Acquire(path, reason));
    EXPECT_FALSE(lock.Busy());
    EXPECT_NE(reason.find("lock file"), std::string::npos) << reason;
    EXPECT_FALSE(fs::exists(victim));
    fs::remove(FileLock::FileOf(fs::canonical(path).string()));

    // A lock folder others may write to is refused.
    ::chmod(folder.c_str(), 0777);
    EXPECT_FALSE(lock.Acquire(path, reason));
    EXPECT_NE(reason.find("not a private folder"), std::string::npos) << reason;
    ::chmod(folder.c_str(), 0700);
    EXPECT_TRUE(lock.Acquire(path, reason)) << reason;
}
