// The sound module's body (built only into zorbo-sound.so): SDL2_mixer behind the entry.
#include "media/SoundModule.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace {

bool Open(int rate, int samples, int channels)
{
    if (Mix_OpenAudio(rate, AUDIO_S16SYS, 1, samples) != 0)
        return false;
    Mix_AllocateChannels(channels);
    return true;
}

void* Load(SDL_RWops* rw, unsigned* bytes)
{
    Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 1);
    *bytes = chunk != nullptr ? chunk->alen : 0;
    return chunk;
}

int MusicState()
{
    if (Mix_PlayingMusic() == 0)
        return zorbo::MusicSilent;
    return Mix_FadingMusic() == MIX_FADING_OUT ? zorbo::MusicFading : zorbo::MusicPlaying;
}

} // namespace

extern "C" __attribute__((visibility("default"))) const zorbo::SoundModuleEntry zorbo_sound_entry = {
    ZORBO_VERSION,
    &Open,
    [] { return Mix_GetError(); },
    &Load,
    [](void* chunk) { Mix_FreeChunk(static_cast<Mix_Chunk*>(chunk)); },
    [](int channel, void* chunk) { Mix_PlayChannel(channel, static_cast<Mix_Chunk*>(chunk), 0); },
    [](int channel) { return Mix_Playing(channel); },
    [](bool paused) { paused ? Mix_Pause(-1) : Mix_Resume(-1); },
    [] { Mix_HaltChannel(-1); },
    [] { Mix_CloseAudio(); },
    [](SDL_RWops* rw) -> void* { return Mix_LoadMUS_RW(rw, 1); },
    [](void* music) { Mix_FreeMusic(static_cast<Mix_Music*>(music)); },
    [](void* music, int ms) { return Mix_FadeInMusic(static_cast<Mix_Music*>(music), -1, ms) == 0; },
    [](int ms) { Mix_FadeOutMusic(ms); },
    [] { Mix_HaltMusic(); },
    &MusicState,
    [](bool paused) { paused ? Mix_PauseMusic() : Mix_ResumeMusic(); },
};
