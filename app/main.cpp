// The program: reads the settings, opens the game window and runs the game.
#include "app/CommandLine.h"
#include "app/LauncherModule.h"
#include "game/GameWindow.h"
#include "game/Progress.h"
#include "record/Platforms.h"
#include "record/Replay.h"
#include "record/RecordingWriter.h"
#include "record/StateHash.h"
#include "launcher/Launcher.h"
#include "media/FrameLog.h"
#include "media/ModuleFile.h"
#include "media/SdlPlatform.h"
#include "level/LevelCheck.h"
#include "level/LevelSets.h"

#include <SDL.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <new>

namespace {

using namespace zorbo;

// Says how a replay ended and gives the exit status for it. A stop asked for with
// --quit-after-frames is no failure.
int ReportReplay(const std::string& file, ReplayEnd end, const std::string& verdict, bool frameLimit)
{
    std::fflush(stdout); // the summary line comes first
    switch (end) {
    case ReplayEnd::Matched:
        return ExitStatus::Ok;
    case ReplayEnd::Stopped:
        std::printf("%s\n", verdict.c_str());
        return frameLimit ? ExitStatus::Ok : ExitStatus::Stopped;
    case ReplayEnd::CutOff:
        std::fprintf(stderr, "zorbo: %s: %s\n", file.c_str(), verdict.c_str());
        return ExitStatus::CutOff;
    case ReplayEnd::Diverged:
        break;
    }
    std::fprintf(stderr, "zorbo: %s\n", verdict.c_str());
    return ExitStatus::Failed;
}

// Plays (or records, or watches a recording of) one game in an SDL window. A recording
// goes into `record` and, as the game goes, to `writer`.
int RunGame(const Settings& settings, const CommandLine& cl, const Recording* replay, Recording* record,
            RecordingWriter* writer, FrameLog& frameLog, const std::string& progressKey = {})
{
    try {
        SdlPlatform sdl(settings.DataPath + "icon.bmp");
        sdl.CloseAfterFrames(cl.quitAfterFrames);
        sdl.SetSmoothMotion(settings.motion == Motion::Smooth);
        sdl.SetMusicOn(MusicHeard(settings.music, settings.motion));
        sdl.SetFrameLog(&frameLog);
        Recording unused;
        RecordingPlatform recorder(sdl, record != nullptr ? *record : unused);
        recorder.WriteTo(writer);
        std::unique_ptr<ReplayPlatform> player;
        Platform* platform = &sdl;
        if (replay != nullptr)
            platform = (player = std::make_unique<ReplayPlatform>(sdl, *replay, true)).get();
        else if (record != nullptr)
            platform = &recorder;

        GameWindow game(*platform, settings);
        // A game from the launcher: the launcher has named a bad progress file already.
        ProgressKeeper progress(ProgressPath(), progressKey, cl.anySetting);
        if (KeepsProgress(cl))
            game.OnLevelReached = [&progress](int32_t reached) { progress.Reached(reached); };
        recorder.Watch(&game);
        if (player)
            player->Watch(&game);
        game.Form_Load();

        if (!cl.screenshot.empty() && !sdl.SavePicture(cl.screenshot))
            std::fprintf(stderr, "zorbo: cannot save the screenshot %s\n", cl.screenshot.c_str());
        if (cl.quitAfterFrames >= 0)
            std::printf("frames=%d first_frame_ms=%u\n", sdl.Presents(), sdl.FirstPresentTick());
        if (std::string error; !frameLog.Close(error))
            std::fprintf(stderr, "zorbo: %s\n", error.c_str());
        if (record != nullptr) {
            recorder.Finish();
            std::string error;
            if (!writer->Finish(*record, error)) {
                std::fprintf(stderr, "zorbo: %s\n", error.c_str());
                return ExitStatus::Failed;
            }
        }
        if (player) {
            player->Finish();
            std::printf("%s polls %lld checkpoints %d\n", Summary(game).c_str(),
                        static_cast<long long>(player->Polls()), player->CheckpointsMatched());
            const bool frameLimit = cl.quitAfterFrames >= 0 && sdl.Presents() >= cl.quitAfterFrames;
            return ReportReplay(cl.play, player->End(), player->Verdict(), frameLimit);
        }
        // The game has said why it could not go on (GameWindow::Fail).
        if (game.Failed())
            return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "zorbo: there is not enough memory to run the game\n");
        return ExitStatus::Failed;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorbo: %s\n", e.what());
        return ExitStatus::Failed;
    }
    return ExitStatus::Ok;
}

// What main is doing, for the message if memory runs out.
std::string mainStep = "starting";

