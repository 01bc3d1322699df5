#include "record/Recording.h"

#include <cinttypes>
#include <cstdio>
#include <limits>

namespace zorbo {

namespace {

constexpr size_t kMaxListedProblems = 20;
constexpr size_t kMaxQuotedBytes = 40;
constexpr uint64_t kMaxPoll = 1000000000000ULL; // far beyond what a file of the size cap holds

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The words of a line, split at spaces and tabs.
class Words {
public:
    explicit Words(std::string_view text) : rest_(text) {}
    bool Next(std::string_view& word)
    {
        rest_ = Trim(rest_);
        if (rest_.empty())
            return false;
        size_t n = 0;
        while (n < rest_.size() && !IsBlank(rest_[n]))
            ++n;
        word = rest_.substr(0, n);
        rest_.remove_prefix(n);
        return true;
    }
    bool AtEnd() const { return Trim(rest_).empty(); }
    std::string_view Rest() const { return Trim(rest_); }

private:
    std::string_view rest_;
};

// Decimal digits only (no sign, no spaces), at most max.
bool ParseNumber(std::string_view word, uint64_t max, uint64_t& value)
{
    if (word.empty() || word.size() > 20)
        return false;
    uint64_t v = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        const auto digit = static_cast<uint64_t>(c - '0');
        if (digit > max || v > (max - digit) / 10)
            return false;
        v = v * 10 + digit;
    }
    value = v;
    return true;
}

// Exactly 16 hexadecimal digits.
bool ParseHash(std::string_view word, uint64_t& value)
{
    if (word.size() != 16)
        return false;
    uint64_t v = 0;
    for (char c : word) {
        uint64_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<uint64_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<uint64_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<uint64_t>(c - 'A' + 10);
        else
            return false;
        v = (v << 4) | digit;
    }
    value = v;
    return true;
}

// A word from the file as a message shows it: quoted, shortened, control bytes as '?'.
std::string Quote(std::string_view word)
{
    std::string q = "\"";
    for (size_t i = 0; i < word.size() && i < kMaxQuotedBytes; ++i) {
        const auto b = static_cast<unsigned char>(word[i]);
        q += (b < 32 || b == 127) ? '?' : word[i];
    }
    if (word.size() > kMaxQuotedBytes)
        q += "...";
    return q + "\"";
}

enum HeaderLine { LevelSetLine, StartLevelLine, DifficultyLine, SeedLine, HeaderLines };
constexpr const char* kHeaderNames[HeaderLines] = {"level-set", "start-level", "difficulty", "seed"};

class Parser {
public:
    explicit Parser(RecordingParse& p) : p_(p), rec_(p.recording) {}

    void Run(std::string_view bytes);

private:
    // False once the listing is full: the reader stops there.
    bool Problem(std::string message)
    {
        if (p_.problems.size() >= kMaxListedProblems) {
            p_.tooManyProblems = true;
            return false;
        }
        p_.problems.push_back(RecordingProblem{line_, std::move(message)});
        return true;
    }
    bool FirstLine(std::string_view text);
    bool Line(std::string_view text);
    bool Header(int which, Words& words);
    bool LevelSet(Words& words);
    bool Ticks(Words& words);
    bool Poll(Words& words);
    bool Checkpoint(Words& words);
    bool Inputs();
    bool NoMore(const Words& words, const char* what)
    {
        return words.AtEnd() || Problem(std::string("unexpected text after the ") + what + ": " + Quote(words.Rest()));
    }
    void Finish(bool ended, int endLine);

