#include "launcher/LauncherLogic.h"

#include <FL/fl_utf8.h>

#include <algorithm>
#include <filesystem>

namespace zorbo {

const char* const kUnknownLevelSetMessage =
    "Invalid level set selected.  Please select from the list and try again.";

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    // UTF-8 aware, so names like "Übung" match "übung" too.
    return fl_utf_strcasecmp(a.c_str(), b.c_str()) == 0;
}

// The .txt files of one folder by file name; hidden files stay hidden, as in any file list.
std::vector<LevelSetEntry> ListFolder(const std::string& folder, SetPlace place)
{
    namespace fs = std::filesystem;
    std::vector<LevelSetEntry> list;
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return list;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        const std::string file = it->path().filename().string();
        if (file.empty() || file[0] == '.' || !HasTxtExtension(file))
            continue;
        // Links to a file are listed (the check reads what they lead to); folders, FIFOs and
        // links that lead nowhere are not.
        std::error_code typeError;
        if (!fs::is_regular_file(it->path(), typeError))
            continue;
        list.push_back({LevelSetName(file), file, place == SetPlace::Data ? std::string() : base, place});
    }
    std::sort(list.begin(), list.end(), [](const LevelSetEntry& a, const LevelSetEntry& b) {
        const int byCase = fl_utf_strcasecmp(a.file.c_str(), b.file.c_str());
        return byCase != 0 ? byCase < 0 : a.file < b.file;
    });
    return list;
}

} // namespace

std::vector<LevelSetEntry> ListLevelSets(const std::string& dataFolder, const std::string& playerFolder)
{
    std::vector<LevelSetEntry> list = ListFolder(dataFolder, SetPlace::Data);
    if (playerFolder.empty() || PlaceOf(playerFolder, dataFolder, {}) == SetPlace::Data)
        return list;
    const size_t shipped = list.size();
    const std::vector<LevelSetEntry> own = ListFolder(playerFolder, SetPlace::Player);
    list.insert(list.end(), own.begin(), own.end());
    // Marked against every name listed, so that each entry keeps a name of its own.
    for (size_t i = shipped; i < list.size(); ++i) {
        const auto sameName = [&](const LevelSetEntry& e) { return SameIgnoringCase(e.name, list[i].name); };
        if (std::any_of(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(shipped), sameName))
            list[i].name = MarkedName(list[i].name, list);
    }
    return list;
}

std::string MarkedName(const std::string& name, const std::vector<LevelSetEntry>& listed)
{
    const auto taken = [&](const std::string& mark) {
        return std::any_of(listed.begin(), listed.end(),
                           [&](const LevelSetEntry& e) { return SameIgnoringCase(e.name, mark); });
    };
    std::string mark = name + " (mine)";
    for (size_t n = 2; taken(mark); ++n)
        mark = name + " (mine " + std::to_string(n) + ")";
    return mark;
}

void MatchLevelSet(const std::vector<LevelSetEntry>& entries, const std::string& text, LevelSetEntry& chosen)
{
    for (const LevelSetEntry& e : entries)
        if (SameIgnoringCase(e.name, text))
            chosen = e;
}

std::string LevelCaption(int value)
{
    return "Level: (" + std::to_string(value) + "/10)";
}

int32_t DifficultyFrameRate(DifficultyOption option)
{
    switch (option) {
    case DifficultyOption::Easy:
        return Difficulty::Easy;
    case DifficultyOption::Normal:
        return Difficulty::Normal;
    case DifficultyOption::Difficult:
        return Difficulty::Difficult;
    case DifficultyOption::Crazy:
        break;
    }
    return Difficulty::Crazy;
}

void ApplyScreenSize(const std::string& text, bool& gFullScreen, bool& gWindow640)
{
    if (text == kScreenSizes[0]) {
        gFullScreen = true;
    } else if (text == kScreenSizes[1]) {
        gFullScreen = false;
        gWindow640 = false;
    } else if (text == kScreenSizes[2]) {
        gWindow640 = true;
    }
}

Settings SettingsFromChoices(const LauncherChoices& c, const std::string& dataPath)
{
    Settings s;
    s.gLevelSet = c.chosen.file;
    s.LevelSetFolder = c.chosen.folder;
    s.gLevel = std::clamp(c.level, 1, 10) - 1;
    s.gSoundOn = c.soundOn;
    s.motion = c.motion;
    s.music = c.music;
    s.gDifficulty = DifficultyFrameRate(c.difficulty);
    // The screen flags start False; only the listed sizes change them.
    s.gFullScreen = false;
    s.gWindow640 = false;
    ApplyScreenSize(c.screenSizeText, s.gFullScreen, s.gWindow640);
    s.DataPath = dataPath;
    return s;
}

} // namespace zorbo
