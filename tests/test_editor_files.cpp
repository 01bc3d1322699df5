// The level editor's files never lose a level maker's work: a file changed or deleted by
// someone else is told before it is saved over, a file that cannot be read is refused rather
// than opened empty, unsaved changes are kept in a recovery copy, and an editor that was
// killed leaves no test game running and no play folder behind for good.
#include "EditorDoc.h"
#include "LevelText.h"
#include "TestData.h"
#include "editor/LevelDocument.h"
#include "editor/Recovery.h"
#include "editor/TestPlay.h"
#include "media/ChildProcess.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

using namespace zorbo;
using editor::DiskChange;
using editor::LevelDocument;

namespace fs = std::filesystem;

namespace {

// A set of ten levels whose first cell holds a ground top, as a file would.
const std::string kSet = [] {
    std::string text;
    for (int level = 1; level <= 10; ++level) {
        text += "*Level " + std::to_string(level) + "\n";
        for (int row = 0; row < 15; ++row)
            text += std::string(row == 14 ? "{" : "") + "\n";
    }
    return text;
}();

LevelDocument LoadOk(const std::string& path)
{
    std::string error;
    std::optional<LevelDocument> doc = LevelDocument::Load(path, error);
    EXPECT_TRUE(doc) << error;
    return doc ? std::move(*doc) : LevelDocument();
}

// A process that is gone or a zombie waiting for a parent that does not reap it.
bool Ended(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const size_t close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

// The id of a process that has ended and been waited for.
pid_t DeadPid()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value != nullptr)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

// ---- a file changed on disk since it was read

TEST(EditorFiles, AFileChangedByAnotherProgramIsToldBeforeItIsSavedOver)
{
    test::TempDir dir;
    const std::string path = dir.path() + "set.txt";
    test::WriteFile(path, kSet);
    LevelDocument doc = LoadOk(path);
    doc.Paint(0, 3, 4, Tile::GroundTop);
    EXPECT_EQ(doc.ChangedOnDisk(path), DiskChange::Same);

    // The same bytes written again (a touch, a copy of the same file) are no change.
    test::WriteFile(path, kSet);
    EXPECT_EQ(doc.ChangedOnDisk(path), DiskChange::Same);

    // Another program's edit of one byte, the size unchanged, is seen by the bytes' hash.
    std::string theirs = kSet;
    theirs[theirs.find('{')] = '|';
    test::WriteFile(path, theirs);
    EXPECT_EQ(doc.ChangedOnDisk(path), DiskChange::Changed);
    test::WriteFile(path, theirs + "\n");
    EXPECT_EQ(doc.ChangedOnDisk(path), DiskChange::Changed);

    // Reload: the file as the other program left it, with nothing of the edit.
    LevelDocument reloaded = LoadOk(path);
    EXPECT_EQ(reloaded.ToBytes(), theirs + "\n");
    EXPECT_EQ(reloaded.ChangedOnDisk(path), DiskChange::Same);

    // Overwrite: the edit is saved, and the next save asks nothing.
    std::string error;
    ASSERT_TRUE(doc.Save(path, error)) << error;
    EXPECT_EQ(test::FileBytes(path), doc.ToBytes());
    EXPECT_EQ(doc.ChangedOnDisk(path), DiskChange::Same);
    doc.Paint(0, 3, 5, Tile::GroundTop);
    EXPECT_EQ(doc.ChangedOnDisk(path), DiskChange::Same);

    // Deleted since: told apart from a change, so that the question can say so.
    fs::remove(path);
    EXPECT_EQ(doc.ChangedOnDisk(path), DiskChange::Deleted);
    ASSERT_TRUE(doc.Save(path, error)) << error;
    EXPECT_EQ(doc.ChangedOnDisk(path), DiskChange::Same);
}

TEST(EditorFiles, ANewSetAsksWhenAFileAppearedWhereItIsToBeSaved)
{
    test::TempDir dir;
    const std::string path = dir.path() + "new.txt";
    bool isNew = false;
    std::string error;
    std::optional<LevelDocument> doc = LevelDocument::LoadOrNew(path, isNew, error);
    ASSERT_TRUE(doc) << error;
    EXPECT_TRUE(isNew);
    EXPECT_EQ(doc->ChangedOnDisk(path), DiskChange::Same);
    test::WriteFile(path, kSet);
    EXPECT_EQ(doc->ChangedOnDisk(path), DiskChange::Changed);

    // Save as to another file: that file was never read here, so there is nothing to compare.
    EXPECT_EQ(doc->ChangedOnDisk(dir.path() + "other.txt"), DiskChange::Same);
    test::WriteFile(dir.path() + "other.txt", "x");
    EXPECT_EQ(doc->ChangedOnDisk(dir.path() + "other.txt"), DiskChange::Same);
}

// ---- files that cannot be read are refused

TEST(EditorFiles, OnlyAFileThatIsNotThereStartsANewSet)
{
    test::TempDir dir;
    test::WriteFile(dir.path() + "plain", "not a folder");
    struct Case {
        std::string path;
        std::string reason; // empty: a new set
    };
    const Case cases[] = {
        {dir.path() + "missing.txt", ""},
        {dir.path() + "plain/set.txt", "cannot be opened: not a directory"},
        {dir.path() + std::string(300, 'n') + ".txt", "cannot be opened: file name too long"},
        {dir.path() + "no-folder/set.txt", "cannot be opened: its folder " + dir.path() + "no-folder does not exist"},
    };
    for (const Case& c : cases) {
        bool isNew = false;
        std::string error;
        const std::optional<LevelDocument> doc = LevelDocument::LoadOrNew(c.path, isNew, error);
        EXPECT_EQ(doc.has_value(), c.reason.empty()) << c.path;
        EXPECT_EQ(isNew, c.reason.empty()) << c.path;
        if (!c.reason.empty()) {
            EXPECT_EQ(error, c.path + " " + c.reason);
        }
    }
}

TEST(EditorFiles, AFileInAFolderTheUserMayNotSearchIsRefused)
{
    test::TempDir dir;
    const std::string folder = dir.path() + "private";
    fs::create_directory(folder);
    test::WriteFile(folder + "/set.txt", kSet);
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(folder.c_str(), 0600);
    // 0: refused as permission denied; 1: opened as a new set; 2: something else.
    const auto tryOpen = [&folder] {
        bool isNew = false;
        std::string error;
        const std::optional<LevelDocument> doc = LevelDocument::LoadOrNew(folder + "/set.txt", isNew, error);
        if (doc)
            return isNew ? 1 : 2;
        return error == folder + "/set.txt cannot be opened: permission denied" ? 0 : 2;
    };
    int outcome = 2;
    if (::geteuid() != 0) {
        outcome = tryOpen();
    } else {
        // Root searches every folder: the open is tried by a child that becomes nobody.
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)
                ::_exit(3);
            ::_exit(tryOpen());
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        outcome = WIFEXITED(status) ? WEXITSTATUS(status) : 4;
        if (outcome == 3) {
            ::chmod(folder.c_str(), 0700);
            GTEST_SKIP() << "root cannot become nobody here, and root may search any folder";
        }
    }
    ::chmod(folder.c_str(), 0700);
    EXPECT_EQ(outcome, 0) << "1: opened as a new, empty set; 2: refused with another reason";
}

