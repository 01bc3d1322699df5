// The launcher is a module the game loads only for the dialog: where it is looked for and
// what a wrong or damaged module gives.
#include "app/LauncherModule.h"
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
    const auto places = LauncherModulePlaces(programDir.string());
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0], (programDir / "zorbo-launcher.so").string());
    // An install moved under another prefix still finds its module beside its own program.
    EXPECT_EQ(places[1].rfind(prefix.path(), 0), 0u) << places[1];
    EXPECT_EQ(places[2], std::string(ZORBO_INSTALL_LAUNCHER_DIR) + "/zorbo-launcher.so");
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
