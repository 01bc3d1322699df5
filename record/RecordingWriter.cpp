#include "record/RecordingWriter.h"

#include "media/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zorbo {

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
            error = "cannot record to " + file + ": it is " + FileKindText(st.st_mode) + ", not a regular file";
            return false;
        }
        if (::access(file.c_str(), W_OK) != 0) {
            error = "cannot record to " + file + ": " + ErrorText(errno);
            return false;
        }
    }
    // O_NONBLOCK and O_NOFOLLOW: a FIFO or a link left under the temporary name is refused
    // instead of waited on or written through.
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW, 0644);
    if (fd_ < 0) {
        error = "cannot record to " + file + ": cannot create " + temp_ + ": " + ErrorText(errno);
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
            error_ = "cannot write " + temp_ + ": " + (n < 0 ? ErrorText(errno) : std::string("nothing was written"));
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
        error_ = "cannot write " + temp_ + ": " + ErrorText(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error_.empty())
        error_ = "cannot write " + temp_ + ": " + ErrorText(errno);
    if (!error_.empty()) {
        error = "the recording is not finished: " + error_ + "; " + temp_ + " holds the game up to its last poll";
        return false;
    }
    if (::rename(temp_.c_str(), file_.c_str()) != 0) {
        error = "cannot rename " + temp_ + " to " + file_ + ": " + ErrorText(errno);
        return false;
    }
    return true;
}

bool SaveRecording(const Recording& rec, const std::string& file, std::string& error)
{
    if (!IsPlainFileName(rec.levelSet)) {
        error = "the level set \"" + rec.levelSet + "\" cannot be recorded: a recording names a file right in the data folder";
        return false;
    }
    RecordingWriter writer;
    return writer.Open(file, error) && writer.Finish(rec, error);
}

bool LoadRecording(const std::string& file, Recording& out, std::string& error)
{
    std::string bytes, reason;
    if (ReadRegularFile(file, RecordingFormat::MaxFileBytes, bytes, reason) != FileError::None) {
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
