#include "media/FileLock.h"

#include "media/AtomicFile.h"
#include "media/Fnv1a.h"
#include "media/RegularFile.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>

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

// The lock folder, made if need be, and checked to be the user's own: nobody else may plant
// a lock file or a link in it.
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
    const auto withoutSlash = [](std::string folder) {
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
        return folder == "/" ? std::string() : folder;
    };
    struct stat st {};
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &st) == 0 && S_ISDIR(st.st_mode))
        return withoutSlash(runtime) + "/zorbo";
    const char* temp = std::getenv("TMPDIR");
    return withoutSlash(temp != nullptr && temp[0] == '/' ? temp : "/tmp") + "/zorbo-" + std::to_string(::getuid());
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
            const std::string folder = Folder();
            if (!OpenFolder(folder, reason))
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
