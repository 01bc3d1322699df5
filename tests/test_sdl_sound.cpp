// The SDL side of the sound rules, on SDL's dummy audio device: the effects, and the music
// (tunes changed without a cut, looping, playing on while the game waits, held in a pause,
// switched by M, a file that cannot be played refused or named).
#include "TestData.h"
#include "assetgen/OggVorbis.h"
#include "media/MediaLimits.h"
#include "media/SdlKeyMap.h"
#include "media/SdlPlatform.h"
#include "media/Warn.h"

#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <numbers>
#include <vector>

using namespace zorbo;

namespace {
// A 16-bit mono wave of a square tone, `ms` long.
void WriteWave(const std::string& file, int ms)
{
    const int rate = 22050;
    const int samples = rate * ms / 1000;
    std::vector<int16_t> pcm(static_cast<size_t>(samples));
    for (int i = 0; i < samples; ++i)
        pcm[static_cast<size_t>(i)] = (i / 25) % 2 ? 8000 : -8000;
    auto u32 = [](FILE* f, uint32_t v) { std::fwrite(&v, 4, 1, f); };
    auto u16 = [](FILE* f, uint16_t v) { std::fwrite(&v, 2, 1, f); };
    FILE* f = std::fopen(file.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const auto bytes = static_cast<uint32_t>(samples * 2);
    std::fwrite("RIFF", 1, 4, f);
    u32(f, 36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    u32(f, 16);
    u16(f, 1);
    u16(f, 1);
    u32(f, rate);
    u32(f, rate * 2);
    u16(f, 2);
    u16(f, 16);
    std::fwrite("data", 1, 4, f);
    u32(f, bytes);
    std::fwrite(pcm.data(), 2, pcm.size(), f);
    std::fclose(f);
}

// A tone as a tune's file.
void WriteTune(const std::string& file, double hz, double seconds)
{
    std::vector<double> s(static_cast<size_t>(seconds * 22050));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = 0.3 * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / 22050);
    assets::write_file(file, assets::encode_ogg_vorbis(s, 22050, 0.3, ""));
}

void PressKey(SDL_Scancode code)
{
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
        SDL_Event e{};
        e.type = type;
        e.key.keysym.scancode = code;
        SDL_PushEvent(&e);
    }
}

// Handles the window's messages, as the frame loop does, until `done` or `ms` have passed.
bool ServeUntil(SdlPlatform& platform, const std::function<bool()>& done, int ms = 2000)
{
    for (int i = 0; i < ms / 5; ++i) {
        platform.DoEvents();
        if (done())
            return true;
        SDL_Delay(5);
    }
    return false;
}

// Tune 1 of a second, tune 2 of 0.4 s, on an open device.
struct Tunes {
    test::TempDir dir;
    SdlPlatform platform{{}, ZORBO_TEST_BUILD_DIR};
    Tunes()
    {
        WriteTune(dir.path() + "one.ogg", 440, 1.0);
        WriteTune(dir.path() + "two.ogg", 660, 0.4);
        std::string error;
        EXPECT_TRUE(platform.OpenAudio());
        EXPECT_TRUE(platform.LoadMusic(1, dir.path() + "one.ogg", error)) << error;
        EXPECT_TRUE(platform.LoadMusic(2, dir.path() + "two.ogg", error)) << error;
    }
    const SdlMusic& music() const { return platform.Sound().Music(); }
};
} // namespace

