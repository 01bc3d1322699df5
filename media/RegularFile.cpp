#include "media/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

namespace zorbo {

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

// strerror's text in lower case, to read as the end of a sentence.
std::string ErrorText(int error)
{
    std::string text = std::strerror(error);
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

std::string FileKindText(unsigned mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a plain file";
}

std::string SizeText(size_t bytes)
{
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0)
        return std::to_string(bytes >> 20) + " MB";
    if (bytes >= (1u << 10) && bytes % (1u << 10) == 0)
        return std::to_string(bytes >> 10) + " kB";
    return std::to_string(bytes) + " bytes";
}

FileError ReadRegularFile(const std::string& path, size_t maxBytes, std::string& bytes, std::string& reason)
{
    bytes.clear();
    reason.clear();
    // O_NONBLOCK: opening a FIFO with no writer returns at once instead of waiting for one.
    const Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        reason = "cannot be opened: " + ErrorText(errno);
        return FileError::CannotOpen;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        reason = "cannot be read: " + ErrorText(errno);
        return FileError::CannotRead;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = std::string("is ") + FileKindText(st.st_mode) + ", not a regular file";
        return FileError::NotRegular;
    }
    const std::string tooLarge = "is larger than " + SizeText(maxBytes);
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxBytes) {
        reason = tooLarge;
        return FileError::TooLarge;
    }
    // A regular file reads the same either way; blocking reads leave no EAGAIN to retry.
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0)
        ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            reason = "cannot be read: " + ErrorText(errno);
            bytes.clear();
            return FileError::CannotRead;
        }
        if (n == 0)
            break;
        // The file may grow while it is read: the limit holds for what is read, too.
        if (bytes.size() + static_cast<size_t>(n) > maxBytes) {
            reason = tooLarge;
            bytes.clear();
            return FileError::TooLarge;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    return FileError::None;
}

} // namespace zorbo
