// The program: reads the settings, opens the game window and runs the game.
#include "game/CommandLine.h"
#include "game/GameWindow.h"
#include "media/sdl_platform.h"

#include <SDL.h>

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv)
{
    using namespace zorbo;
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
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    Settings settings = cl.settings;
    settings.DataPath = FindDataPath(cl.dataDir, ec ? std::string() : exe.parent_path().string());

    if (!std::filesystem::is_directory(settings.DataPath, ec)) {
        std::fprintf(stderr, "zorbo: the data folder %s does not exist (use --data DIR)\n",
                     settings.DataPath.c_str());
        return 1;
    }
    try {
        SdlPlatform platform(settings.DataPath + "icon.bmp");
        platform.CloseAfterFrames(cl.quitAfterFrames);
        GameWindow game(platform, settings);
        game.Form_Load();
        if (!cl.screenshot.empty() && !platform.SavePicture(cl.screenshot))
            std::fprintf(stderr, "zorbo: cannot save the screenshot %s\n", cl.screenshot.c_str());
        if (cl.quitAfterFrames >= 0)
            std::printf("frames=%d first_frame_ms=%u\n", platform.Presents(), platform.FirstPresentTick());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorbo: %s\n", e.what());
        return 1;
    }
    return 0;
}
