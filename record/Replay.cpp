#include "record/Replay.h"

#include "game/GameWindow.h"
#include "game/Settings.h"
#include "level/LevelFile.h"
#include "level/LevelSets.h"
#include "media/HeadlessPlatform.h"
#include "record/RecordingWriter.h"
#include "record/StateHash.h"

#include <optional>

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
    const std::string path = settings.LevelSetPath();
    std::string bytes, reason;
    if (!ReadFileBytes(path, bytes, reason)) {
        error = path + ": " + reason;
        return false;
    }
    rec.levelSetHash = HashBytes(bytes);
    return true;
}

bool PrepareReplay(const std::string& file, const std::string& dataPath, Recording& rec, Settings& settings,
                   std::string& error, const std::string& playerFolder)
{
    if (!LoadRecording(file, rec, error))
        return false;
    // The recording names a plain file, so each place looked in stays inside its folder.
    // The first file of that name whose bytes are the recorded set's is the one: the data
    // folder's, else the player's own copy.
    std::string bytes;
    std::optional<LevelSetFile> found;
    std::string firstFailure, changed;
    for (const LevelSetFile& candidate : RecordedSetFiles(rec.levelSet, dataPath, playerFolder)) {
        std::string read, reason;
        if (!ReadFileBytes(candidate.Path(), read, reason)) {
            if (firstFailure.empty())
                firstFailure = file + ": its level set " + candidate.Path() + " " + reason;
            continue;
        }
        if (HashBytes(read) != rec.levelSetHash) {
            if (changed.empty())
                changed = file + ": recorded with another version of the level set " + rec.levelSet +
                          " (its contents have changed since); it cannot be replayed";
            continue;
        }
        bytes = std::move(read);
        found = candidate;
        break;
    }
    if (!found) {
        error = changed.empty() ? firstFailure : changed;
        return false;
    }
    const std::string levelFile = found->Path();
    const LevelCheckResult check = CheckLevelSetBytes(bytes);
    if (!check.ok()) {
        error = file + ": " + check.FirstError(levelFile);
        return false;
    }
    settings.gLevelSet = rec.levelSet;
    settings.gLevel = rec.startLevel;
    settings.gDifficulty = rec.difficulty;
    settings.DataPath = dataPath;
    settings.LevelSetFolder = found->place == SetPlace::Data ? std::string() : found->folder;
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
