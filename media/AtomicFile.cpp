#include "media/AtomicFile.h"

#include "media/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <random>

namespace zorbo {

namespace {

constexpr std::string_view kKeptSuffix = ".part";
constexpr int kTempTries = 100;

// Six random letters or digits: a name taken already is skipped (O_EXCL) and another drawn.
std::string UniqueLetters()
{
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}() ^ (static_cast<uint64_t>(::getpid()) << 32)};
    std::string out(6, ' ');
    for (char& c : out)
        c = kLetters[random() % kLetters.size()];
    return out;
}

// A new file of our own, never anything that is there already (O_EXCL also refuses a link).
int CreateNew(const std::string& name)
{
    return ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW, 0644);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string RealPath(const std::string& path)
{
    char* real = ::realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return {};
    std::string out(real);
    std::free(real);
    return out;
}

// The folder's entry for a renamed file reaches the disk too, where the file system allows.
void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::string AtomicFile::KeptName(const std::string& target)
{
    return target + std::string(kKeptSuffix);
}

bool AtomicFile::Resolve(const std::string& target, std::string& resolved, std::string& reason)
{
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0) {
        resolved = RealPath(target);
        if (!resolved.empty())
            return true;
        const int error = errno;
        if (!S_ISLNK(st.st_mode))
            reason = ErrorText(error);
        else if (error == ENOENT)
            reason = "it is a symbolic link that leads to no file";
        else if (error == ELOOP)
            reason = "it is a symbolic link that leads round in a loop";
        else
            reason = "it is a symbolic link that cannot be followed: " + ErrorText(error);
        return false;
    }
    if (errno != ENOENT) {
        reason = ErrorText(errno);
        return false;
    }
    const size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") {
        reason = "it names no file";
        return false;
    }
    const std::string folder = RealPath(FolderOf(target));
    if (folder.empty()) {
        reason = ErrorText(errno);
        return false;
    }
    resolved = folder + (folder.back() == '/' ? "" : "/") + name;
    return true;
}

AtomicFile::~AtomicFile()
{
    Close();
}

bool AtomicFile::CreateTemp(const std::string& folder, std::string& reason)
{
    const std::string name = path_.substr(path_.rfind('/') + 1);
    if (unfinished_ == Unfinished::Keep) {
        long nameMax = ::pathconf(folder.c_str(), _PC_NAME_MAX);
        if (nameMax < 0)
            nameMax = NAME_MAX;
        if (name.size() + kKeptSuffix.size() <= static_cast<size_t>(nameMax)) {
            temp_ = KeptName(path_);
            if ((fd_ = CreateNew(temp_)) >= 0)
                return true;
            if (errno != EEXIST) {
                reason = "cannot create " + temp_ + ": " + ErrorText(errno);
                return false;
            }
            // What an earlier game left there is the player's to keep.
        }
    }
    const std::string prefix = folder + (unfinished_ == Unfinished::Keep ? "/zorbo-" : "/.zorbo-");
    const std::string suffix = unfinished_ == Unfinished::Keep ? std::string(kKeptSuffix) : std::string();
    for (int attempt = 0; attempt < kTempTries; ++attempt) {
        temp_ = prefix + UniqueLetters() + suffix;
        if ((fd_ = CreateNew(temp_)) >= 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    reason = "cannot create a temporary file in " + folder + ": " + ErrorText(errno);
    return false;
}

bool AtomicFile::Open(const std::string& target, std::string& reason)
{
    Discard();
    target_ = target;
    path_.clear();
    temp_.clear();
    problem_.clear();
    written_ = false;
    if (!Resolve(target, path_, reason))
        return false;
    bool replacing = false;
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            reason = "it is " + FileKindText(st.st_mode) + ", not a regular file";
            return false;
        }
        if (::access(path_.c_str(), W_OK) != 0) {
            reason = ErrorText(errno);
            return false;
        }
        replacing = true;
    }
    if (!CreateTemp(FolderOf(path_), reason))
        return false;
    // A replaced file keeps its permissions; a new one gets the usual ones less the umask.
    if (replacing && ::fchmod(fd_, st.st_mode & 07777) != 0)
        problem_ = "cannot write " + temp_ + ": " + ErrorText(errno);
    return true;
}

bool AtomicFile::Write(std::string_view bytes)
{
    if (fd_ < 0 || !problem_.empty())
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            problem_ = "cannot write " + temp_ + ": " + (n < 0 ? ErrorText(errno) : std::string("nothing was written"));
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

AtomicFile::Outcome AtomicFile::WriteWhole(const std::string& target, std::string_view bytes, std::string& reason)
{
    AtomicFile file;
    if (!file.Open(target, reason))
        return Outcome::NotOpened;
    // A failed write is reported by Commit, which then removes the temporary file.
    file.Write(bytes);
    if (file.Commit(reason))
        return Outcome::Saved;
    return file.Written() ? Outcome::NotRenamed : Outcome::NotWritten;
}

bool AtomicFile::Commit(std::string& reason)
{
    if (fd_ < 0) {
        reason = "the file is not open";
        return false;
    }
    if (problem_.empty() && ::fsync(fd_) != 0)
        problem_ = "cannot write " + temp_ + ": " + ErrorText(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && problem_.empty())
        problem_ = "cannot write " + temp_ + ": " + ErrorText(errno);
    written_ = problem_.empty();
    if (written_ && ::rename(temp_.c_str(), path_.c_str()) == 0) {
        SyncFolder(FolderOf(path_));
        return true;
    }
    reason = written_ ? "cannot rename " + temp_ + " to " + target_ + ": " + ErrorText(errno) : problem_;
    if (unfinished_ == Unfinished::Remove)
        ::unlink(temp_.c_str());
    return false;
}

void AtomicFile::CloseFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void AtomicFile::Close()
{
    if (fd_ < 0)
        return;
    CloseFile();
    if (unfinished_ == Unfinished::Remove)
        ::unlink(temp_.c_str());
}

void AtomicFile::Discard()
{
    if (fd_ < 0)
        return;
    CloseFile();
    ::unlink(temp_.c_str());
}

} // namespace zorbo
