#pragma once
// One line per picture put on the screen: milliseconds since the game began, the number of
// the latest game frame, and how far the picture is blended toward it (0 when each game
// frame is shown as it is). For measuring presentation, never read by the game.
#include <cstdint>
#include <cstdio>
#include <string>

namespace zorbo {

class FrameLog {
public:
    FrameLog() = default;
    ~FrameLog();
    FrameLog(const FrameLog&) = delete;
    FrameLog& operator=(const FrameLog&) = delete;

    // Opens (creates or empties) the file; false with a reason when it cannot be written.
    // Never waits for a reader: a FIFO nobody reads is refused.
    bool Open(const std::string& path, std::string& error);
    void Picture(uint32_t ms, uint32_t frame, double fraction);
    // False with a reason when a line could not be written.
    bool Close(std::string& error);

private:
    std::FILE* file_ = nullptr;
    std::string path_;
};

} // namespace zorbo
