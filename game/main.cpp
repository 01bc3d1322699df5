// The program: reads the settings, opens the game window and runs the game.
#include "game/CommandLine.h"
#include "game/GameWindow.h"
#include "game/Recording.h"
#include "launcher/Launcher.h"
#include "media/sdl_platform.h"
#include "world/LevelCheck.h"

#include <SDL.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>

namespace {

using namespace zorbo;

// Plays (or records, or watches a recording of) one game in an SDL window.
int RunGame(const Settings& settings, const CommandLine& cl, const Recording* replay)
{
    try {
        SdlPlatform sdl(settings.DataPath + "icon.bmp");
        sdl.CloseAfterFrames(cl.quitAfterFrames);
        Recording recording;
        std::string error;
        if (!cl.record.empty() && !StartRecording(settings, recording, error)) {
            std::fprintf(stderr, "zorbo: %s\n", error.c_str());
            return 1;
        }
        RecordingPlatform recorder(sdl, recording);
        std::unique_ptr<ReplayPlatform> player;
        Platform* platform = &sdl;
        if (replay != nullptr)
            platform = (player = std::make_unique<ReplayPlatform>(sdl, *replay, true)).get();
        else if (!cl.record.empty())
            platform = &recorder;

        GameWindow game(*platform, settings);
        recorder.Watch(&game);
        if (player)
            player->Watch(&game);
        game.Form_Load();

        if (!cl.screenshot.empty() && !sdl.SavePicture(cl.screenshot))
            std::fprintf(stderr, "zorbo: cannot save the screenshot %s\n", cl.screenshot.c_str());
        if (cl.quitAfterFrames >= 0)
            std::printf("frames=%d first_frame_ms=%u\n", sdl.Presents(), sdl.FirstPresentTick());
        if (!cl.record.empty()) {
            recorder.Finish();
            if (!recording.Save(cl.record, error)) {
                std::fprintf(stderr, "zorbo: %s\n", error.c_str());
                return 1;
            }
        }
        if (player) {
            player->Finish();
            std::printf("%s\n", Summary(game).c_str());
            if (player->Diverged()) {
                std::fprintf(stderr, "zorbo: the replay went its own way: %s\n", player->Divergence().c_str());
                return 1;
            }
        }
        // The game has said why it could not go on (GameWindow::Fail).
        if (game.Failed())
            return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorbo: %s\n", e.what());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    SDL_GetTicks(); // starts the tick count, so start-up time is measured from here
    const CommandLine cl = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!cl.error.empty()) {
        std::fprintf(stderr, "zorbo: %s\n", cl.error.c_str());
        return 2;
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
        const LevelCheckResult check = CheckLevelSet(cl.checkLevelSet);
        std::fputs(check.Report(cl.checkLevelSet).c_str(), stdout);
        if (check.readable)
            std::printf("%s\n", check.Summary(cl.checkLevelSet).c_str());
        return check.problems.empty() ? 0 : 1;
    }
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    Settings settings = cl.settings;
    settings.DataPath = FindDataPath(cl.dataDir, ec ? std::string() : exe.parent_path().string());

    if (!cl.play.empty()) {
        Recording rec;
        std::string error;
        if (!PrepareReplay(cl.play, settings.DataPath, rec, settings, error)) {
            std::fprintf(stderr, "zorbo: %s\n", error.c_str());
            return 1;
        }
        if (!cl.headless)
            return RunGame(settings, cl, &rec);
        const ReplayResult result = ReplayHeadless(rec, settings);
        std::printf("%s polls %lld checkpoints %d\n", result.summary.c_str(),
                    static_cast<long long>(result.polls), result.checkpoints);
        if (!result.ok) {
            std::fprintf(stderr, "zorbo: the replay went its own way: %s\n", result.message.c_str());
            return 1;
        }
        return 0;
    }

    // Both the launcher and the game need a desktop; without one, say so at once.
    if (const std::string reason = cl.anySetting ? NoDisplayReason() : LauncherNoDisplayReason(); !reason.empty()) {
        std::fprintf(stderr, "zorbo: %s\n", reason.c_str());
        return 1;
    }
    // Without game settings on the command line the player chooses them in the launcher.
    if (!cl.anySetting) {
        const std::string dataPath = settings.DataPath;
        if (!RunLauncher(dataPath, settings))
            return 0;
    }
    if (!std::filesystem::is_directory(settings.DataPath, ec)) {
        std::fprintf(stderr, "zorbo: the data folder %s does not exist (use --data DIR)\n",
                     settings.DataPath.c_str());
        return 1;
    }
    // The level set is checked once, before the window opens (the launcher has done so
    // already): a broken one is refused with its line and column instead of failing in play.
    if (cl.anySetting) {
        const std::string levelSet = settings.DataPath + settings.gLevelSet;
        const LevelCheckResult check = CheckLevelSet(levelSet);
        std::fputs(check.Report(levelSet).c_str(), stderr);
        if (!check.ok())
            return 1;
    }
    return RunGame(settings, cl, nullptr);
}