    RecordingParse& p_;
    Recording& rec_;
    int line_ = 0;
    bool seen_[HeaderLines] = {};
    bool inputsBegun_ = false;
    int64_t polls_ = 0;
    uint64_t lastTick_ = 0;
    size_t inputsAtLastPoll_ = 0;
    size_t checksAtLastPoll_ = 0;
};

bool Parser::FirstLine(std::string_view text)
{
    Words words(text);
    std::string_view key, number;
    uint64_t version = 0;
    if (!words.Next(key) || key != "zorbo-recording" || !words.Next(number) || !ParseNumber(number, 1000000, version) ||
        !words.AtEnd()) {
        Problem("not a Zorbo recording (its first line must be \"zorbo-recording " + std::to_string(Recording::Version) +
                "\")");
        return false;
    }
    rec_.version = static_cast<int>(version);
    if (rec_.version != Recording::Version) {
        Problem("recording format " + std::to_string(version) + " is not supported (this game reads format " +
                std::to_string(Recording::Version) + ")");
        return false;
    }
    return true;
}

bool Parser::Line(std::string_view text)
{
    Words words(text);
    std::string_view key;
    if (!words.Next(key))
        return Problem("empty line");
    for (int which = 0; which < HeaderLines; ++which)
        if (key == kHeaderNames[which])
            return Header(which, words);
    if (key == "t")
        return Inputs() && Ticks(words);
    if (key == "k")
        return Inputs() && Poll(words);
    if (key == "c")
        return Inputs() && Checkpoint(words);
    return Problem("unknown line " + Quote(key));
}

bool Parser::Header(int which, Words& words)
{
    const std::string name = kHeaderNames[which];
    if (inputsBegun_)
        return Problem("the " + name + " line must come before the inputs");
    if (seen_[which])
        return Problem("a second " + name + " line");
    seen_[which] = true;
    std::string_view word;
    uint64_t value = 0;
    switch (which) {
    case LevelSetLine:
        return LevelSet(words);
    case StartLevelLine:
        if (!words.Next(word) || !ParseNumber(word, RecordingFormat::Levels, value) || value < 1)
            return Problem("the start level must be a number from 1 to 10, not " + Quote(word));
        rec_.startLevel = static_cast<int32_t>(value) - 1;
        return NoMore(words, "start level");
    case DifficultyLine:
        if (!words.Next(word) || !ParseNumber(word, 1000, value) || (value != 18 && value != 26 && value != 32 && value != 38))
            return Problem("the difficulty must be 18, 26, 32 or 38 frames per second, not " + Quote(word));
        rec_.difficulty = static_cast<int32_t>(value);
        return NoMore(words, "difficulty");
    default:
        if (!words.Next(word) || !ParseNumber(word, std::numeric_limits<uint64_t>::max(), rec_.seed))
            return Problem("the seed must be a whole number from 0 to 18446744073709551615, not " + Quote(word));
        return NoMore(words, "seed");
    }
}

bool Parser::LevelSet(Words& words)
{
    // The name may hold spaces: the hash is the last word.
    const std::string_view rest = words.Rest();
    size_t split = rest.size();
    while (split > 0 && !IsBlank(rest[split - 1]))
        --split;
    const std::string_view hash = rest.substr(split);
    const std::string_view name = Trim(rest.substr(0, split));
    if (name.empty())
        return Problem("the level-set line needs a file name and a hash of 16 hexadecimal digits");
    if (!ParseHash(hash, rec_.levelSetHash))
        return Problem("the level-set hash " + Quote(hash) + " is not 16 hexadecimal digits");
    if (!IsPlainFileName(name))
        return Problem("the level set " + Quote(name) + " is not the name of a file in the data folder");
    rec_.levelSet = name;
    return true;
}

// The first input line: every header line must have come.
bool Parser::Inputs()
{
    if (inputsBegun_)
        return true;
    inputsBegun_ = true;
    std::string missing;
    int count = 0;
    for (int which = 0; which < HeaderLines; ++which)
        if (!seen_[which])
            missing += std::string(count++ == 0 ? "" : ", ") + kHeaderNames[which];
    return count == 0 || Problem(std::string("missing header line") + (count > 1 ? "s" : "") + " before the inputs: " + missing);
}

bool Parser::Ticks(Words& words)
{
    std::string_view word;
    bool any = false;
    while (words.Next(word)) {
        uint64_t tick = 0;
        if (!ParseNumber(word, RecordingFormat::MaxTick, tick))
            return Problem("the tick count " + Quote(word) + " is not a whole number from 0 to " +
                           std::to_string(RecordingFormat::MaxTick) + " (six days in milliseconds)");
        if (tick < lastTick_)
            return Problem("the tick count " + Quote(word) + " is below the one before it (" + std::to_string(lastTick_) +
                           "); the game's clock never runs backwards");
        lastTick_ = tick;
        rec_.inputs.push_back(Recording::Input{false, static_cast<uint32_t>(tick), {}});
        any = true;
    }
    return any || Problem("a t line without tick counts");
}

bool Parser::Poll(Words& words)
{
    // A bad poll still counts, so the checkpoints after it are not all reported too.
    ++polls_;
    Recording::Input poll{true, 0, {}};
    std::string_view word;
    while (words.Next(word)) {
        uint64_t code = 0;
        if (!ParseNumber(word, 255, code))
            return Problem("the scan code " + Quote(word) + " is not a number from 0 to 255");
        poll.held.push_back(static_cast<uint8_t>(code));
    }
    rec_.inputs.push_back(std::move(poll));
    inputsAtLastPoll_ = rec_.inputs.size();
    checksAtLastPoll_ = rec_.checkpoints.size();
    return true;
}

bool Parser::Checkpoint(Words& words)
{
    std::string_view poll, level, won, hash;
    uint64_t pollValue = 0, levelValue = 0, wonValue = 0;
    Recording::Checkpoint c;
    if (!words.Next(poll) || !words.Next(level) || !words.Next(won) || !words.Next(hash))
        return Problem("a checkpoint needs a poll, a level, a won flag and a state hash");
    if (!ParseNumber(poll, kMaxPoll, pollValue) || static_cast<int64_t>(pollValue) != polls_)
        return Problem("the checkpoint's poll " + Quote(poll) + " is not the number of polls before it (" +
                       std::to_string(polls_) + ")");
    if (!ParseNumber(level, RecordingFormat::Levels + 1, levelValue) || levelValue < 1)
        return Problem("the checkpoint's level " + Quote(level) + " is not a number from 1 to 11");
    if (!ParseNumber(won, 1, wonValue))
        return Problem("the checkpoint's won flag " + Quote(won) + " is not 0 or 1");
    if (!ParseHash(hash, c.hash))
        return Problem("the checkpoint's state hash " + Quote(hash) + " is not 16 hexadecimal digits");
    c.poll = polls_;
    c.level = static_cast<int32_t>(levelValue) - 1;
    c.won = wonValue == 1;
    rec_.checkpoints.push_back(c);
    return NoMore(words, "checkpoint");
}

void Parser::Finish(bool ended, int endLine)
{
    if (!inputsBegun_ && !Inputs())
        return;
    if (ended) {
        if (rec_.checkpoints.empty() || rec_.checkpoints.back().poll != polls_) {
            line_ = endLine;
            Problem("no final checkpoint before the end line (a c line for poll " + std::to_string(polls_) +
                    ", where the game ended)");
        }
        return;
    }
    // Cut off: keep the inputs up to the last complete poll.
    rec_.cutOff = true;
    rec_.inputs.resize(inputsAtLastPoll_);
    rec_.checkpoints.resize(checksAtLastPoll_);
    if (polls_ == 0)
        Problem("the recording has no end line and stops before the game's first keyboard poll");
}

void Parser::Run(std::string_view bytes)
{
    if (bytes.size() > RecordingFormat::MaxFileBytes) {
        Problem("larger than " + std::to_string(RecordingFormat::MaxFileBytes >> 20) + " MB, the most a recording holds");
        return;
    }
    if (bytes.empty()) {
        Problem("empty; not a Zorbo recording");
        return;
    }
    bool ended = false;
    int endLine = 0;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t end = bytes.find('\n', pos);
        const bool complete = end != std::string_view::npos;
        std::string_view text = bytes.substr(pos, complete ? end - pos : std::string_view::npos);
        pos = complete ? end + 1 : bytes.size();
        ++line_;
        if (text.size() > RecordingFormat::MaxLineBytes) {
            if (!Problem("longer than " + std::to_string(RecordingFormat::MaxLineBytes) + " bytes") || line_ == 1)
                return;
            continue;
        }
        if (!text.empty() && text.back() == '\r')
            text.remove_suffix(1);
        if (line_ == 1) {
            if (!FirstLine(text))
                return;
            continue;
        }
        if (ended) {
            if (Trim(text).empty())
                continue;
            Problem("text after the end line");
            return;
        }
        if (Trim(text) == "end") {
            ended = true;
            endLine = line_;
            continue;
        }
        // A last line without its line end was being written when the game was killed.
        if (!complete)
            break;
        if (!Line(text))
            return;
    }
    Finish(ended, endLine);
}

} // namespace