// ---- the recovery copy

TEST(EditorRecovery, TheCopyMapsBackToItsFileAndNoOther)
{
    const std::string folder = "/state/zorbo";
    const std::string a = editor::RecoveryFile(folder, "/home/maker/levels/set.txt");
    EXPECT_EQ(a.rfind(folder + "/", 0), 0u);
    EXPECT_NE(a.find("-set.txt.recover"), std::string::npos) << a;
    EXPECT_EQ(editor::RecoveryFile(folder, "/home/maker/levels/../levels/set.txt"), a);
    EXPECT_NE(editor::RecoveryFile(folder, "/home/maker/other/set.txt"), a);
    EXPECT_NE(editor::RecoveryFile(folder, ""), a);
    EXPECT_NE(editor::RecoveryFile(folder, "").find("Untitled"), std::string::npos);
    // A long name is cut so that the copy's own name stays within 255 bytes.
    const std::string longName = editor::RecoveryFile(folder, "/l/" + std::string(251, 'x'));
    EXPECT_LE(fs::path(longName).filename().string().size(), 255u);

    const std::string bytes = editor::RecoveryBytes("/odd\nname 12 .txt", std::string("\0\xFF*1\r\n", 6));
    const std::optional<editor::RecoveredSet> back = editor::ReadRecoveryBytes(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->path, "/odd\nname 12 .txt");
    EXPECT_EQ(back->text, std::string("\0\xFF*1\r\n", 6));
    for (size_t cut = 0; cut < bytes.size() - 6; ++cut)
        EXPECT_FALSE(editor::ReadRecoveryBytes(bytes.substr(0, cut))) << cut;
    EXPECT_FALSE(editor::ReadRecoveryBytes("zorbo-edit recovery of 99999999999 /x\n"));
    EXPECT_FALSE(editor::ReadRecoveryBytes(kSet));
}

