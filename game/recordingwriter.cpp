// Recording files on disk: reading one without ever blocking, writing one as the game goes.
#include "game/RecordingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zorbo {

namespace {

std::string KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO (named pipe)";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "a special file";
}

std::string SizeText(size_t bytes)
{
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0)
        return std::to_string(bytes >> 20) + " MB";
    return std::to_string(bytes) + " bytes";
}

std::string ErrnoText()
{
    return std::strerror(errno);
}

class FileCloser {
public:
    explicit FileCloser(int fd) : fd_(fd) {}
    ~FileCloser() { ::close(fd_); }
    FileCloser(const FileCloser&) = delete;
    FileCloser& operator=(const FileCloser&) = delete;

private:
    int fd_;
};

} // namespace

bool ReadRegularFile(const std::string& path, size_t maxBytes, std::string& bytes, std::string& reason)
{
    bytes.clear();
    // Without O_NONBLOCK, opening a FIFO would wait for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        reason = "cannot be opened: " + ErrnoText();
        return false;
    }
    const FileCloser closer(fd);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        reason = "cannot be read: " + ErrnoText();
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = "is " + KindOf(st.st_mode) + ", not a regular file";
        return false;
    }
    const std::string tooLarge = "is larger than " + SizeText(maxBytes);
    if (static_cast<uint64_t>(st.st_size) > maxBytes) {
        reason = tooLarge;
        return false;
    }
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            reason = "cannot be read: " + ErrnoText();
            return false;
        }
        if (n == 0)
            return true;
        bytes.append(buffer, static_cast<size_t>(n));
        // The file may grow while it is read.
        if (bytes.size() > maxBytes) {
            reason = tooLarge;
            return false;
        }
    }
}

RecordingWriter::~RecordingWriter()
{
    // An unfinished recording stays under its temporary name, where it replays up to its
    // last poll; one that never reached a poll holds nothing worth keeping.
    if (fd_ < 0)
        return;
    ::close(fd_);
    if (text_.Polls() == 0)
        ::unlink(temp_.c_str());
}

bool RecordingWriter::Open(const std::string& file, std::string& error)
{
    file_ = file;
    temp_ = file + ".part";
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) {
            error = "cannot record to " + file + ": it is " + KindOf(st.st_mode) + ", not a regular file";
            return false;
        }
        if (::access(file.c_str(), W_OK) != 0) {
            error = "cannot record to " + file + ": " + ErrnoText();
            return false;
        }
    }
    // O_NONBLOCK and O_NOFOLLOW: a FIFO or a link left under the temporary name is refused
    // instead of waited on or written through.
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW, 0644);
    if (fd_ < 0) {
        error = "cannot record to " + file + ": cannot create " + temp_ + ": " + ErrnoText();
        return false;
    }
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "cannot record to " + file + ": " + temp_ + " is not a regular file";
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

void RecordingWriter::Put(const std::string& text)
{
    if (fd_ < 0 || !error_.empty())
        return;
    if (written_ + text.size() > RecordingFormat::MaxFileBytes) {
        error_ = "the recording reached " + SizeText(RecordingFormat::MaxFileBytes) + ", the most one may hold, at poll " +
                 std::to_string(text_.Polls());
        return;
    }
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error_ = "cannot write " + temp_ + ": " + (n < 0 ? ErrnoText() : std::string("nothing was written"));
            return;
        }
        done += static_cast<size_t>(n);
    }
    written_ += done;
}

void RecordingWriter::Write(const Recording& rec)
{
    if (fd_ >= 0 && error_.empty())
        Put(text_.Next(rec, false));
}

bool RecordingWriter::Finish(const Recording& rec, std::string& error)
{
    if (fd_ < 0) {
        error = "cannot record to " + file_ + ": the file is not open";
        return false;
    }
    Put(text_.Next(rec, true));
    if (error_.empty() && ::fsync(fd_) != 0)
        error_ = "cannot write " + temp_ + ": " + ErrnoText();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error_.empty())
        error_ = "cannot write " + temp_ + ": " + ErrnoText();
    if (!error_.empty()) {
        error = "the recording is not finished: " + error_ + "; " + temp_ + " holds the game up to its last poll";
        return false;
    }
    if (::rename(temp_.c_str(), file_.c_str()) != 0) {
        error = "cannot rename " + temp_ + " to " + file_ + ": " + ErrnoText();
        return false;
    }
    return true;
}

bool Recording::Save(const std::string& file, std::string& error) const
{
    if (!IsPlainFileName(levelSet)) {
        error = "the level set \"" + levelSet + "\" cannot be recorded: a recording names a file right in the data folder";
        return false;
    }
    RecordingWriter writer;
    return writer.Open(file, error) && writer.Finish(*this, error);
}

bool Recording::Load(const std::string& file, Recording& out, std::string& error)
{
    std::string bytes, reason;
    if (!ReadRegularFile(file, RecordingFormat::MaxFileBytes, bytes, reason)) {
        error = file + ": " + reason + (reason.starts_with("is larger") ? ", the most a recording holds" : "");
        return false;
    }
    RecordingParse parse = ParseRecording(bytes);
    if (!parse.ok()) {
        error = parse.FirstError(file);
        return false;
    }
    out = std::move(parse.recording);
    return true;
}

} // namespace zorbo