int Main(int argc, char** argv)
{
    SDL_GetTicks(); // starts the tick count, so start-up time is measured from here
    const CommandLine cl = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!cl.error.empty()) {
        std::fprintf(stderr, "zorbo: %s\n", cl.error.c_str());
        return ExitStatus::BadCommandLine;
    }
    if (cl.help) {
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    }
    if (cl.version) {
        std::printf("zorbo %s\n", ZORBO_VERSION);
        return 0;
    }
    if (!cl.checkLevelSet.empty()) {
        mainStep = "checking " + cl.checkLevelSet;
        const LevelCheckResult check = CheckLevelSet(cl.checkLevelSet);
        std::fputs(check.Report(cl.checkLevelSet).c_str(), stdout);
        if (check.readable)
            std::printf("%s\n", check.Summary(cl.checkLevelSet).c_str());
        return check.problems.empty() ? 0 : 1;
    }
    const std::string programDir = ProgramFolder();
    Settings settings = cl.settings;
    settings.DataPath = FindDataPath(cl.dataDir, programDir);
    const std::string playerFolder = PlayerLevelsFolder();

    // Like the recording's file, the frame log is opened before anything is played.
    FrameLog frameLog;
    if (std::string error; !cl.frameLog.empty() && !frameLog.Open(cl.frameLog, error)) {
        std::fprintf(stderr, "zorbo: %s\n", error.c_str());
        return ExitStatus::Failed;
    }
    if (!cl.play.empty()) {
        mainStep = "replaying " + cl.play;
        Recording rec;
        std::string error;
        if (!PrepareReplay(cl.play, settings.DataPath, rec, settings, error, playerFolder)) {
            std::fprintf(stderr, "zorbo: %s\n", error.c_str());
            return ExitStatus::Failed;
        }
        if (!cl.headless)
            return RunGame(settings, cl, &rec, nullptr, nullptr, frameLog);
        const ReplayResult result = ReplayHeadless(rec, settings, cl.quitAfterFrames);
        std::printf("%s\n", ReplayLine(result).c_str());
        return ReportReplay(cl.play, result.end, result.message, cl.quitAfterFrames >= 0);
    }

    // The recording's file is opened before anything is played, so a path that cannot be
    // written is refused at once instead of after the game.
    RecordingWriter writer;
    if (!cl.record.empty()) {
        std::string error;
        if (!writer.Open(cl.record, error)) {
            std::fprintf(stderr, "zorbo: %s\n", error.c_str());
            return ExitStatus::Failed;
        }
    }

    // Both the launcher and the game need a desktop; without one, say so at once.
    if (const std::string reason = cl.anySetting ? NoDisplayReason() : LauncherNoDisplayReason(); !reason.empty()) {
        std::fprintf(stderr, "zorbo: %s\n", reason.c_str());
        return 1;
    }
    // Without game settings on the command line the player chooses them in the launcher.
    if (!cl.anySetting) {
        mainStep = "showing the launcher";
        const std::string dataPath = settings.DataPath;
        const std::string editor = programDir.empty() ? std::string("zorbo-edit") : programDir + "/zorbo-edit";
        std::string problem;
        const LauncherModuleEntry* launcher = LoadLauncherModule(programDir, problem);
        if (launcher == nullptr) {
            std::fprintf(stderr, "zorbo: %s\n", problem.c_str());
            return ExitStatus::Failed;
        }
        if (!launcher->run(dataPath, settings, editor))
            return 0;
    }
    if (std::error_code ec; !std::filesystem::is_directory(settings.DataPath, ec)) {
        std::fprintf(stderr, "zorbo: the data folder %s does not exist (use --data DIR)\n",
                     settings.DataPath.c_str());
        return 1;
    }
    // The level set is found and checked once, before the window opens (the launcher has
    // done so already): a broken one is refused with its line and column instead of failing
    // in play.
    if (cl.anySetting) {
        if (std::string error; !ChooseLevelSet(cl, playerFolder, settings, error)) {
            std::fprintf(stderr, "zorbo: %s\n", error.c_str());
            return ExitStatus::Failed;
        }
        const std::string levelSet = settings.LevelSetPath();
        mainStep = "checking " + levelSet;
        const LevelCheckResult check = CheckLevelSet(levelSet);
        std::fputs(check.Report(levelSet).c_str(), stderr);
        if (!check.ok())
            return ExitStatus::Failed;
    }
    const SetPlace place = settings.LevelSetFolder.empty()
                               ? SetPlace::Data
                               : PlaceOf(settings.LevelSetFolder, settings.DataPath, playerFolder);
    const std::string progressKey = ProgressKey(settings.gLevelSet, place);
    Recording recording;
    if (!cl.record.empty()) {
        std::string error;
        if (!StartRecording(settings, recording, error)) {
            std::fprintf(stderr, "zorbo: %s\n", error.c_str());
            return ExitStatus::Failed;
        }
        return RunGame(settings, cl, nullptr, &recording, &writer, frameLog, progressKey);
    }
    return RunGame(settings, cl, nullptr, nullptr, nullptr, frameLog, progressKey);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        return Main(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "zorbo: there is not enough memory to go on (while %s)\n", mainStep.c_str());
        return ExitStatus::Failed;
    }
}