TEST(EditorRecovery, TheFolderFollowsTheStateHome)
{
    {
        ScopedEnv state("XDG_STATE_HOME", "/st");
        EXPECT_EQ(editor::RecoveryFolder(), "/st/zorbo");
    }
    ScopedEnv home("HOME", "/home/maker");
    {
        ScopedEnv state("XDG_STATE_HOME", nullptr);
        EXPECT_EQ(editor::RecoveryFolder(), "/home/maker/.local/state/zorbo");
    }
    ScopedEnv state("XDG_STATE_HOME", "relative"); // not absolute: ignored, as the standard asks
    EXPECT_EQ(editor::RecoveryFolder(), "/home/maker/.local/state/zorbo");
}

TEST(EditorRecovery, AnUnsavedEditComesBackUntilItIsSavedOrDiscarded)
{
    test::TempDir dir;
    const std::string path = dir.path() + "set.txt";
    test::WriteFile(path, kSet);
    LevelDocument doc = LoadOk(path);
    doc.Paint(2, 7, 9, Tile::GroundTop);

    const std::string folder = dir.path() + "state/zorbo";
    const std::string file = editor::RecoveryFile(folder, path);
    std::string reason;
    ASSERT_TRUE(editor::WriteRecovery(file, path, doc.ToBytes(), reason)) << reason;
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // Opened again: the copy is found for its file, not for another that shares its name.
    EXPECT_FALSE(editor::FindRecovery(file, dir.path() + "elsewhere/set.txt"));
    const std::optional<editor::RecoveryCopy> copy = editor::FindRecovery(file, path);
    ASSERT_TRUE(copy);
    EXPECT_GT(copy->written, 0);
    LevelDocument onDisk = LoadOk(path);
    std::string error;
    std::optional<LevelDocument> recovered = LevelDocument::Recovered(onDisk, copy->text, error);
    ASSERT_TRUE(recovered) << error;
    EXPECT_EQ(recovered->Code(2, 7, 9), Tile::GroundTop);
    EXPECT_TRUE(recovered->Modified()) << "recovered changes are not in the file yet";
    EXPECT_EQ(recovered->ChangedOnDisk(path), DiskChange::Same);
    ASSERT_TRUE(recovered->Save(path, error)) << error;
    EXPECT_FALSE(recovered->Modified());
    EXPECT_EQ(LoadOk(path).Code(2, 7, 9), Tile::GroundTop);

    editor::RemoveRecovery(file);
    EXPECT_FALSE(editor::FindRecovery(file, path));
    EXPECT_FALSE(LevelDocument::Recovered(onDisk, "*1\n\x01\n", error)) << "a byte that is no tile code";
}

