#include "game/Progress.h"

#include "level/Rules.h"
#include "media/AtomicFile.h"
#include "media/RegularFile.h"
#include "media/UserFolders.h"
#include "media/Warn.h"


#include <filesystem>

namespace zorbo {

namespace {

constexpr std::string_view kFinishedWord = "finished";
constexpr const char* kHeader = "# Zorbo: the furthest level reached by playing, in each level set\n";

bool HasControlBytes(std::string_view text)
{
    for (char ch : text)
        if (static_cast<unsigned char>(ch) < 32 || ch == 127)
            return true;
    return false;
}

bool GoodKey(std::string_view key)
{
    return !key.empty() && key.size() <= ProgressFormat::MaxKeyBytes && !HasControlBytes(key);
}

// A text as a message may quote it: control bytes as '?', and not too long.
std::string Printable(std::string_view text)
{
    std::string out(text.substr(0, 40));
    for (char& ch : out)
        if (static_cast<unsigned char>(ch) < 32 || ch == 127)
            ch = '?';
    return text.size() > 40 ? out + "..." : out;
}

// 1..10 or "finished"; 0 for anything else.
int32_t LevelOf(std::string_view word)
{
    if (word.size() == 1 && word[0] >= '1' && word[0] <= '9')
        return word[0] - '0';
    if (word == "10")
        return 10;
    return word == kFinishedWord ? ProgressFormat::Finished : 0;
}

class Reader {
public:
    explicit Reader(ProgressRead& out) : out_(out) {}

    void Problem(int line, std::string message)
    {
        if (out_.problems.size() < ProgressFormat::MaxListedProblems)
            out_.problems.push_back({line, std::move(message)});
    }

    void Line(int line, std::string_view text)
    {
        if (text.empty() || text[0] == '#')
            return;
        const size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        const int32_t level = LevelOf(word);
        if (level == 0) {
            Problem(line, "the level cannot be \"" + Printable(word) + "\"");
            return;
        }
        const std::string_view key = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (key.empty()) {
            Problem(line, "no level set follows the level");
            return;
        }
        if (!GoodKey(key)) {
            Problem(line, "the level set cannot be \"" + Printable(key) + "\"");
            return;
        }
        if (!out_.reached.emplace(std::string(key), level).second)
            Problem(line, "the level set \"" + Printable(key) + "\" is listed twice");
    }

private:
    ProgressRead& out_;
};

std::string LevelWord(int32_t level)
{
    return level == ProgressFormat::Finished ? std::string(kFinishedWord) : std::to_string(level);
}

} // namespace

std::string ProgressRead::FirstProblem() const
{
    if (problems.empty())
        return {};
    const ProgressProblem& p = problems.front();
    return p.line > 0 ? "line " + std::to_string(p.line) + ": " + p.message : p.message;
}

ProgressRead ReadProgress(std::string_view bytes)
{
    ProgressRead out;
    Reader reader(out);
    if (bytes.size() > ProgressFormat::MaxFileBytes) {
        reader.Problem(0, "it is larger than " + std::to_string(ProgressFormat::MaxFileBytes) + " bytes");
        return out;
    }
    LineSplitter lines(bytes);
    FileLine line;
    int number = 0;
    while (lines.Next(line))
        reader.Line(++number, line.text);
    if (!out.valid())
        out.reached.clear();
    return out;
}

std::string ProgressText(const Progress& progress)
{
    std::string text = kHeader;
    for (const auto& [key, level] : progress)
        if (GoodKey(key) && level >= 1 && level <= ProgressFormat::Finished)
            text += LevelWord(level) + " " + key + "\n";
    return text;
}

bool RaiseProgress(Progress& progress, const std::string& key, int32_t reached)
{
    if (!GoodKey(key) || reached < 1 || reached > ProgressFormat::Finished)
        return false;
    const auto [at, added] = progress.emplace(key, reached);
    if (added)
        return true;
    if (at->second >= reached)
        return false;
    at->second = reached;
    return true;
}

std::string ProgressKey(const std::string& file, SetPlace place)
{
    switch (place) {
    case SetPlace::Data:
        return file;
    case SetPlace::Player:
        return "user:" + file;
    case SetPlace::Elsewhere:
        break;
    }
    return {};
}

std::string ProgressPath()
{
    const std::string folder = ZorboStateFolder();
    return folder.empty() ? std::string() : folder + "/progress";
}

Progress LoadProgress(const std::string& path, bool warn, ProgressFound* found)
{
    ProgressFound unused;
    ProgressFound& what = found != nullptr ? *found : unused;
    what = ProgressFound::Missing;
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
        return {};
    std::string bytes, reason;
    const FileError error = ReadRegularFile(path, ProgressFormat::MaxFileBytes, bytes, reason);
    if (error != FileError::None) {
        what = error == FileError::TooLarge ? ProgressFound::Damaged : ProgressFound::Unreadable;
        if (warn)
            Warn("progress file " + path + " " + reason + "; no level reached is read from it");
        return {};
    }
    ProgressRead read = ReadProgress(bytes);
    if (!read.valid()) {
        what = ProgressFound::Damaged;
        if (warn)
            Warn("progress file " + path + ": " + read.FirstProblem() +
                 "; no level reached is read from it, and the next level reached replaces it");
        return {};
    }
    what = ProgressFound::Read;
    return std::move(read.reached);
}

bool SaveProgress(const std::string& path, const Progress& progress, std::string& reason)
{
    const std::string text = ProgressText(progress);
    if (text.size() > ProgressFormat::MaxFileBytes) {
        reason = "it would be larger than " + std::to_string(ProgressFormat::MaxFileBytes) + " bytes";
        return false;
    }
    // The folder holds the level editor's copies of unsaved levels too: it is private.
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty() && !MakePrivateFolders(folder.string(), reason))
        return false;
    return AtomicFile::WriteWhole(path, text, reason) == AtomicFile::Outcome::Saved;
}

ProgressKeeper::ProgressKeeper(std::string path, std::string key, bool warnBadFile)
    : path_(std::move(path)), key_(std::move(key)), warnBadFile_(warnBadFile)
{
}

void ProgressKeeper::Reached(int32_t level)
{
    if (path_.empty() || key_.empty()) // nowhere to keep it, or a set that keeps nothing
        return;
    ProgressFound found = ProgressFound::Missing;
    Progress progress = LoadProgress(path_, warnBadFile_, &found);
    if (found == ProgressFound::Damaged || found == ProgressFound::Unreadable)
        warnBadFile_ = false; // named once is enough
    // A folder, a FIFO or a file this player may not read is not ours to replace.
    if (found == ProgressFound::Unreadable || !RaiseProgress(progress, key_, level))
        return;
    std::string reason;
    if (!SaveProgress(path_, progress, reason) && !warnedWrite_) {
        warnedWrite_ = true;
        Warn("progress file " + path_ + ": " + reason + "; the levels reached in this game are not kept");
    }
}

} // namespace zorbo
