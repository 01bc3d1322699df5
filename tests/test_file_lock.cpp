// One writer per file name: locks held by this process and refused to another.
#include "LevelText.h"
#include "TestData.h"
#include "media/FileLock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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

// Keeps the locks in DIR/zorbo, a folder of the test's own, while it lives.
class RuntimeFolder {
public:
    RuntimeFolder() { FileLock::UseFolderForTests(dir_.path() + "zorbo"); }
    ~RuntimeFolder() { FileLock::UseFolderForTests({}); }
    std::string Path() const { return dir_.path(); }

private:
    test::TempDir dir_;
};

// Sets an environment variable while it lives.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        had_ = std::getenv(name) != nullptr;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() { had_ ? ::setenv(name_, old_.c_str(), 1) : ::unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::string old_;
    bool had_ = false;
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

// Every Zorbo of a user locks in one folder whatever its environment: a game started with
// a runtime folder and one started without must not both record to one file.
TEST(FileLock, TheFolderDoesNotDependOnTheEnvironment)
{
    test::TempDir dir;
    const std::string path = dir.path() + "game.rec";
    const std::string usual = FileLock::Folder();
    ASSERT_FALSE(usual.empty());
    FileLock lock;
    std::string reason;
    ASSERT_TRUE(lock.Acquire(path, reason)) << reason;

    test::TempDir elsewhere;
    const int other = test::InOtherProcess([&] {
        ScopedVariable runtime("XDG_RUNTIME_DIR", elsewhere.path());
        ScopedVariable temporary("TMPDIR", elsewhere.path());
        if (FileLock::Folder() != usual)
            return 3;
        FileLock second;
        std::string why;
        return second.Acquire(path, why) ? 0 : second.Busy() ? 2 : 1;
    });
    EXPECT_EQ(other, 2) << "3: another folder; 0: the second game locked it too";
    EXPECT_TRUE(test::FolderNames(elsewhere.path()).empty());
}

// Another user who takes the temporary folder's name first defeats nothing: the locks move
// to the user's home, for every Zorbo of the user alike.
TEST(FileLock, ANameTakenByAnotherUserLeadsToTheHome)
{
    test::TempDir root;
    const std::string uid = std::to_string(::getuid());
    const std::string run = root.path() + "run", tmp = root.path() + "tmp", home = root.path() + "home";
    for (const std::string& folder : {run, tmp, home})
        fs::create_directory(folder);
    std::string reason;
    fs::create_directory(run + "/" + uid);
    ::chmod((run + "/" + uid).c_str(), 0700);
    EXPECT_EQ(FileLock::FolderAmong(run, tmp, home, reason), run + "/" + uid + "/zorbo") << reason;
    fs::remove_all(run + "/" + uid);
    EXPECT_EQ(FileLock::FolderAmong(run, tmp, home, reason), tmp + "/zorbo-" + uid) << reason;

    // Taken first as a file, as a folder open to all, or as a folder of another user.
    const std::string taken = tmp + "/zorbo-" + uid;
    fs::remove(taken);
    test::WriteFile(taken, "");
    EXPECT_EQ(FileLock::FolderAmong(run, tmp, home, reason), home + "/.cache/zorbo-locks") << reason;
    fs::remove(taken);
    fs::create_directory(taken);
    ::chmod(taken.c_str(), 0777);
    EXPECT_EQ(FileLock::FolderAmong(run, tmp, home, reason), home + "/.cache/zorbo-locks") << reason;
    if (::geteuid() == 0) {
        ::chmod(taken.c_str(), 0700);
        ASSERT_EQ(::chown(taken.c_str(), 65534, 65534), 0);
        EXPECT_EQ(FileLock::FolderAmong(run, tmp, home, reason), home + "/.cache/zorbo-locks") << reason;
    }
    struct stat st {};
    ASSERT_EQ(::stat((home + "/.cache/zorbo-locks").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // Without a home of its own there is no place left: said, not guessed.
    EXPECT_EQ(FileLock::FolderAmong(run, tmp, "", reason), "");
    EXPECT_NE(reason.find("not a private folder"), std::string::npos) << reason;
}