// A copy written before another program changed the file holds edits of an older file:
// saving it must ask first, as for any change made elsewhere.
TEST(EditorRecovery, ACopyOlderThanTheFileAsksBeforeItIsSaved)
{
    test::TempDir dir;
    const std::string path = dir.path() + "set.txt";
    test::WriteFile(path, kSet);
    const std::string file = editor::RecoveryFile(dir.path() + "state", path);
    std::string reason, error;
    {
        LevelDocument doc = LoadOk(path);
        doc.Paint(2, 7, 9, Tile::GroundTop);
        ASSERT_TRUE(editor::WriteRecovery(file, path, doc.ToBytes(), reason)) << reason;
    }
    std::optional<editor::RecoveryCopy> copy = editor::FindRecovery(file, path);
    ASSERT_TRUE(copy);
    EXPECT_FALSE(copy->olderThanFile);

    // Another program saves the file a moment after the copy was written.
    std::string changed = kSet;
    changed.insert(changed.find('\n') + 1, "a");
    test::WriteFile(path, changed);
    struct stat copySt {};
    ASSERT_EQ(::stat(file.c_str(), &copySt), 0);
    const timespec later[2] = {copySt.st_mtim, {copySt.st_mtim.tv_sec + 1, copySt.st_mtim.tv_nsec}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
    copy = editor::FindRecovery(file, path);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->olderThanFile);

    LevelDocument onDisk = LoadOk(path);
    std::optional<LevelDocument> recovered = LevelDocument::Recovered(onDisk, copy->text, error, copy->olderThanFile);
    ASSERT_TRUE(recovered) << error;
    EXPECT_EQ(recovered->ChangedOnDisk(path), DiskChange::Changed);
    // Saved over once the maker says so: from then on the file is this editor's again.
    ASSERT_TRUE(recovered->Save(path, error)) << error;
    EXPECT_EQ(recovered->ChangedOnDisk(path), DiskChange::Same);
}

// Sets without a file keep a copy each, named per window; a copy whose editor still runs is
// never offered to another, and one left by an ended editor is.
TEST(EditorRecovery, EachSetWithoutAFileKeepsACopyOfItsOwn)
{
    test::TempDir dir;
    const std::string folder = dir.path() + "state";
    fs::create_directory(folder);
    editor::UntitledCopy running = editor::NewUntitledCopy(folder);
    editor::UntitledCopy ended = editor::NewUntitledCopy(folder);
    ASSERT_NE(running.file, ended.file);
    EXPECT_TRUE(running.lock.Held());
    std::string reason;
    LevelDocument a, b;
    a.Paint(0, 1, 1, Tile::GroundTop);
    b.Paint(0, 2, 2, Tile::GroundTop);
    ASSERT_TRUE(editor::WriteRecovery(running.file, "", a.ToBytes(), reason)) << reason;
    ASSERT_TRUE(editor::WriteRecovery(ended.file, "", b.ToBytes(), reason)) << reason;
    ended.lock.Release();
    // A copy of a set with a file, and one under the name earlier editors shared.
    ASSERT_TRUE(editor::WriteRecovery(editor::RecoveryFile(folder, dir.path() + "set.txt"), dir.path() + "set.txt",
                                      a.ToBytes(), reason));
    const std::string shared = editor::RecoveryFile(folder, "");
    ASSERT_TRUE(editor::WriteRecovery(shared, "", a.ToBytes(), reason));

    // Looked for by another editor, as one started without a file does.
    const int found = test::InOtherProcess([&] {
        const std::vector<std::string> files = editor::AbandonedUntitledCopies(folder);
        const bool both = files.size() == 2 && std::count(files.begin(), files.end(), ended.file) == 1 &&
                          std::count(files.begin(), files.end(), shared) == 1;
        return both ? 0 : static_cast<int>(files.size()) + 10;
    });
    EXPECT_EQ(found, 0) << "10 + how many were found";
    const std::optional<editor::RecoveryCopy> copy = editor::FindRecovery(ended.file, "");
    ASSERT_TRUE(copy);
    std::string error;
    EXPECT_EQ(LevelDocument::FromBytes(copy->text, error)->Code(0, 2, 2), Tile::GroundTop);
    // This editor's own copy is not offered back to it.
    const std::vector<std::string> own = editor::AbandonedUntitledCopies(folder, ended.file);
    EXPECT_EQ(std::count(own.begin(), own.end(), ended.file), 0);
}

