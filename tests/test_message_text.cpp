// Message boxes stay within the screen: long lines are wrapped, long paths broken.
#include "launcher/LauncherLogic.h"
#include "launcher/MessageText.h"

#include <gtest/gtest.h>

#include <sstream>

using zorbo::WrapMessage;

namespace {

// The widest line, in UTF-8 characters; blanks that end a line show as nothing.
size_t Widest(const std::string& text)
{
    std::istringstream lines(text);
    std::string line;
    size_t widest = 0;
    while (std::getline(lines, line)) {
        line.erase(line.find_last_not_of(' ') + 1);
        size_t chars = 0;
        for (const char b : line)
            chars += (static_cast<unsigned char>(b) & 0xC0) != 0x80 ? 1 : 0;
        widest = std::max(widest, chars);
    }
    return widest;
}

// What the wrapping added taken away again.
std::string WithoutBreaks(std::string text)
{
    std::erase(text, '\n');
    return text;
}

} // namespace

TEST(MessageText, WordsWrapAtSpacesAndTheTextsOwnBreaksStay)
{
    // The blank at a break ends its line, where it shows as nothing.
    EXPECT_EQ(WrapMessage("The game refuses a level set with errors", 16), "The game refuses \na level set with \nerrors");
    EXPECT_EQ(WrapMessage("short", 16), "short");
    EXPECT_EQ(WrapMessage("one\ntwo three", 7), "one\ntwo \nthree");
    EXPECT_EQ(WrapMessage("", 10), "");
}

TEST(MessageText, ALongPathIsBrokenAfterASlashOrWhereItMust)
{
    EXPECT_EQ(WrapMessage("Cannot open /home/maker/levels/set.txt now", 20),
              "Cannot open \n/home/maker/levels/\nset.txt now");
    EXPECT_EQ(WrapMessage(std::string(25, 'x'), 10), "xxxxxxxxxx\nxxxxxxxxxx\nxxxxx");

    // The tester's message: a 251-byte file name in a sentence, on a 1280-pixel screen.
    const std::string name = "/tmp/" + std::string(251, 'n') + ".txt";
    const std::string message = name + " cannot be opened: permission denied";
    for (const size_t width : {1u, 20u, 60u, 110u}) {
        const std::string wrapped = WrapMessage(message, width);
        EXPECT_LE(Widest(wrapped), width);
        EXPECT_EQ(WithoutBreaks(wrapped), message) << "nothing lost or added";
    }
}

TEST(MessageText, ACharacterOfSeveralBytesIsNeverSplit)
{
    const std::string word = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"; // five 'é'
    EXPECT_EQ(WrapMessage(word, 2), "\xC3\xA9\xC3\xA9\n\xC3\xA9\xC3\xA9\n\xC3\xA9");
    EXPECT_EQ(WrapMessage("\xC3\xA9t\xC3\xA9 d\xC3\xA9j\xC3\xA0", 4), "\xC3\xA9t\xC3\xA9 \nd\xC3\xA9j\xC3\xA0");
}

// The launcher shows its messages wrapped: at any width the box holds the logic's text,
// blank for blank ("selected." is followed by two), only broken into lines.
TEST(MessageText, TheShownTextIsTheLogicsTextBrokenIntoLines)
{
    zorbo::LauncherChoices choices;
    choices.levelSetText = "Standart";
    const std::string message =
        zorbo::DecideNewGame(choices, "/d/", [](const std::string&) { return std::string(); }).message;
    ASSERT_NE(message.find(".  Please"), std::string::npos) << message;
    for (size_t width = 1; width <= message.size() + 1; ++width) {
        const std::string shown = WrapMessage(message, width);
        EXPECT_EQ(WithoutBreaks(shown), message) << width;
        EXPECT_LE(Widest(shown), width);
    }
    EXPECT_EQ(WrapMessage(message, 40), "Invalid level set selected.  Please \nselect from the list and try again.");
    EXPECT_EQ(WrapMessage("  two  blanks   and three\n   ", 6), "  two  \nblanks   \nand \nthree\n   ");
}
