#include "TestData.h"

#include <gtest/gtest.h>

using namespace zorbo;

TEST(Sound, StartUpPlaysTheLevelStartTuneAndEffectsPlayByNumber)
{
    test::Game g;
    ASSERT_EQ(g.platform.sounds.size(), 1u);
    EXPECT_EQ(g.platform.sounds[0].number, 8);
    EXPECT_EQ(g.platform.loadedSounds.size(), static_cast<size_t>(Sound::Count));
    EXPECT_EQ(g->SoundFiles[5], g.data.path() + "m005.wav");
    g->PlaySound(14);
    g->PlaySound(14);
    g->PlaySound(6);
    EXPECT_EQ(g.platform.sounds.size(), 4u);
    EXPECT_THROW(g->PlaySound(0), std::out_of_range);
    EXPECT_THROW(g->PlaySound(Sound::Count + 1), std::out_of_range);
}

TEST(Sound, SynchronousEffectsHoldTheGameUntilTheyEnd)
{
    test::Game g;
    g.platform.syncSoundMs = 2500;
    const uint32_t before = g.platform.now;
    g->PlaySoundSync(12);
    EXPECT_EQ(g.platform.now, before + 2500);
    EXPECT_TRUE(g.platform.sounds.back().sync);
}

TEST(Sound, WithSoundOffNothingPlaysAndNothingWaits)
{
    test::Game g(26, false);
    g.platform.syncSoundMs = 2500;
    const uint32_t before = g.platform.now;
    g->PlaySound(5);
    g->PlaySoundSync(7);
    EXPECT_TRUE(g.platform.sounds.empty());
    EXPECT_EQ(g.platform.now, before);
    EXPECT_FALSE(g.platform.audioOpen);
    EXPECT_EQ(g->SoundFiles[1], "");
}

TEST(Sound, AMissingWaveFileIsReportedAndOnlyThatEffectIsSilent)
{
    test::GameData data;
    HeadlessPlatform platform;
    platform.brokenSounds = {5};
    Settings s;
    s.DataPath = data.path();
    GameWindow game(platform, s);
    test::Warnings warnings;
    game.Startup();
    EXPECT_EQ(warnings.Count("m005.wav"), 1);
    EXPECT_EQ(warnings.Count("m006.wav"), 0);
    platform.sounds.clear();
    game.PlaySound(5);
    game.PlaySound(6);
    ASSERT_EQ(platform.sounds.size(), 1u);
    EXPECT_EQ(platform.sounds[0].number, 6);
}
