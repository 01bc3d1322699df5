#include "record/Replay.h"

#include "game/GameWindow.h"
#include "game/Settings.h"
#include "level/LevelFile.h"
#include "media/HeadlessPlatform.h"
#include "record/RecordingWriter.h"
#include "record/StateHash.h"

namespace zorbo {

bool StartRecording(const Settings& settings, Recording& rec, std::string& error)
{
    rec = Recording{};
    rec.levelSet = settings.gLevelSet;
    rec.startLevel = settings.gLevel;
    rec.difficulty = settings.gDifficulty;
    if (!IsPlainFileName(settings.gLevelSet)) {
        error = "the level set \"" + settings.gLevelSet +
                "\" cannot be recorded: a recording names a plain file (no leading '.', no \"..\") in the data folder";
        return false;
    }
    const std::string path = settings.DataPath + settings.gLevelSet;
    std::string bytes, reason;
    if (!ReadFileBytes(path, bytes, reason)) {
        error = path + ": " + reason;
        return false;
    }
    rec.levelSetHash = HashBytes(bytes);
    return true;
}

bool PrepareReplay(const std::string& file, const std::string& dataPath, Recording& rec, Settings& settings,
                   std::string& error)
{
    if (!LoadRecording(file, rec, error))
        return false;
    // The recording names a plain file, so this stays inside the data folder.
    const std::string levelFile = dataPath + rec.levelSet;
    std::string bytes, reason;
    if (!ReadFileBytes(levelFile, bytes, reason)) {
        error = file + ": its level set " + levelFile + " " + reason;
        return false;
    }
    if (HashBytes(bytes) != rec.levelSetHash) {
        error = file + ": recorded with another version of the level set " + rec.levelSet +
                " (its contents have changed since); it cannot be replayed";
        return false;
    }
    const LevelCheckResult check = CheckLevelSetBytes(bytes);
    if (!check.ok()) {
        error = file + ": " + check.FirstError(levelFile);
        return false;
    }
    settings.gLevelSet = rec.levelSet;
    settings.gLevel = rec.startLevel;
    settings.gDifficulty = rec.difficulty;
    settings.DataPath = dataPath;
    return true;
}

ReplayResult ReplayHeadless(const Recording& rec, const Settings& settings, int stopAfterFrames)
{
    HeadlessPlatform headless;
    headless.keepPictures = false;
    headless.closeAfterFrames = stopAfterFrames;
    // A message box ends up in the verdict, so it is not printed twice.
    headless.echoMessages = false;
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
    result.end = replay.End();
    result.ok = result.end == ReplayEnd::Matched;
    result.message = replay.Verdict();
    return result;
}

std::string ReplayLine(const ReplayResult& result)
{
    return result.summary + " polls " + std::to_string(result.polls) + " checkpoints " +
           std::to_string(result.checkpoints);
}

} // namespace zorbo
