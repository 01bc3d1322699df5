#include "game/GameWindow.h"
#include "media/MediaLimits.h"
#include "media/RegularFile.h"
#include "media/Warn.h"
#include "media/WhileLoading.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace zorbo {

namespace {

// Takes an effect's decoded size, reckoned from its header, from the data folder's budget
// before the mixer decodes it. A file that cannot be read is left for the loader to name.
std::string TakeEffect(MediaBudget& budget, const std::string& file)
{
    std::string bytes;
    std::string unread;
    if (ReadRegularFile(file, kMaxMediaFileBytes, bytes, unread) != FileError::None)
        return {};
    return budget.Take(WaveDecodedBytes(bytes));
}

// A tune is streamed as it plays, from its file held whole: the file's size is its cost.
std::string TakeTune(MediaBudget& budget, const std::string& file)
{
    std::error_code failed;
    const uintmax_t size = std::filesystem::file_size(file, failed);
    if (failed)
        return {};
    return budget.Take(std::min<uintmax_t>(size, kMaxMusicFileBytes));
}

} // namespace

void GameWindow::InitSound()
{
    SoundLoaded.fill(false);
    for (int n = 1; n <= Sound::Count; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "m%03d.wav", n);
        SoundFiles[static_cast<size_t>(n)] = gSoundOn ? DataPath + name : std::string();
    }
    // With sound effects off, or without an audio device, the game plays silently.
    AudioOpen = gSoundOn && platform.OpenAudio();
    if (!AudioOpen)
        return;
    for (int n = 1; n <= Sound::Count; ++n) {
        const std::string& file = SoundFiles[static_cast<size_t>(n)];
        std::string error = TakeEffect(ddMain.Budget(), file);
        SoundLoaded[static_cast<size_t>(n)] =
            error.empty() && WhileLoading(file, [&] { return platform.LoadSound(n, file, error); });
        if (!SoundLoaded[static_cast<size_t>(n)])
            Warn("sound " + file + ": " + error + "; the game runs without it");
    }
    for (int t = 1; t <= Tune::Count; ++t) {
        const std::string file = DataPath + std::string(kTuneFiles[static_cast<size_t>(t)]);
        std::string error = TakeTune(ddMain.Budget(), file);
        MusicLoaded[static_cast<size_t>(t)] =
            error.empty() && WhileLoading(file, [&] { return platform.LoadMusic(t, file, error); });
        if (!MusicLoaded[static_cast<size_t>(t)])
            Warn("music " + file + ": " + error + "; the game plays on without that tune");
    }
}

void GameWindow::PlaySound(int32_t snd)
{
    if (snd < 1 || snd > Sound::Count)
        throw std::out_of_range("sound effect number out of range");
    if (SoundLoaded[static_cast<size_t>(snd)])
        platform.PlaySound(snd);
}

void GameWindow::PlaySoundSync(int32_t snd)
{
    if (snd < 1 || snd > Sound::Count)
        throw std::out_of_range("sound effect number out of range");
    // A silent game does not stand still for a sound nobody hears.
    if (SoundLoaded[static_cast<size_t>(snd)])
        platform.PlaySoundSync(snd);
}

void GameWindow::StartMusic()
{
    if (!AudioOpen)
        return;
    const int32_t tune = gGameWon ? Tune::Parade : TuneOfLook(LevelLook(Map, gLevel));
    // A tune that cannot be played leaves silence, not the last level's tune.
    if (MusicLoaded[static_cast<size_t>(tune)])
        platform.PlayMusic(tune);
    else
        platform.StopMusic();
}

} // namespace zorbo
