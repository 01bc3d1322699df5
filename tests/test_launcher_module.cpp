// The launcher is a module the game loads only for the dialog: where it is looked for and
// what a wrong or damaged module gives.
#include "app/LauncherModule.h"
#include "media/ModuleFile.h"
#include "media/SoundModule.h"
#include "TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace zorbo {
namespace {

TEST(LauncherModule, TheBuiltModuleLoadsWithThisVersion)
{
    std::string problem;
    const LauncherModuleEntry* entry = LoadLauncherModule(ZORBO_TEST_BUILD_DIR, problem);
    ASSERT_NE(entry, nullptr) << problem;
    EXPECT_STREQ(entry->version, ZORBO_VERSION);
    EXPECT_NE(entry->run, nullptr);
}

TEST(LauncherModule, IsLookedForBesideTheProgramThenWhereTheInstallPutsIt)
{
    test::TempDir prefix;
    const std::filesystem::path programDir = prefix.path() + "a/b/c";
    const auto places = ModulePlaces(programDir.string(), LauncherModuleFile);
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0], (programDir / "zorbo-launcher.so").string());
    // An install moved under another prefix still finds its module beside its own program.
    EXPECT_EQ(places[1].rfind(prefix.path(), 0), 0u) << places[1];
    EXPECT_EQ(places[2], std::string(ZORBO_INSTALL_MODULE_DIR) + "/zorbo-launcher.so");
}

TEST(LauncherModule, AModuleOfAnotherVersionOrWithoutItsEntryIsRefused)
{
    std::string problem;
    // The sound module is a real module whose entry is not the launcher's.
    EXPECT_EQ(LoadModuleEntry(ZORBO_TEST_BUILD_DIR, SoundModuleFile, LauncherModuleSymbol, "launcher", problem), nullptr);
    EXPECT_NE(problem.find("belongs to another version"), std::string::npos) << problem;
    test::TempDir empty;
    EXPECT_EQ(LoadModuleEntry(empty.path() + "nowhere", "zorbo-none.so", "entry", "nothing", problem), nullptr);
    EXPECT_NE(problem.find("the nothing zorbo-none.so is not installed"), std::string::npos) << problem;
}

TEST(LauncherModule, ADamagedModuleIsNamedInsteadOfRun)
{
    test::TempDir dir;
    std::ofstream(dir.path() + "zorbo-launcher.so") << "not a shared object\n";
    std::string problem;
    EXPECT_EQ(LoadLauncherModule(dir.path(), problem), nullptr);
    EXPECT_NE(problem.find("cannot load the launcher " + dir.path() + "zorbo-launcher.so"), std::string::npos) << problem;
}

} // namespace
} // namespace zorbo
