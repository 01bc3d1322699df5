#include "media/FileLock.h"

#include "media/AtomicFile.h"
#include "media/Fnv1a.h"
#include "media/RegularFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <vector>

namespace zorbo {

namespace {

// The names this process holds: an flock belongs to one open file, so a second lock of a
// name in the same process would be refused by the first. Holders share one open file.
struct Holding {
    int fd = -1;
    int holders = 0;
    std::string file;
};
std::mutex gMutex;
std::map<std::string, Holding> gHeld;

// A forked child does not inherit the locks as its own: it lets go of its copies, which
// leaves the parent's locks in place.
void ForgetInForkedChild()
{
    for (auto& [key, held] : gHeld)
        ::close(held.fd);
    gHeld.clear();
    gMutex.unlock(); // taken before the fork
}

void WatchForks()
{
    static std::once_flag once;
    std::call_once(once, [] {
        ::pthread_atfork([] { gMutex.lock(); }, [] { gMutex.unlock(); }, [] { ForgetInForkedChild(); });
    });
}

std::string HashName(const std::string& key)
{
    const uint64_t h = Fnv1aOf(key);
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.lock", static_cast<unsigned long long>(h));
    return name;
}

std::string gFolderForTests;

// A private folder of this user at folder, made if need be: nobody else may plant a lock
// file or a link in it. False with the reason otherwise.
bool OpenFolder(const std::string& folder, std::string& reason)
{
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        reason = "cannot make the lock folder " + folder + ": " + ErrorText(errno);
        return false;
    }
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() || (st.st_mode & 022) != 0) {
        reason = "the lock folder " + folder + " is not a private folder of this user";
        return false;
    }
    return true;
}

// The user's home as the system knows it (not $HOME, which differs between environments).
std::string HomeOfUser()
{
    std::vector<char> buffer(16384);
    passwd pw {};
    passwd* user = nullptr;
    if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &user) != 0 || user == nullptr ||
        user->pw_dir == nullptr || user->pw_dir[0] != '/')
        return {};
    struct stat st {};
    const std::string home = user->pw_dir;
    return ::stat(home.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() ? home : std::string();
}

} // namespace

std::string FileLock::FolderAmong(const std::string& runtimeRoot, const std::string& temporary, const std::string& home,
                                  std::string& reason)
{
    const std::string uid = std::to_string(::getuid());
    const std::string runtime = runtimeRoot + "/" + uid;
    struct stat st {};
    if (::lstat(runtime.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 022) == 0 &&
        OpenFolder(runtime + "/zorbo", reason))
        return runtime + "/zorbo";
    const std::string inTemporary = temporary + "/zorbo-" + uid;
    if (OpenFolder(inTemporary, reason))
        return inTemporary;
    if (home.empty())
        return {};
    const std::string inHome = home + "/.cache/zorbo-locks";
    ::mkdir((home + "/.cache").c_str(), 0700); // as the desktop would make it
    std::string homeReason;
    if (OpenFolder(inHome, homeReason))
        return inHome;
    reason += "; " + homeReason;
    return {};
}

namespace {

// The lock folder (FileLock::Folder), made if need be; empty with the reason when none
// can be used.
std::string ChooseFolder(std::string& reason)
{
    if (!gFolderForTests.empty())
        return OpenFolder(gFolderForTests, reason) ? gFolderForTests : std::string();
    return FileLock::FolderAmong("/run/user", "/tmp", HomeOfUser(), reason);
}

// Opens and locks the lock file; -1 with busy set when another process holds it.
int LockFile(const std::string& file, bool& busy, std::string& reason)
{
    // A holder that lets go removes the file: one opened just before that is stale, and
    // opening again finds the current one.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0600);
        if (fd < 0) {
            reason = "cannot make the lock file " + file + ": " + ErrorText(errno);
            return -1;
        }
        struct stat opened {}, now {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_uid != ::getuid()) {
            ::close(fd);
            reason = "the lock file " + file + " is not a regular file of this user";
            return -1;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            busy = error == EWOULDBLOCK;
            reason = busy ? "another Zorbo is writing it" : "cannot lock " + file + ": " + ErrorText(error);
            return -1;
        }
        if (::lstat(file.c_str(), &now) == 0 && now.st_dev == opened.st_dev && now.st_ino == opened.st_ino)
            return fd;
        ::close(fd);
    }
    reason = "cannot lock " + file + ": it keeps being replaced";
    return -1;
}

} // namespace

std::string FileLock::Folder()
{
    std::string reason;
    return ChooseFolder(reason);
}

void FileLock::UseFolderForTests(const std::string& folder)
{
    gFolderForTests = folder;
}

std::string FileLock::FileOf(const std::string& key)
{
    return Folder() + "/" + HashName(key);
}

FileLock::~FileLock()
{
    Release();
}

FileLock::FileLock(const FileLock& other)
{
    *this = other;
}

FileLock& FileLock::operator=(const FileLock& other)
{
    if (this == &other)
        return *this;
    Release();
    std::lock_guard guard(gMutex);
    if (const auto it = gHeld.find(other.key_); it != gHeld.end()) {
        ++it->second.holders;
        key_ = other.key_;
    }
    return *this;
}

FileLock::FileLock(FileLock&& other) noexcept : key_(std::move(other.key_)), busy_(other.busy_)
{
    other.key_.clear();
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        Release();
        key_ = std::move(other.key_);
        busy_ = other.busy_;
        other.key_.clear();
    }
    return *this;
}

bool FileLock::Acquire(const std::string& path, std::string& reason)
{
    busy_ = false;
    std::string key;
    if (!AtomicFile::Resolve(path, key, reason))
        return false;
    if (key == key_)
        return true;
    WatchForks();
    {
        std::lock_guard guard(gMutex);
        auto it = gHeld.find(key);
        if (it == gHeld.end()) {
            const std::string folder = ChooseFolder(reason);
            if (folder.empty())
                return false;
            const std::string file = folder + "/" + HashName(key);
            const int fd = LockFile(file, busy_, reason);
            if (fd < 0)
                return false;
            it = gHeld.emplace(key, Holding{fd, 0, file}).first;
        }
        ++it->second.holders;
    }
    Release();
    key_ = std::move(key);
    return true;
}

void FileLock::Release()
{
    if (key_.empty())
        return;
    std::lock_guard guard(gMutex);
    if (const auto it = gHeld.find(key_); it != gHeld.end() && --it->second.holders == 0) {
        // Removed while still locked, so nobody locks a file that is on its way out unseen.
        ::unlink(it->second.file.c_str());
        ::close(it->second.fd);
        gHeld.erase(it);
    }
    key_.clear();
}

} // namespace zorbo
