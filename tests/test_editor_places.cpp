// Where the editor writes a set, and the level it hands to test play and the prover.
#include "EditorDoc.h"
#include "LevelText.h"
#include "TestData.h"
#include "editor/SetPlaces.h"
#include "editor/TestLevel.h"
#include "level/LevelCheck.h"
#include "level/LevelFile.h"
#include "level/LevelSets.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace zorbo;
using namespace zorbo::editor;
using test::Parse;

namespace {

// A data folder that came with the game, and a folder of the user's own.
struct Folders : testing::Test {
    test::TempDir dir;
    std::string data = dir.path() + "Data/";
    std::string own = dir.path() + "work/";
    void SetUp() override
    {
        std::filesystem::create_directories(data);
        std::filesystem::create_directories(own);
        test::WriteFile(data + "Standard.txt", test::LevelSet().Text());
        test::WriteFile(own + "Mine.txt", test::LevelSet().Text());
    }
};

} // namespace

TEST_F(Folders, TheGamesOwnSetsAndSetsTheUserMayNotWriteAreEditedAsCopies)
{
    EXPECT_EQ(EditedAsCopy(data + "Standard.txt", data), CopyReason::Shipped);
    EXPECT_EQ(EditedAsCopy(data + "New.txt", data), CopyReason::Shipped) << "a new set there too";
    EXPECT_EQ(EditedAsCopy(own + "Mine.txt", data), CopyReason::None);
    EXPECT_EQ(EditedAsCopy(own + "New.txt", data), CopyReason::None);
    EXPECT_EQ(EditedAsCopy(data + "Standard.txt", ""), CopyReason::None) << "--data named the folder: the user's";
    // A link is judged by the file it leads to: writing it would write the game's own set.
    std::filesystem::create_symlink(data + "Standard.txt", own + "Link.txt");
    EXPECT_EQ(EditedAsCopy(own + "Link.txt", data), CopyReason::Shipped);
    EXPECT_NE(SaveRefusal(own + "Link.txt", data).find("The game's data folder " + data), std::string::npos);
    EXPECT_EQ(SaveRefusal(own + "Mine.txt", data), "");
    EXPECT_EQ(SaveRefusal(data + "Standard.txt", ""), "");

    EXPECT_EQ(CopyWords(CopyReason::Shipped), "shipped with the game: saved as a copy");
    EXPECT_EQ(CopyWords(CopyReason::None), "");
    EXPECT_EQ(ProposedSavePath(data + "Standard.txt", "/home/m/.local/share/zorbo/levels/"),
              "/home/m/.local/share/zorbo/levels/Standard.txt");
    EXPECT_EQ(ProposedSavePath("", "/levels"), "/levels/Untitled.txt");
}

// A file the user may not write, or one in a folder he may not write (a save writes beside
// the set), is edited as a copy.
TEST_F(Folders, ASetTheUserMayNotWriteIsEditedAsACopy)
{
    const std::string locked = dir.path() + "locked/", shared = dir.path() + "shared/";
    for (const std::string& folder : {locked, shared}) {
        std::filesystem::create_directory(folder);
        test::WriteFile(folder + "Set.txt", "*\n");
        ::chmod((folder + "Set.txt").c_str(), 0666);
    }
    ::chmod(locked.c_str(), 0555);
    ::chmod(shared.c_str(), 0777);
    ::chmod((own + "Mine.txt").c_str(), 0444);
    ::chmod(dir.path().c_str(), 0755);
    // Root may write any file: the rule is seen by a user who is not root.
    const auto asUser = [](const std::function<CopyReason()>& edited) {
        if (::geteuid() != 0)
            return edited();
        const int reason = test::InOtherProcess([&] {
            return ::setgid(65534) == 0 && ::setuid(65534) == 0 ? static_cast<int>(edited()) : 99;
        });
        return static_cast<CopyReason>(reason);
    };
    EXPECT_EQ(asUser([&] { return EditedAsCopy(own + "Mine.txt", data); }), CopyReason::ReadOnly);
    EXPECT_EQ(asUser([&] { return EditedAsCopy(locked + "Set.txt", data); }), CopyReason::ReadOnly);
    EXPECT_EQ(asUser([&] { return EditedAsCopy(locked + "New.txt", data); }), CopyReason::ReadOnly);
    EXPECT_EQ(asUser([&] { return EditedAsCopy(shared + "Set.txt", data); }), CopyReason::None);
    EXPECT_EQ(asUser([&] { return EditedAsCopy(data + "Standard.txt", data); }), CopyReason::Shipped);
    ::chmod(locked.c_str(), 0755);
}

// Test play and proofs need the shown level alone to be playable: the set handed over holds
// it in every place, and only its own errors stop it.
TEST(EditorLevelAlone, OnlyTheShownLevelMattersToTheGame)
{
    // A new set with only level 3 made: the others are empty.
    test::LevelSet set;
    set.levels.fill(test::Level{});
    set.levels[2] = test::PlainLevel();
    LevelDocument doc = Parse(set.Text());
    ASSERT_TRUE(doc.SetTitle(2, "Try me"));
    EXPECT_FALSE(doc.Check().ok()) << "the set as a whole has errors";

    const LevelToTry alone = LevelAlone(doc, 2);
    EXPECT_EQ(alone.errors, 0) << alone.firstError;
    const LevelCheckResult check = CheckLevelSetBytes(alone.text);
    EXPECT_TRUE(check.ok()) << check.Report("alone");
    const LevelFileSummary summary = ReadLevelSet(alone.text);
    ASSERT_TRUE(summary.valid());
    EXPECT_EQ(summary.titles[2], "Try me");
    const LevelDocument tried = Parse(alone.text);
    for (int32_t row = 0; row < Rows; ++row)
        for (int32_t col = 1; col <= 61; ++col)
            ASSERT_EQ(tried.Code(2, row, col), doc.Code(2, row, col)) << row << "," << col;

    // An empty level is refused for its own errors, named by its number.
    const LevelToTry empty = LevelAlone(doc, 5);
    EXPECT_GT(empty.errors, 0);
    EXPECT_NE(empty.firstError.find("level 6 has no hero start"), std::string::npos) << empty.firstError;
}
