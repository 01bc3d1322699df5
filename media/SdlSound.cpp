#include "media/SdlSound.h"

#include "media/MediaLimits.h"
#include "media/ModuleFile.h"
#include "media/SdlShared.h"
#include "media/SoundModule.h"
#include "media/Warn.h"

#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

namespace zorbo {

namespace {

// Every effect is a 22050 Hz mono wave: mixed as it is, nothing is converted or doubled.
// 256 samples (about 12 ms) keep effects close to the picture, and closing the device,
// which plays out two buffers, quick.
constexpr int MixRate = 22050;
constexpr int MixSamples = 256;

// alsa-lib writes its own error lines to stderr (eight of them when there is no sound
// card at all). While the audio device is opened they are kept back: SDL reports the
// failure, and the game says it in one line.
void IgnoreAlsaError(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
                     const char* /*format*/, ...)
{
}

class QuietAlsa {
public:
    // Only when SDL is to try ALSA: loading the library costs memory too.
    explicit QuietAlsa(bool alsaTried)
    {
        // The library SDL loads for ALSA; a machine without it has nothing to quieten.
        if (alsaTried)
            library_ = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (library_ != nullptr)
            setHandler_ = reinterpret_cast<SetHandler>(dlsym(library_, "snd_lib_error_set_handler"));
        if (setHandler_ != nullptr)
            setHandler_(&IgnoreAlsaError);
    }
    ~QuietAlsa()
    {
        if (setHandler_ != nullptr)
            setHandler_(nullptr); // alsa-lib's own handler again
        if (library_ != nullptr)
            dlclose(library_);
    }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;

private:
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    void* library_ = nullptr;
    SetHandler setHandler_ = nullptr;
};

bool Numbered(int number, size_t effects)
{
    return number >= 1 && static_cast<size_t>(number) < effects;
}

} // namespace

std::string AutomaticAudioDrivers(const std::vector<std::string>& known, bool soundCard)
{
    std::string list;
    bool leftOut = false;
    for (const std::string& name : known) {
        const bool needsCard = name == "alsa" || name == "sndio";
        if (name == "disk" || name == "dummy" || (needsCard && !soundCard)) {
            leftOut = leftOut || needsCard;
            continue;
        }
        list += (list.empty() ? "" : ",") + name;
    }
    return leftOut && !list.empty() ? list : std::string();
}

SdlSound::SdlSound(std::string programDir) : programDir_(std::move(programDir)) {}

SdlSound::~SdlSound()
{
    Close();
    FinishClosing();
}

bool SdlSound::Open()
{
    FinishClosing();
    bool alsaTried = true;
    if (!EnvironmentSet("SDL_AUDIODRIVER")) {
        std::vector<std::string> known;
        for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i)
            known.emplace_back(SDL_GetAudioDriver(i));
        const std::string drivers = AutomaticAudioDrivers(known, ::access("/dev/snd", F_OK) == 0);
        if (!drivers.empty())
            SDL_SetHint(SDL_HINT_AUDIODRIVER, drivers.c_str());
        alsaTried = drivers.empty();
    }
    std::string why;
    bool mixing = false;
    {
        const QuietAlsa quiet(alsaTried);
        mixing = OpenMixer(why);
    }
    if (!mixing)
        Warn(why + "; the game plays without sound");
    music_.Open(mixer_);
    open_ = true;
    paused_ = false;
    return true;
}