// With no lock folder to be had, a file is still edited, the editor says it is not
// locked, and a change made elsewhere is still asked about before saving.
TEST(EditorRecovery, AFileThatCannotBeLockedIsSaidSoAndStillGuarded)
{
    test::TempDir dir;
    const std::string notAFolder = dir.path() + "locks";
    test::WriteFile(notAFolder, "");
    FileLock::UseFolderForTests(notAFolder);
    const std::string path = dir.path() + "set.txt";
    test::WriteFile(path, kSet);
    LevelDocument doc = LoadOk(path);
    EXPECT_NE(doc.LockProblem().find("lock folder " + notAFolder), std::string::npos) << doc.LockProblem();
    doc.Paint(2, 7, 9, Tile::GroundTop);
    std::string changed = kSet;
    changed.insert(changed.find('\n') + 1, "a");
    test::WriteFile(path, changed);
    EXPECT_EQ(doc.ChangedOnDisk(path), DiskChange::Changed);
    FileLock::UseFolderForTests({});
    std::string error;
    ASSERT_TRUE(doc.Save(path, error)) << error;
    EXPECT_EQ(doc.LockProblem(), "") << "locked once it can be";
}

// ---- what a killed editor leaves behind

TEST(EditorLeftovers, OnlyPlayFoldersOfThisUsersEndedEditorsAreSwept)
{
    test::TempDir root;
    const std::string dead = std::to_string(DeadPid());
    const std::string alive = std::to_string(::getpid());
    for (const std::string& name : std::vector<std::string>{"zorbo-edit-" + dead + "-a1b2c3", "zorbo-edit-" + alive + "-a1b2c3",
                                   "zorbo-edit-x1y2z3", "zorbo-other-" + dead + "-a1b2c3"}) {
        fs::create_directory(root.path() + name);
        test::WriteFile(root.path() + name + "/Standard.txt", kSet);
    }
    test::WriteFile(root.path() + "zorbo-edit-" + dead + "-file", "a file, not a folder");
    fs::create_directory_symlink(root.path() + "zorbo-edit-" + alive + "-a1b2c3",
                                 root.path() + "zorbo-edit-" + dead + "-link");

    EXPECT_EQ(editor::SweepPlayFolders(root.path()), 1);
    EXPECT_FALSE(fs::exists(root.path() + "zorbo-edit-" + dead + "-a1b2c3"));
    for (const std::string& kept : std::vector<std::string>{"zorbo-edit-" + alive + "-a1b2c3", "zorbo-edit-x1y2z3",
                                   "zorbo-other-" + dead + "-a1b2c3", "zorbo-edit-" + dead + "-file"})
        EXPECT_TRUE(fs::exists(root.path() + kept)) << kept;
    EXPECT_TRUE(fs::is_symlink(root.path() + "zorbo-edit-" + dead + "-link"));

    // A play folder is named after the editor that made it.
    ScopedEnv tmp("TMPDIR", root.path().c_str());
    test::TempDir data;
    std::string error;
    const std::string made = editor::MakePlayFolder(data.path(), "Set", kSet, error);
    ASSERT_FALSE(made.empty()) << error;
    EXPECT_EQ(fs::path(made).filename().string().rfind("zorbo-edit-" + alive + "-", 0), 0u) << made;
    EXPECT_EQ(editor::SweepPlayFolders(root.path()), 0);
    EXPECT_TRUE(fs::exists(made));
}

TEST(EditorLeftovers, AStartedProgramEndsWithTheProcessThatStartedIt)
{
    // A middle process starts a long sleep, as the editor starts a test game, tells its id
    // and ends at once without ending the sleep, as a killed editor would.
    int ids[2];
    ASSERT_EQ(::pipe(ids), 0);
    const pid_t middle = ::fork();
    if (middle == 0) {
        ProgramStart start;
        start.args = {"/bin/sleep", "30"};
        std::string reason;
        const pid_t sleeper = StartProgram(start, reason);
        [[maybe_unused]] const ssize_t n = ::write(ids[1], &sleeper, sizeof sleeper);
        ::_exit(0);
    }
    ::close(ids[1]);
    pid_t sleeper = -1;
    ASSERT_EQ(::read(ids[0], &sleeper, sizeof sleeper), static_cast<ssize_t>(sizeof sleeper));
    ::close(ids[0]);
    ::waitpid(middle, nullptr, 0);
    ASSERT_GT(sleeper, 0);
    bool ended = false;
    for (int i = 0; i < 100 && !ended; ++i) {
        ended = Ended(sleeper);
        if (!ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!ended)
        ::kill(sleeper, SIGKILL);
    EXPECT_TRUE(ended) << "the program outlived the process that started it";
}
