#include "media/AtomicFile.h"

#include "media/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zorbo {

std::string AtomicFile::TempName(const std::string& target)
{
    return target + ".part";
}

AtomicFile::~AtomicFile()
{
    Close();
}

bool AtomicFile::Open(const std::string& target, std::string& reason)
{
    Discard();
    target_ = target;
    temp_ = TempName(target);
    problem_.clear();
    written_ = false;
    bool replacing = false;
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            reason = "it is " + FileKindText(st.st_mode) + ", not a regular file";
            return false;
        }
        if (::access(target.c_str(), W_OK) != 0) {
            reason = ErrorText(errno);
            return false;
        }
        replacing = true;
    }
    const mode_t mode = replacing ? st.st_mode & 07777 : 0644;
    // O_NONBLOCK and O_NOFOLLOW: a FIFO or a link left under the temporary name is refused
    // instead of waited on or written through.
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW, 0644);
    if (fd_ < 0) {
        reason = "cannot create " + temp_ + ": " + ErrorText(errno);
        return false;
    }
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        // Not ours to remove: something else was there under the temporary name.
        CloseFile();
        reason = temp_ + " is not a regular file";
        return false;
    }
    // A replaced file keeps its permissions; a new one gets the usual ones less the umask.
    if (replacing && ::fchmod(fd_, mode) != 0)
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
    if (written_ && ::rename(temp_.c_str(), target_.c_str()) == 0)
        return true;
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