TEST(SdlSound, EachEffectHasItsOwnChannelAndTheWaitingOnesEnd)
{
    test::TempDir dir;
    WriteWave(dir.path() + "long.wav", 2000);
    WriteWave(dir.path() + "short.wav", 150);
    std::FILE* junk = std::fopen((dir.path() + "junk.wav").c_str(), "wb");
    std::fputs("not a wave", junk);
    std::fclose(junk);

    SdlPlatform platform({}, ZORBO_TEST_BUILD_DIR);
    ASSERT_TRUE(platform.OpenAudio());
    std::string error;
    ASSERT_TRUE(platform.LoadSound(14, dir.path() + "long.wav", error)) << error;
    ASSERT_TRUE(platform.LoadSound(6, dir.path() + "long.wav", error)) << error;
    ASSERT_TRUE(platform.LoadSound(7, dir.path() + "short.wav", error)) << error;
    EXPECT_FALSE(platform.LoadSound(5, dir.path() + "junk.wav", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(platform.LoadSound(4, dir.path() + "missing.wav", error));

    ASSERT_FALSE(platform.Sound().Silent()) << "the mixer module is built beside the tests' program";
    const SdlSound& sound = platform.Sound();
    platform.PlaySound(14);
    platform.PlaySound(14);   // cuts its own copy and starts again
    platform.PlaySound(6);    // a different effect plays alongside
    EXPECT_TRUE(sound.Playing(14));
    EXPECT_TRUE(sound.Playing(6));
    EXPECT_EQ(sound.Playing(-1), 2) << "an effect never overlaps itself";
    platform.PlaySound(5);    // failed to load: plays nothing
    EXPECT_EQ(sound.Playing(-1), 2);

    platform.PlaySoundSync(7);
    EXPECT_FALSE(sound.Playing(7)) << "the waiting effect has ended when the call returns";
    EXPECT_TRUE(sound.Playing(14));
    platform.CloseAudio();
}

// Closing finishes in the background while the window goes; a device opened again right
// after (test play's next round) must still be a whole one.
TEST(SdlSound, ADeviceClosedAndOpenedAgainPlays)
{
    test::TempDir dir;
    WriteWave(dir.path() + "tone.wav", 500);
    SdlPlatform platform({}, ZORBO_TEST_BUILD_DIR);
    std::string error;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(platform.OpenAudio()) << "round " << round;
        ASSERT_TRUE(platform.LoadSound(3, dir.path() + "tone.wav", error)) << error;
        platform.PlaySound(3);
        EXPECT_TRUE(platform.Sound().Playing(3)) << "round " << round;
        platform.CloseAudio();
        platform.PlaySound(3); // closed: plays nothing and touches no mixer
    }
}

// Without a sound device the mixer is never loaded, the files are still checked, and an
// effect the game waits for still takes its length.
TEST(SdlSound, WithoutADeviceTheGameIsSilentButKeepsTheEffectsLengths)
{
    test::TempDir dir;
    WriteWave(dir.path() + "tone.wav", 300);
    std::FILE* junk = std::fopen((dir.path() + "junk.wav").c_str(), "wb");
    std::fputs("RIFF", junk);
    std::fclose(junk);
    const std::string saved = std::getenv("SDL_AUDIODRIVER") != nullptr ? std::getenv("SDL_AUDIODRIVER") : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    std::vector<std::string> warnings;
    const WarnSink before = SetWarnSink([&](const std::string& w) { warnings.push_back(w); });
    {
        SdlPlatform platform({}, ZORBO_TEST_BUILD_DIR);
        ASSERT_TRUE(platform.OpenAudio());
        EXPECT_TRUE(platform.Sound().Silent());
        ASSERT_EQ(warnings.size(), 1u);
        EXPECT_EQ(warnings[0].rfind("no sound device (", 0), 0u) << warnings[0];
        EXPECT_NE(warnings[0].find("; the game plays without sound"), std::string::npos) << warnings[0];

        std::string error;
        ASSERT_TRUE(platform.LoadSound(2, dir.path() + "tone.wav", error)) << error;
        EXPECT_FALSE(platform.LoadSound(3, dir.path() + "junk.wav", error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(platform.LoadSound(4, dir.path() + "missing.wav", error));

        const uint32_t start = platform.GetTickCount();
        platform.PlaySoundSync(2);
        EXPECT_GE(platform.GetTickCount() - start, 300u) << "the wait is the wave's length";
        EXPECT_EQ(platform.Sound().Playing(-1), 0);
        platform.PlaySound(2);
        EXPECT_TRUE(platform.Sound().Playing(2));
        platform.PlaySoundSync(3); // never loaded: no wait at all
        EXPECT_TRUE(platform.Sound().Playing(2));
        // The tunes are checked as well, and none plays.
        WriteTune(dir.path() + "tune.ogg", 440, 0.3);
        EXPECT_TRUE(platform.LoadMusic(1, dir.path() + "tune.ogg", error)) << error;
        EXPECT_FALSE(platform.LoadMusic(2, dir.path() + "junk.wav", error));
        platform.PlayMusic(1);
        platform.DoEvents();
        EXPECT_EQ(platform.Sound().Music().Heard(), 0);
        platform.CloseAudio();
        EXPECT_FALSE(platform.Sound().Playing(2)) << "closed, nothing plays";
    }
    SetWarnSink(before);
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
}

// ALSA and sndio are left out only on a machine without a sound card; the silent and file
// drivers are never chosen for the player, and nothing else is dropped.
TEST(SdlSound, TheAutomaticDriversLeaveOutTheCardDriversOnlyWithoutACard)
{
    const std::vector<std::string> known = {"pipewire", "pulseaudio", "alsa", "sndio", "dsp", "disk", "dummy"};
    EXPECT_EQ(AutomaticAudioDrivers(known, false), "pipewire,pulseaudio,dsp");
    EXPECT_EQ(AutomaticAudioDrivers(known, true), "") << "with a card, SDL's own order";
    EXPECT_EQ(AutomaticAudioDrivers({"alsa", "dummy"}, false), "") << "never an empty list";
    EXPECT_EQ(AutomaticAudioDrivers({"pulseaudio", "dummy"}, false), "");
}

TEST(SdlMusic, ANewTuneWaitsForTheOldOneToFadeOutAndThenLoops)
{
    Tunes t;
    ASSERT_FALSE(t.platform.Sound().Silent());
    t.platform.PlayMusic(1);
    EXPECT_EQ(t.music().Heard(), 1) << "nothing was playing: it starts at once";
    t.platform.PlayMusic(2);
    EXPECT_EQ(t.music().Heard(), 1) << "the old tune fades out before the new one starts";
    ASSERT_TRUE(ServeUntil(t.platform, [&] { return t.music().Heard() == 2; }));
    SDL_Delay(1000);
    t.platform.DoEvents();
    EXPECT_TRUE(t.music().Sounding()) << "a 0.4 s tune still plays a second on: it loops";
    t.platform.StopMusic();
    ASSERT_TRUE(ServeUntil(t.platform, [&] { return t.music().Heard() == 0; }));
}

// The game stands still while a death or a level's end plays; the music does not, and a
// change asked for just before is made while it waits.
TEST(SdlMusic, TheMusicPlaysOnWhileTheGameWaitsForAnEffect)
{
    Tunes t;
    WriteWave(t.dir.path() + "wait.wav", 800);
    std::string error;
    ASSERT_TRUE(t.platform.LoadSound(7, t.dir.path() + "wait.wav", error)) << error;
    t.platform.PlayMusic(1);
    t.platform.PlayMusic(2);
    t.platform.PlaySoundSync(7);
    EXPECT_EQ(t.music().Heard(), 2);
    EXPECT_TRUE(t.music().Sounding());
}

TEST(SdlMusic, MSwitchesTheMusicAndThePauseHoldsIt)
{
    Tunes t;
    t.platform.PlayMusic(1);
    PressKey(SDL_SCANCODE_M);
    KeyState keys{};
    t.platform.ReadKeyboard(keys);
    EXPECT_EQ(keys[static_cast<size_t>(GameScanCode(SDL_SCANCODE_M))], 0) << "M is the window's, never the game's";
    EXPECT_FALSE(t.platform.MusicOn());
    ASSERT_TRUE(ServeUntil(t.platform, [&] { return t.music().Heard() == 0; }));
    t.platform.PlayMusic(2);
    t.platform.DoEvents();
    EXPECT_EQ(t.music().Heard(), 0) << "switched off, a new level's tune is not heard";
    PressKey(SDL_SCANCODE_M);
    ASSERT_TRUE(ServeUntil(t.platform, [&] { return t.music().Heard() == 2; })) << "on again: the level's tune";

    // Paused, nothing moves: a tune asked for meanwhile starts once play resumes.
    PressKey(SDL_SCANCODE_P);
    t.platform.DoEvents();
    ASSERT_TRUE(t.platform.Paused());
    t.platform.PlayMusic(1);
    EXPECT_FALSE(ServeUntil(t.platform, [&] { return t.music().Heard() != 2; }, 500));
    PressKey(SDL_SCANCODE_P);
    ASSERT_TRUE(ServeUntil(t.platform, [&] { return t.music().Heard() == 1; }));
}

TEST(SdlMusic, AFileThatCannotBePlayedIsNamedAndTheOtherTunesPlayOn)
{
    Tunes t;
    const std::string dir = t.dir.path();
    std::ofstream(dir + "junk.ogg") << "not music";
    ASSERT_EQ(mkfifo((dir + "fifo.ogg").c_str(), 0600), 0);
    std::ofstream(dir + "large.ogg", std::ios::binary) << std::string(kMaxMusicFileBytes + 1, 'x');
    const std::pair<const char*, const char*> refused[] = {
        {"missing.ogg", "cannot be opened: "},
        {"fifo.ogg", "is a FIFO, not a regular file"},
        {"large.ogg", "is larger than 8 MB"},
        {"junk.ogg", "is not an Ogg Vorbis file"},
    };
    for (const auto& [file, reason] : refused) {
        std::string error;
        EXPECT_FALSE(t.platform.LoadMusic(3, dir + file, error));
        EXPECT_EQ(error.rfind(reason, 0), 0u) << file << ": " << error;
    }

    // A real tune's first page alone passes the check; the mixer then refuses it, and it is
    // named once however often its levels begin.
    const assets::Bytes whole = assets::read_file(dir + "one.ogg");
    assets::write_file(dir + "cut.ogg", assets::Bytes(whole.begin(), whole.begin() + 58));
    std::string error;
    ASSERT_TRUE(t.platform.LoadMusic(4, dir + "cut.ogg", error)) << error;
    test::Warnings warnings;
    for (int level = 0; level < 3; ++level) {
        t.platform.PlayMusic(4);
        t.platform.DoEvents();
        EXPECT_EQ(t.music().Heard(), 0);
    }
    ASSERT_EQ(warnings.lines().size(), 1u);
    EXPECT_EQ(warnings.lines()[0].rfind("music " + dir + "cut.ogg: ", 0), 0u) << warnings.lines()[0];
    EXPECT_NE(warnings.lines()[0].find("; the game plays on without that tune"), std::string::npos);
    t.platform.PlayMusic(1);
    EXPECT_TRUE(ServeUntil(t.platform, [&] { return t.music().Heard() == 1; }));
}
