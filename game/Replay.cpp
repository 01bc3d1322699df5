#include "game/GameWindow.h"
#include "game/Recording.h"
#include "game/Settings.h"
#include "media/HeadlessPlatform.h"

namespace zorbo {

bool StartRecording(const Settings& settings, Recording& rec, std::string& error)
{
    rec = Recording{};
    rec.levelSet = settings.gLevelSet;
    rec.startLevel = settings.gLevel;
    rec.difficulty = settings.gDifficulty;
    if (!HashFile(settings.DataPath + settings.gLevelSet, rec.levelSetHash)) {
        error = settings.DataPath + settings.gLevelSet + ": cannot be read";
        return false;
    }
    return true;
}

bool PrepareReplay(const std::string& file, const std::string& dataPath, Recording& rec, Settings& settings,
                   std::string& error)
{
    if (!Recording::Load(file, rec, error))
        return false;
    uint64_t hash = 0;
    const std::string levelFile = dataPath + rec.levelSet;
    if (!HashFile(levelFile, hash)) {
        error = file + ": its level set " + levelFile + " cannot be read";
        return false;
    }
    if (hash != rec.levelSetHash) {
        error = file + ": recorded with another version of the level set " + rec.levelSet +
                " (its contents have changed since); it cannot be replayed";
        return false;
    }
    settings.gLevelSet = rec.levelSet;
    settings.gLevel = rec.startLevel;
    settings.gDifficulty = rec.difficulty;
    settings.DataPath = dataPath;
    return true;
}

ReplayResult ReplayHeadless(const Recording& rec, const Settings& settings)
{
    HeadlessPlatform headless;
    headless.keepPictures = false;
    ReplayPlatform replay(headless, rec, false);
    Settings s = settings;
    s.gSoundOn = false;
    GameWindow game(replay, s);
    replay.Watch(&game);
    game.Form_Load();
    replay.Finish();
    ReplayResult result;
    result.polls = replay.Polls();
    result.checkpoints = replay.CheckpointsMatched();
    result.summary = Summary(game);
    result.ok = !replay.Diverged();
    result.message = replay.Divergence();
    return result;
}

} // namespace zorbo
