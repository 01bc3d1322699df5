#include "media/SdlMusic.h"

#include "media/MediaLimits.h"
#include "media/SdlPlatform.h"
#include "media/SoundModule.h"
#include "media/Warn.h"

#include <SDL.h>

namespace zorbo {

namespace {
bool Numbered(int tune)
{
    return tune >= 1 && tune <= SdlMusic::Tunes;
}
} // namespace

void SdlMusic::Open(const SoundModuleEntry* mixer)
{
    Close();
    mixer_ = mixer;
    open_ = true;
}

void SdlMusic::Close()
{
    if (mixer_ != nullptr) {
        mixer_->haltMusic();
        Release();
    }
    mixer_ = nullptr;
    open_ = false;
    files_.fill({});
    dropped_.fill(false);
    wanted_ = current_ = 0;
    started_ = asked_;
    paused_ = false;
}

bool SdlMusic::Load(int tune, const std::string& file, std::string& error)
{
    if (!open_ || !Numbered(tune))
        return false;
    std::string bytes;
    if (!ReadMusicFile(file, bytes, error))
        return false;
    files_[static_cast<size_t>(tune)] = file;
    dropped_[static_cast<size_t>(tune)] = false;
    return true;
}

void SdlMusic::Play(int tune)
{
    wanted_ = Numbered(tune) ? tune : 0;
    ++asked_;
}

void SdlMusic::SetOn(bool on)
{
    if (on && !on_)
        ++asked_;
    on_ = on;
}

void SdlMusic::Pause(bool paused)
{
    paused_ = paused;
    if (mixer_ != nullptr)
        mixer_->pauseMusic(paused);
}

bool SdlMusic::Sounding() const
{
    return music_ != nullptr && mixer_->musicState() != MusicSilent;
}

// One step towards what is asked: a tune playing that is no longer wanted fades out first
// (the mixer would stall the game to finish a fade if a tune were started or freed during
// it), and once all is silent the wanted tune starts.
void SdlMusic::Serve()
{
    if (mixer_ == nullptr || paused_)
        return;
    const int target = on_ ? wanted_ : 0;
    const bool settled = current_ == target && started_ == asked_;
    const int state = mixer_->musicState();
    if (state == MusicFading)
        return;
    if (state == MusicPlaying) {
        if (!settled)
            mixer_->fadeOutMusic(FadeOutMs);
        return;
    }
    // A tune that ended by itself (a file that breaks off) is not started over and over.
    if (settled)
        return;
    Release();
    current_ = target;
    started_ = asked_;
    if (target != 0 && !dropped_[static_cast<size_t>(target)] && !files_[static_cast<size_t>(target)].empty())
        Start(target);
}

void SdlMusic::Start(int tune)
{
    const std::string& file = files_[static_cast<size_t>(tune)];
    std::string error;
    if (ReadMusicFile(file, bytes_, error)) {
        SDL_RWops* rw = SDL_RWFromConstMem(bytes_.data(), static_cast<int>(bytes_.size()));
        music_ = rw != nullptr ? mixer_->loadMusic(rw) : nullptr;
        if (music_ == nullptr)
            error = rw != nullptr ? mixer_->error() : SDL_GetError();
        else if (!mixer_->playMusic(music_, FadeInMs))
            error = mixer_->error();
        else
            return;
    }
    // Said once: the game plays on, without this tune.
    if (error.empty())
        error = "cannot be played";
    Warn("music " + file + ": " + error + "; the game plays on without that tune");
    dropped_[static_cast<size_t>(tune)] = true;
    Release();
}

void SdlMusic::Release()
{
    if (music_ != nullptr)
        mixer_->freeMusic(music_);
    music_ = nullptr;
    bytes_.clear();
    bytes_.shrink_to_fit();
}

// ---- SdlPlatform's music: the sound's, and the M key's switch.

bool SdlPlatform::LoadMusic(int tune, const std::string& file, std::string& error)
{
    return sound_.Music().Load(tune, file, error);
}

void SdlPlatform::PlayMusic(int tune)
{
    sound_.Music().Play(tune);
    sound_.Music().Serve();
}

void SdlPlatform::StopMusic()
{
    sound_.Music().Stop();
    sound_.Music().Serve();
}

void SdlPlatform::SetMusicOn(bool on)
{
    sound_.Music().SetOn(on);
    sound_.Music().Serve();
}

bool SdlPlatform::MusicOn() const
{
    return sound_.Music().On();
}

} // namespace zorbo
