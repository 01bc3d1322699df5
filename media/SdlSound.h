#pragma once
// The game's sound effects on SDL. They are mixed by the sound module (media/SoundModule.h),
// loaded only once a sound device has opened; without a device, or without the module,
// the game plays silently, and an effect the game waits for still takes its length.
#include "media/SdlMusic.h"

#include <array>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace zorbo {

struct SoundModuleEntry;

// The sound drivers SDL is to try when the player named none (SDL_AUDIODRIVER), as a
// comma list: all SDL knows but the file writer and the silent one, and ALSA and sndio
// only with an ALSA sound card. Without one they can only reach a sound server, which
// SDL's drivers for it try first; trying them anyway costs a tenth of a second at each
// start and a line of noise. Empty when nothing is left out (SDL's own order).
std::string AutomaticAudioDrivers(const std::vector<std::string>& known, bool soundCard);

class SdlSound {
public:
    // The sound module is looked for from `programDir` (media/ModuleFile.h).
    explicit SdlSound(std::string programDir);
    ~SdlSound();
    SdlSound(const SdlSound&) = delete;
    SdlSound& operator=(const SdlSound&) = delete;

    // Opens the sound device, or failing that goes silent (said once, in a warning);
    // false only when closed.
    bool Open();
    // Effects are numbered 1..16. False, with the reason in `error`, when the file cannot
    // be loaded; a silent game checks it all the same.
    bool Load(int number, const std::string& file, std::string& error);
    // Restarts the effect from its beginning; other effects keep playing.
    void Play(int number);
    // Whether the effect still plays (a silent one until its length has passed); for -1
    // how many play.
    int Playing(int number) const;
    void Pause(bool paused);
    // Starts closing; the device plays out its last buffers on a thread of its own.
    void Close();
    // Waits for a close under way and ends SDL's sound system (before SDL itself ends).
    void FinishClosing();
    bool Silent() const { return open_ && mixer_ == nullptr; }
    // The music plays on the same mixer; it opens, closes and pauses with the effects.
    SdlMusic& Music() { return music_; }
    const SdlMusic& Music() const { return music_; }

private:
    bool OpenMixer(std::string& why);

    static constexpr size_t Effects = 17;
    std::string programDir_;
    const SoundModuleEntry* mixer_ = nullptr;
    bool open_ = false;
    std::array<void*, Effects> chunks_{};
    // A silent game's effects: each one's length, and when its current play ends.
    std::array<uint32_t, Effects> lengthMs_{};
    std::array<uint32_t, Effects> endTick_{};
    SdlMusic music_;
    uint32_t pausedAt_ = 0;
    bool paused_ = false;
    // Closing the device plays out its last buffers (tens of milliseconds); that runs here
    // while the window goes, and is waited for before the sound system is ended.
    std::thread closer_;
};

} // namespace zorbo
