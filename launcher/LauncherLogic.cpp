#include "launcher/LauncherLogic.h"

#include <FL/fl_utf8.h>

#include <algorithm>
#include <cctype>
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

bool HasTxtExtension(const std::string& file)
{
    if (file.size() < 4)
        return false;
    std::string ext = file.substr(file.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
    return ext == ".txt";
}

} // namespace

std::vector<LevelSetEntry> ListLevelSets(const std::string& dataFolder)
{
    namespace fs = std::filesystem;
    std::vector<LevelSetEntry> list;
    std::error_code ec;
    fs::directory_iterator it(dataFolder, ec);
    if (ec)
        return list;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        const std::string file = it->path().filename().string();
        // Hidden files stay hidden, as in any file list.
        if (file.empty() || file[0] == '.' || !HasTxtExtension(file))
            continue;
        std::error_code typeError;
        if (!fs::is_regular_file(it->path(), typeError))
            continue;
        list.push_back({file.substr(0, file.size() - 4), file});
    }
    std::sort(list.begin(), list.end(), [](const LevelSetEntry& a, const LevelSetEntry& b) {
        const int byCase = fl_utf_strcasecmp(a.file.c_str(), b.file.c_str());
        return byCase != 0 ? byCase < 0 : a.file < b.file;
    });
    return list;
}

void MatchLevelSet(const std::vector<LevelSetEntry>& entries, const std::string& text,
                   std::string& gLevelSet)
{
    for (const LevelSetEntry& e : entries)
        if (SameIgnoringCase(e.name, text))
            gLevelSet = e.file;
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
    s.gLevelSet = c.gLevelSet;
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