std::string RecordingParse::FirstError(const std::string& fileName) const
{
    if (problems.empty())
        return {};
    const RecordingProblem& p = problems.front();
    std::string text = fileName + (p.line > 0 ? ":" + std::to_string(p.line) : std::string()) + ": " + p.message;
    if (problems.size() > 1 || tooManyProblems)
        text += " (and " + std::string(tooManyProblems ? "more than " : "") + std::to_string(problems.size() - 1) +
                " more problem" + (problems.size() == 2 && !tooManyProblems ? "" : "s") + ")";
    return text;
}

RecordingParse ParseRecording(std::string_view bytes)
{
    RecordingParse p;
    Parser(p).Run(bytes);
    return p;
}

bool IsPlainFileName(std::string_view name)
{
    if (name.empty() || name.size() > RecordingFormat::MaxNameBytes || name.front() == '.' || IsBlank(name.front()) ||
        IsBlank(name.back()) || name.find("..") != std::string_view::npos)
        return false;
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '/' || b < 32 || b == 127)
            return false;
    }
    return true;
}

// ---- writing

void RecordingText::Ticks(std::string& out, const Recording& rec, size_t end)
{
    size_t onLine = 0;
    for (; input_ < end && !rec.inputs[input_].keys; ++input_) {
        if (onLine == RecordingFormat::TicksPerLine) {
            out += '\n';
            onLine = 0;
        }
        out += onLine == 0 ? "t " : " ";
        out += std::to_string(rec.inputs[input_].tick);
        ++onLine;
    }
    out += '\n';
}

