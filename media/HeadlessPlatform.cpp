#include "media/HeadlessPlatform.h"

#include "media/Canvas.h"

#include <algorithm>
#include <cstdio>

namespace zorbo {

void HeadlessPlatform::QueueKeys(std::initializer_list<int32_t> scanCodes)
{
    QueueKeys(std::vector<int32_t>(scanCodes));
}

void HeadlessPlatform::QueueKeys(const std::vector<int32_t>& scanCodes)
{
    KeyState keys{};
    for (int32_t code : scanCodes)
        if (code >= 0 && code < 256)
            keys[static_cast<size_t>(code)] = 0x80;
    script_.push_back(keys);
}

uint32_t HeadlessPlatform::GetTickCount()
{
    if (onTick)
        onTick(now);
    return now;
}

void HeadlessPlatform::OpenWindow(ScreenMode mode)
{
    windowMode = mode;
    windowOpen = true;
}

void HeadlessPlatform::WaitUntil(uint32_t tick)
{
    now = std::max(now, tick);
}

void HeadlessPlatform::ShowMessage(const std::string& title, const std::string& text)
{
    messages.push_back(title + ": " + text);
    if (echoMessages)
        std::fprintf(stderr, "zorbo: %s\n", text.c_str());
}

bool HeadlessPlatform::StartDisplay()
{
    displayStarted = true;
    return true;
}

void HeadlessPlatform::Present(const Canvas& frame)
{
    const Surface& picture = frame.Composed();
    ++presents;
    presentTicks.push_back(now);
    if (keepPictures) {
        pictures.emplace_back();
        pictures.back().Assign(picture);
    }
    if (showOverlays)
        overlays.push_back(frame.LastFrame().overlay);
    if (closeAfterFrames >= 0 && presents >= closeAfterFrames)
        closeRequested = true;
}

bool HeadlessPlatform::OpenKeyboard()
{
    keyboardOpen = true;
    return true;
}

void HeadlessPlatform::ReadKeyboard(KeyState& keys)
{
    ++polls;
    if (script_.empty()) {
        keys.fill(0);
        return;
    }
    keys = script_.front();
    script_.pop_front();
}

bool HeadlessPlatform::OpenAudio()
{
    audioOpen = true;
    return true;
}

bool HeadlessPlatform::LoadSound(int number, const std::string& file, std::string& error)
{
    if (std::find(brokenSounds.begin(), brokenSounds.end(), number) != brokenSounds.end()) {
        error = "not a wave file";
        return false;
    }
    loadedSounds.push_back(file);
    return true;
}

bool HeadlessPlatform::LoadMusic(int tune, const std::string& file, std::string& error)
{
    if (std::find(brokenMusic.begin(), brokenMusic.end(), tune) != brokenMusic.end()) {
        error = "is not an Ogg Vorbis file";
        return false;
    }
    loadedMusic.push_back(file);
    return true;
}

void HeadlessPlatform::PlaySound(int number)
{
    sounds.push_back(SoundEvent{number, false, presents});
}

void HeadlessPlatform::PlaySoundSync(int number)
{
    sounds.push_back(SoundEvent{number, true, presents});
    now += syncSoundMs;
}

} // namespace zorbo