bool SdlSound::OpenMixer(std::string& why)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = std::string("no sound device (") + SDL_GetError() + ")";
        return false;
    }
    std::string problem;
    const auto* mixer = static_cast<const SoundModuleEntry*>(
        LoadModuleEntry(programDir_, SoundModuleFile, SoundModuleSymbol, sizeof(SoundModuleEntry), "sound mixer", problem));
    if (mixer == nullptr)
        why = problem;
    else if (!mixer->open(MixRate, MixSamples, static_cast<int>(Effects)))
        why = std::string("no sound device (") + mixer->error() + ")";
    else {
        mixer_ = mixer;
        return true;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

bool SdlSound::Load(int number, const std::string& file, std::string& error)
{
    if (!open_ || !Numbered(number, Effects))
        return false;
    const auto n = static_cast<size_t>(number);
    std::string bytes;
    SDL_RWops* rw = OpenMediaFile(file, bytes, error);
    if (rw == nullptr)
        return false;
    // Checked before decoding: a long sound would be decoded whole into memory.
    if (error = WaveFileProblem(bytes); !error.empty()) {
        SDL_RWclose(rw);
        return false;
    }
    if (mixer_ != nullptr) {
        unsigned decoded = 0;
        void* chunk = mixer_->load(rw, &decoded);
        if (chunk == nullptr) {
            error = mixer_->error();
            return false;
        }
        // The header's account can miss what a converter makes of the sound; the decoded
        // size is what it costs.
        if (decoded > kMaxSoundBytes) {
            error = DecodedSoundProblem(decoded);
            mixer_->free(chunk);
            return false;
        }
        if (chunks_[n] != nullptr)
            mixer_->free(chunks_[n]);
        chunks_[n] = chunk;
        return true;
    }
    // Silent, the wave is decoded all the same: a broken file is named as it would be with
    // sound, and the effect keeps its length for the game to wait on.
    SDL_AudioSpec wave{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV_RW(rw, 1, &wave, &samples, &length) == nullptr) {
        error = SDL_GetError();
        return false;
    }
    SDL_FreeWAV(samples);
    const uint64_t bytesPerSecond = uint64_t{SDL_AUDIO_BITSIZE(wave.format)} / 8 * wave.channels * uint64_t(wave.freq);
    lengthMs_[n] = bytesPerSecond > 0 ? static_cast<uint32_t>(uint64_t{length} * 1000 / bytesPerSecond) : 0;
    return true;
}

void SdlSound::Play(int number)
{
    if (!open_ || !Numbered(number, Effects))
        return;
    const auto n = static_cast<size_t>(number);
    // One channel per effect: playing an effect again cuts its running copy.
    if (mixer_ != nullptr) {
        if (chunks_[n] != nullptr)
            mixer_->play(number, chunks_[n]);
        return;
    }
    endTick_[n] = (paused_ ? pausedAt_ : SDL_GetTicks()) + lengthMs_[n];
}

int SdlSound::Playing(int number) const
{
    if (!open_)
        return 0;
    if (mixer_ != nullptr)
        return mixer_->playing(number);
    const uint32_t now = paused_ ? pausedAt_ : SDL_GetTicks();
    auto plays = [&](size_t n) { return static_cast<int32_t>(endTick_[n] - now) > 0; };
    if (number != -1)
        return Numbered(number, Effects) && plays(static_cast<size_t>(number)) ? 1 : 0;
    int count = 0;
    for (size_t n = 1; n < Effects; ++n)
        count += plays(n) ? 1 : 0;
    return count;
}

void SdlSound::Pause(bool paused)
{
    if (!open_ || paused == paused_)
        return;
    paused_ = paused;
    music_.Pause(paused);
    if (mixer_ != nullptr) {
        mixer_->pause(paused);
        return;
    }
    // A silent effect's end moves on by the time the game stood paused.
    if (paused) {
        pausedAt_ = SDL_GetTicks();
        return;
    }
    const uint32_t held = SDL_GetTicks() - pausedAt_;
    for (uint32_t& end : endTick_)
        end += held;
}

void SdlSound::Close()
{
    if (!open_)
        return;
    open_ = false;
    paused_ = false;
    lengthMs_.fill(0);
    endTick_.fill(0);
    music_.Close();
    if (mixer_ == nullptr)
        return;
    mixer_->halt();
    for (void*& chunk : chunks_) {
        if (chunk != nullptr)
            mixer_->free(chunk);
        chunk = nullptr;
    }
    // From here on no mixer call is made on this thread (each checks mixer_).
    const SoundModuleEntry* mixer = mixer_;
    mixer_ = nullptr;
    closer_ = std::thread([mixer] { mixer->close(); });
}

void SdlSound::FinishClosing()
{
    if (!closer_.joinable())
        return;
    closer_.join();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace zorbo
