#pragma once
// A recorded game and its text format: one reader over bytes (recordings come from
// outside, like level files) and one writer of text, for whole files and for a game in
// progress. Files on disk are record/RecordingWriter.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorbo {

// A recorded game: the settings and everything the game read from the machine (the
// random seed, every tick count and every keyboard poll, in order), plus checkpoints
// of where the game stood whenever its level changed and when it ended. Replaying the
// inputs replays the game exactly.
struct Recording {
    static constexpr int Version = 1;

    struct Input {
        bool keys = false;              // a keyboard poll, else a tick-count read
        uint32_t tick = 0;
        std::vector<uint8_t> held;      // scan codes held at the poll
        bool operator==(const Input&) const = default;
    };
    struct Checkpoint {
        int64_t poll = 0;               // number of keyboard polls before it
        int32_t level = 0;              // 0..10 (10 once the game is won)
        bool won = false;
        uint64_t hash = 0;
        bool operator==(const Checkpoint&) const = default;
    };

    int version = Version;
    std::string levelSet;               // file name, e.g. "Standard.txt"
    uint64_t levelSetHash = 0;
    int32_t startLevel = 0;             // 0..9
    int32_t difficulty = 26;
    uint64_t seed = 0;
    std::vector<Input> inputs;
    std::vector<Checkpoint> checkpoints;
    // The file has no end line: the game that made it was killed. It holds every input up
    // to its last complete poll and no final checkpoint.
    bool cutOff = false;

    bool operator==(const Recording&) const = default;
};

namespace RecordingFormat {
constexpr size_t MaxFileBytes = 8u << 20;  // hours of play at any difficulty
constexpr size_t MaxLineBytes = 4096;      // a poll of all 256 keys takes about 1 KB
constexpr size_t TicksPerLine = 100;       // longer runs of clock reads are split
constexpr size_t MaxNameBytes = 255;
// The game's clock runs from 0 when it starts; keeping it below 2^29 ms (six days) keeps
// every sum and difference of the game's 32-bit timers in range.
constexpr uint32_t MaxTick = 1u << 29;
constexpr int32_t Levels = 10;
} // namespace RecordingFormat

struct RecordingProblem {
    int line = 0;          // from 1; 0 when about the whole file
    std::string message;
};

struct RecordingParse {
    Recording recording;                   // complete only when ok()
    std::vector<RecordingProblem> problems; // in file order
    bool tooManyProblems = false;          // further problems were not listed
    bool ok() const { return problems.empty(); }
    // "FILE:LINE: message", with a count of the problems not shown.
    std::string FirstError(const std::string& fileName) const;
};

// Reads a recording held in memory. Never throws; every field is range-checked, the
// header lines and (unless the file is cut off) a final checkpoint are required. A file
// without an end line was cut off by a killed game: it is read up to its last complete
// poll, and whatever follows that poll (a half-written line included) is left out.
RecordingParse ParseRecording(std::string_view bytes);

// A level-set name a recording may refer to: the name of a file right in the data folder
// (no '/', no "..", no leading '.' or surrounding spaces, no control characters).
bool IsPlainFileName(std::string_view name);

// Turns a recording into text piece by piece, as the game goes: each call gives the lines
// not yet given, up to the last keyboard poll, or everything with the end line once the
// game has finished. Whole files and a game in progress come out byte for byte the same.
class RecordingText {
public:
    std::string Next(const Recording& rec, bool finished);
    int64_t Polls() const { return polls_; }

private:
    void Ticks(std::string& out, const Recording& rec, size_t end);
    void Checkpoints(std::string& out, const Recording& rec, int64_t upTo);
    bool headerDone_ = false;
    size_t input_ = 0;
    size_t check_ = 0;
    int64_t polls_ = 0;
};

std::string FormatRecording(const Recording& rec);

// A hash as recordings write it (16 lower-case hex digits); replay messages show it so too.
std::string HashText(uint64_t hash);

} // namespace zorbo
