#pragma once
// The sound mixer as a module of its own (zorbo-sound.so, on SDL2_mixer), loaded only when
// a sound device opens: a game without sound, or on a machine without a sound device,
// never loads the mixer and the decoders linked to it.
struct SDL_RWops;

namespace zorbo {

// The one entry the module exports; `version` comes first (media/ModuleFile.h).
struct SoundModuleEntry {
    const char* version;
    // Opens the device already chosen by SDL's audio subsystem for 16-bit mono at `rate`
    // with `samples` per buffer, and `channels` channels; false with the reason in error().
    bool (*open)(int rate, int samples, int channels);
    const char* (*error)();
    // Decodes a wave (and closes `rw`); null on failure. `bytes` gets the decoded size.
    void* (*load)(SDL_RWops* rw, unsigned* bytes);
    void (*free)(void* chunk);
    // Plays `chunk` on `channel` from its beginning, cutting what that channel played.
    void (*play)(int channel, void* chunk);
    // Whether `channel` plays; for -1 how many channels play.
    int (*playing)(int channel);
    void (*pause)(bool paused);
    void (*halt)();
    // Closes the device; it plays out its last buffers first, so it may run on a thread.
    void (*close)();

    // Music, one tune at a time. Streams a tune from `rw`, which it closes when freed (the
    // bytes behind it must outlive it); null on failure, `rw` closed.
    void* (*loadMusic)(SDL_RWops* rw);
    // Never while the tune fades out: the mixer would wait for the fade to end.
    void (*freeMusic)(void* music);
    // Plays `music` from its beginning, looping, fading in over `ms`; never while another
    // tune fades out (the mixer would wait). False on failure.
    bool (*playMusic)(void* music, int ms);
    void (*fadeOutMusic)(int ms);
    void (*haltMusic)();
    // MusicSilent, MusicPlaying or MusicFading (out).
    int (*musicState)();
    void (*pauseMusic)(bool paused);
};
inline constexpr int MusicSilent = 0;
inline constexpr int MusicPlaying = 1;
inline constexpr int MusicFading = 2;
inline constexpr const char* SoundModuleSymbol = "zorbo_sound_entry";
inline constexpr const char* SoundModuleFile = "zorbo-sound.so";

} // namespace zorbo
