#include "media/FrameLog.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zorbo {

FrameLog::~FrameLog()
{
    std::string ignored;
    Close(ignored);
}

bool FrameLog::Open(const std::string& path, std::string& error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot write the frame log " + path + ": " +
                (errno == ENXIO ? std::string("it is a pipe nobody reads") : std::strerror(errno));
        return false;
    }
    // Opened without waiting; lines are then written as to any file.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file_ = ::fdopen(fd, "w");
    if (file_ == nullptr) {
        error = "cannot write the frame log " + path + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    path_ = path;
    return true;
}

void FrameLog::Picture(uint32_t ms, uint32_t frame, double fraction)
{
    if (file_ != nullptr)
        std::fprintf(file_, "%u %u %.3f\n", ms, frame, fraction);
}

bool FrameLog::Close(std::string& error)
{
    if (file_ == nullptr)
        return true;
    const bool ok = std::ferror(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (ok && closed)
        return true;
    error = "the frame log " + path_ + " could not be written whole";
    return false;
}

} // namespace zorbo