// A checkpoint goes right before the keyboard poll it was taken at.
void RecordingText::Checkpoints(std::string& out, const Recording& rec, int64_t upTo)
{
    for (; check_ < rec.checkpoints.size() && rec.checkpoints[check_].poll <= upTo; ++check_) {
        const Recording::Checkpoint& c = rec.checkpoints[check_];
        char line[96];
        std::snprintf(line, sizeof line, "c %" PRId64 " %d %d %s\n", c.poll, c.level + 1, c.won ? 1 : 0, HashText(c.hash).c_str());
        out += line;
    }
}

std::string RecordingText::Next(const Recording& rec, bool finished)
{
    std::string out;
    if (!headerDone_) {
        out += "zorbo-recording " + std::to_string(rec.version) + "\n";
        out += "level-set " + rec.levelSet + " " + HashText(rec.levelSetHash) + "\n";
        out += "start-level " + std::to_string(rec.startLevel + 1) + "\n";
        out += "difficulty " + std::to_string(rec.difficulty) + "\n";
        out += "seed " + std::to_string(rec.seed) + "\n";
        headerDone_ = true;
    }
    size_t end = rec.inputs.size();
    if (!finished)
        while (end > input_ && !rec.inputs[end - 1].keys)
            --end;
    while (input_ < end) {
        const Recording::Input& in = rec.inputs[input_];
        if (!in.keys) {
            Ticks(out, rec, end);
            continue;
        }
        Checkpoints(out, rec, polls_);
        out += "k";
        for (uint8_t code : in.held) {
            out += ' ';
            out += std::to_string(code);
        }
        out += "\n";
        ++polls_;
        ++input_;
    }
    if (finished) {
        Checkpoints(out, rec, polls_);
        if (!rec.cutOff)
            out += "end\n";
    }
    return out;
}

std::string FormatRecording(const Recording& rec)
{
    return RecordingText().Next(rec, true);
}

std::string HashText(uint64_t hash)
{
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016" PRIx64, hash);
    return buf;
}

} // namespace zorbo
