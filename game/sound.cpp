#include "game/GameWindow.h"
#include "media/Warn.h"
#include "media/WhileLoading.h"

#include <cstdio>
#include <stdexcept>

namespace zorbo {

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
        std::string error;
        SoundLoaded[static_cast<size_t>(n)] = WhileLoading(file, [&] { return platform.LoadSound(n, file, error); });
        if (!SoundLoaded[static_cast<size_t>(n)])
            Warn("sound " + file + ": " + error + "; the game runs without it");
    }
    for (int t = 1; t <= Tune::Count; ++t) {
        const std::string file = DataPath + std::string(kTuneFiles[static_cast<size_t>(t)]);
        std::string error;
        MusicLoaded[static_cast<size_t>(t)] = WhileLoading(file, [&] { return platform.LoadMusic(t, file, error); });
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
