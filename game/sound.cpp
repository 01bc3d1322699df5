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
    if (!gSoundOn || !platform.OpenAudio())
        return;
    for (int n = 1; n <= Sound::Count; ++n) {
        const std::string& file = SoundFiles[static_cast<size_t>(n)];
        std::string error;
        SoundLoaded[static_cast<size_t>(n)] = WhileLoading(file, [&] { return platform.LoadSound(n, file, error); });
        if (!SoundLoaded[static_cast<size_t>(n)])
            Warn("sound " + file + ": " + error + "; the game runs without it");
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

} // namespace zorbo
