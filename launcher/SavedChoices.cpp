#include "launcher/SavedChoices.h"

#include "level/Rules.h"
#include "media/AtomicFile.h"
#include "media/RegularFile.h"
#include "media/UserFolders.h"
#include "media/Warn.h"

#include <filesystem>
#include <optional>

namespace zorbo {

namespace {

struct DifficultyWord {
    DifficultyOption option;
    const char* word;
};
constexpr DifficultyWord kDifficultyWords[] = {
    {DifficultyOption::Easy, "easy"},
    {DifficultyOption::Normal, "normal"},
    {DifficultyOption::Difficult, "difficult"},
    {DifficultyOption::Crazy, "crazy"},
};

enum class Key { LevelSet, Level, ScreenSize, Difficulty, Sound, Motion, Music, Count };
constexpr const char* kKeyNames[] = {"level-set", "level", "screen-size", "difficulty", "sound", "motion", "music"};
static_assert(std::size(kKeyNames) == static_cast<size_t>(Key::Count));

bool HasControlBytes(std::string_view text)
{
    for (char ch : text)
        if (static_cast<unsigned char>(ch) < 32 || ch == 127)
            return true;
    return false;
}

class Reader {
public:
    explicit Reader(SavedChoicesRead& out) : out_(out) {}

    void Problem(int line, std::string message)
    {
        if (out_.problems.size() < SavedChoicesFormat::MaxListedProblems)
            out_.problems.push_back({line, std::move(message)});
    }

    void Line(int line, std::string_view text)
    {
        if (text.empty() || text[0] == '#')
            return;
        const size_t space = text.find(' ');
        const std::string_view keyText = text.substr(0, space);
        const std::string_view value = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        size_t k = 0;
        while (k < std::size(kKeyNames) && keyText != kKeyNames[k])
            ++k;
        if (k == std::size(kKeyNames)) {
            Problem(line, "unknown setting \"" + Printable(keyText) + "\"");
            return;
        }
        if (seen_[k]) {
            Problem(line, std::string(kKeyNames[k]) + " is set twice");
            return;
        }
        seen_[k] = true;
        if (!Value(static_cast<Key>(k), value))
            Problem(line, std::string(kKeyNames[k]) + " cannot be \"" + Printable(value) + "\"");
    }

private:
    // A value as a message may quote it: control bytes as '?', and not too long.
    static std::string Printable(std::string_view text)
    {
        std::string out(text.substr(0, 40));
        for (char& ch : out)
            if (static_cast<unsigned char>(ch) < 32 || ch == 127)
                ch = '?';
        return text.size() > 40 ? out + "..." : out;
    }

    bool Value(Key key, std::string_view value)
    {
        SavedChoices& c = out_.choices;
        switch (key) {
        case Key::LevelSet:
            if (value.empty() || value.size() > SavedChoicesFormat::MaxNameBytes || HasControlBytes(value))
                return false;
            c.levelSet = value;
            return true;
        case Key::Level:
            if (value.size() == 1 && value[0] >= '1' && value[0] <= '9')
                c.level = value[0] - '0';
            else if (value == "10")
                c.level = 10;
            else
                return false;
            return true;
        case Key::ScreenSize:
            for (const char* size : kScreenSizes)
                if (value == size) {
                    c.screenSize = size;
                    return true;
                }
            return false;
        case Key::Difficulty:
            for (const DifficultyWord& d : kDifficultyWords)
                if (value == d.word) {
                    c.difficulty = d.option;
                    return true;
                }
            return false;
        case Key::Sound:
            if (value != "on" && value != "off")
                return false;
            c.soundOn = value == "on";
            return true;
        case Key::Motion:
            if (const std::optional<Motion> motion = MotionFromWord(value)) {
                c.motion = *motion;
                return true;
            }
            return false;
        case Key::Music:
            if (const std::optional<MusicChoice> music = MusicFromWord(value)) {
                c.music = *music;
                return true;
            }
            return false;
        case Key::Count:
            break;
        }
        return false;
    }

