#include "media/HeadlessPlatform.h"
#include "media/SdlKeyMap.h"
#include "media/Keyboard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace zorbo;

namespace {
struct KeyboardFixture : testing::Test {
    HeadlessPlatform platform;
    InputService di{platform};
    KeyboardDevice keyboard;
    std::vector<int32_t> events;
    void SetUp() override
    {
        keyboard.KeyDown = [this](int32_t k) { events.push_back(k); };
        keyboard.Startup(di);
    }
};
} // namespace

TEST_F(KeyboardFixture, EveryHeldKeyIsRaisedOncePerPollInScanCodeOrder)
{
    platform.QueueKeys({Key::Down, Key::Left, Key::Space, Key::Up, Key::Right, Key::Escape});
    keyboard.Check_Keyboard();
    EXPECT_EQ(events, (std::vector<int32_t>{1, 57, 200, 203, 205, 208}));
    EXPECT_TRUE(keyboard.bKeyPressed);

    events.clear();
    for (int poll = 0; poll < 10; ++poll)
        platform.QueueKeys({Key::Right});
    for (int poll = 0; poll < 10; ++poll)
        keyboard.Check_Keyboard();
    EXPECT_EQ(events, std::vector<int32_t>(10, Key::Right));

    events.clear();
    keyboard.Check_Keyboard();   // nothing held
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(keyboard.bKeyPressed);
}

TEST_F(KeyboardFixture, AListenerThatShutsTheDeviceStopsTheEvents)
{
    keyboard.KeyDown = [this](int32_t k) {
        events.push_back(k);
        if (k == Key::Escape)
            keyboard.Shutdown();
    };
    platform.QueueKeys({Key::Escape, Key::Space});
    keyboard.Check_Keyboard();
    EXPECT_EQ(events, (std::vector<int32_t>{Key::Escape}));
    platform.QueueKeys({Key::Space});
    keyboard.Check_Keyboard();
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(KeyboardFixture, KeyNamesFollowTheTable)
{
    EXPECT_EQ(keyboard.KeyName(21), "Y");
    EXPECT_EQ(keyboard.KeyName(49), "N");
    EXPECT_EQ(keyboard.KeyName(84), "");
    EXPECT_EQ(keyboard.KeyName(27), " ]");
    EXPECT_EQ(keyboard.KeyName(43), "\\");
    EXPECT_EQ(keyboard.KeyName(83), "NUMPAD.");
    EXPECT_EQ(keyboard.KeyName(102), "F15");
    EXPECT_EQ(keyboard.KeyName(211), "DELETE");
    EXPECT_EQ(keyboard.KeyName(221), "APPS");
    int named = 0;
    for (int code = 0; code < 256; ++code)
        named += keyboard.KeyName(code).empty() ? 0 : 1;
    EXPECT_EQ(named, 108);
    EXPECT_THROW(keyboard.KeyName(256), std::out_of_range);
    EXPECT_THROW(keyboard.KeyName(-1), std::out_of_range);
}

TEST(KeyMap, SdlScancodesMapToTheGameScanCodes)
{
    EXPECT_EQ(GameScanCode(SDL_SCANCODE_ESCAPE), 1);
    EXPECT_EQ(GameScanCode(SDL_SCANCODE_SPACE), 57);
    EXPECT_EQ(GameScanCode(SDL_SCANCODE_Y), 21);
    EXPECT_EQ(GameScanCode(SDL_SCANCODE_N), 49);
    EXPECT_EQ(GameScanCode(SDL_SCANCODE_UP), 200);
    EXPECT_EQ(GameScanCode(SDL_SCANCODE_LEFT), 203);
    EXPECT_EQ(GameScanCode(SDL_SCANCODE_RIGHT), 205);
    EXPECT_EQ(GameScanCode(SDL_SCANCODE_DOWN), 208);
    EXPECT_EQ(GameScanCode(SDL_SCANCODE_KP_ENTER), 156);
    EXPECT_EQ(GameScanCode(SDL_SCANCODE_UNKNOWN), 0);
    // Every named game key is reachable from exactly one SDL key.
    HeadlessPlatform platform;
    InputService di(platform);
    KeyboardDevice keyboard;
    keyboard.Startup(di);
    std::vector<int> hits(256, 0);
    for (int sc = 0; sc < SDL_NUM_SCANCODES; ++sc)
        ++hits[static_cast<size_t>(GameScanCode(static_cast<SDL_Scancode>(sc)))];
    for (int code = 1; code < 256; ++code)
        EXPECT_EQ(hits[static_cast<size_t>(code)], keyboard.KeyName(code).empty() ? 0 : 1) << code;
}
