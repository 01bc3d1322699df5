// The SDL side of the sound rules, on SDL's dummy audio device.
#include "TestData.h"
#include "media/SdlPlatform.h"
#include "media/Warn.h"

#include <cstdlib>
#include <gtest/gtest.h>

#include <cstdio>
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