    SavedChoicesRead& out_;
    bool seen_[static_cast<size_t>(Key::Count)] = {};
};

const char* DifficultyText(DifficultyOption option)
{
    for (const DifficultyWord& d : kDifficultyWords)
        if (d.option == option)
            return d.word;
    return "normal";
}

} // namespace

SavedChoices ChoicesToRemember(const LauncherChoices& choices, const Settings& started)
{
    SavedChoices out;
    for (const LevelSetEntry& e : choices.levelSets)
        if (e.file == started.gLevelSet && e.folder == started.LevelSetFolder)
            out.levelSet = e.name;
    out.level = started.gLevel + 1;
    out.screenSize = started.gFullScreen ? kScreenSizes[0] : started.gWindow640 ? kScreenSizes[2] : kScreenSizes[1];
    out.difficulty = choices.difficulty;
    out.soundOn = started.gSoundOn;
    out.motion = started.motion;
    out.music = started.music;
    return out;
}

std::string SavedChoicesRead::FirstProblem() const
{
    if (problems.empty())
        return {};
    const SavedChoicesProblem& p = problems.front();
    return p.line > 0 ? "line " + std::to_string(p.line) + ": " + p.message : p.message;
}

SavedChoicesRead ReadSavedChoices(std::string_view bytes)
{
    SavedChoicesRead out;
    Reader reader(out);
    if (bytes.size() > SavedChoicesFormat::MaxFileBytes) {
        reader.Problem(0, "it is larger than " + std::to_string(SavedChoicesFormat::MaxFileBytes) + " bytes");
        return out;
    }
    LineSplitter lines(bytes);
    FileLine line;
    int number = 0;
    while (lines.Next(line))
        reader.Line(++number, line.text);
    return out;
}

std::string SavedChoicesText(const SavedChoices& c)
{
    std::string text = "# Zorbo: the launcher's last choices\n";
    if (!c.levelSet.empty() && c.levelSet.size() <= SavedChoicesFormat::MaxNameBytes && !HasControlBytes(c.levelSet))
        text += "level-set " + c.levelSet + "\n";
    text += "level " + std::to_string(c.level) + "\n";
    text += "screen-size " + c.screenSize + "\n";
    text += std::string("difficulty ") + DifficultyText(c.difficulty) + "\n";
    text += std::string("sound ") + (c.soundOn ? "on" : "off") + "\n";
    text += "motion " + std::string(MotionWord(c.motion)) + "\n";
    if (c.music != MusicChoice::Automatic)
        text += "music " + std::string(MusicWord(c.music)) + "\n";
    return text;
}

std::string SavedChoicesPath()
{
    const std::string folder = ZorboConfigFolder();
    return folder.empty() ? std::string() : folder + "/settings";
}

SavedChoices LoadSavedChoices(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
        return {};
    std::string bytes, reason;
    if (ReadRegularFile(path, SavedChoicesFormat::MaxFileBytes, bytes, reason) != FileError::None) {
        Warn("settings file " + path + " " + reason + "; the launcher shows its usual choices");
        return {};
    }
    const SavedChoicesRead read = ReadSavedChoices(bytes);
    if (!read.valid()) {
        Warn("settings file " + path + ": " + read.FirstProblem() + "; the launcher shows its usual choices");
        return {};
    }
    return read.choices;
}

bool SaveChoices(const std::string& path, const SavedChoices& choices, std::string& reason)
{
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty() && !std::filesystem::create_directories(folder, ec) && ec) {
        reason = "cannot make the folder " + folder.string() + ": " + ErrorText(ec.value());
        return false;
    }
    return AtomicFile::WriteWhole(path, SavedChoicesText(choices), reason) == AtomicFile::Outcome::Saved;
}

} // namespace zorbo
