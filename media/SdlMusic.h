#pragma once
// The game's music on SDL: one tune at a time, streamed and looped by the sound module
// (media/SoundModule.h) from its Ogg Vorbis file. A tune's file is read when the tune
// starts, so only the one playing is held in memory. The game's requests are only noted;
// Serve, called whenever the window's messages are handled, carries them out: a tune
// playing fades out before the next fades in, and the game never waits for a fade.
#include <array>
#include <string>

namespace zorbo {

struct SoundModuleEntry;

class SdlMusic {
public:
    static constexpr int Tunes = 6;
    static constexpr int FadeOutMs = 250;
    // A loop's first sample follows its last, not silence: a short fade-in starts it softly.
    static constexpr int FadeInMs = 60;

    SdlMusic() = default;
    ~SdlMusic() { Close(); }
    SdlMusic(const SdlMusic&) = delete;
    SdlMusic& operator=(const SdlMusic&) = delete;

    // The sound device opened, with this mixer (null: silent, the tunes are only checked).
    void Open(const SoundModuleEntry* mixer);
    // Before the mixer closes: the tune stops and is freed, the files are forgotten.
    void Close();
    // Checks a tune's file (media/MediaLimits.h, ReadMusicFile); false with the reason.
    bool Load(int tune, const std::string& file, std::string& error);
    // The tune from its beginning, in place of the one playing; 0 or a tune not loaded: none.
    void Play(int tune);
    void Stop() { Play(0); }
    // The player's choice; switched on again, the tune asked for starts from its beginning.
    void SetOn(bool on);
    bool On() const { return on_; }
    void Pause(bool paused);
    void Serve();
    // The tune the mixer has started and not yet left (0: none), and whether the mixer is
    // playing it now.
    int Heard() const { return music_ != nullptr ? current_ : 0; }
    bool Sounding() const;

private:
    void Start(int tune);
    void Release();

    const SoundModuleEntry* mixer_ = nullptr;
    bool open_ = false;
    std::array<std::string, Tunes + 1> files_;
    // Tunes whose file the mixer could not play: warned about once, then left out.
    std::array<bool, Tunes + 1> dropped_{};
    int wanted_ = 0;        // the tune the game asked for last
    unsigned asked_ = 0;    // counts the requests: each one starts its tune afresh
    int current_ = 0;       // the tune the mixer was last given ...
    unsigned started_ = 0;  // ... for this request
    void* music_ = nullptr;
    std::string bytes_;     // the current tune's file, which the mixer streams from
    bool on_ = true;
    bool paused_ = false;
};

} // namespace zorbo
