#pragma once
// Recordings on disk: a game written as it is played, a whole recording saved, one read.
#include "media/AtomicFile.h"
#include "media/FileLock.h"
#include "record/Recording.h"

#include <string>

namespace zorbo {

// Writes a recording while its game is played. Every keyboard poll reaches the file as
// soon as the game has read it, so a killed game leaves a recording that replays up to
// its last poll. The file is written under a temporary name beside FILE (AtomicFile: FILE.part
// when that name fits and is free) and renamed once finished. From Open until then FILE is
// locked (FileLock), so a second Zorbo recording to it is refused instead of replacing it.
class RecordingWriter {
public:
    RecordingWriter() = default;
    ~RecordingWriter();
    RecordingWriter(const RecordingWriter&) = delete;
    RecordingWriter& operator=(const RecordingWriter&) = delete;

    // Locks FILE and opens the temporary file; false with a reason naming the file when it
    // cannot be written or another Zorbo is writing it.
    bool Open(const std::string& file, std::string& error);
    // Writes what is new in the recording up to its last poll. After a failure nothing more
    // is written; the failure is reported by Finish.
    void Write(const Recording& rec);
    // Writes the rest and the end line and gives the file its name.
    bool Finish(const Recording& rec, std::string& error);
    bool Failed() const { return !error_.empty(); }

private:
    void Put(const std::string& text);
    // An unfinished recording stays under its temporary name, where it replays up to its
    // last poll.
    AtomicFile file_{AtomicFile::Unfinished::Keep};
    FileLock lock_;
    RecordingText text_;
    size_t written_ = 0;
    std::string error_;
};

// Writes the whole recording under a temporary name, then gives it its name.
bool SaveRecording(const Recording& rec, const std::string& file, std::string& error);
// Reads a recording; false with a one-line reason naming the file and line.
bool LoadRecording(const std::string& file, Recording& out, std::string& error);

} // namespace zorbo
