// The launcher is a module the game loads only for the dialog: where it is looked for and
// what a wrong or damaged module gives.
#include "app/LauncherModule.h"
#include "media/ModuleFile.h"
#include "media/SoundModule.h"
#include "TestData.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

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
    EXPECT_EQ(LoadModuleEntry(ZORBO_TEST_BUILD_DIR, SoundModuleFile, LauncherModuleSymbol, sizeof(LauncherModuleEntry),
                              "launcher", problem), nullptr);
    EXPECT_NE(problem.find("belongs to another version"), std::string::npos) << problem;
    test::TempDir empty;
    EXPECT_EQ(LoadModuleEntry(empty.path() + "nowhere", "zorbo-none.so", "entry", 8, "nothing", problem), nullptr);
    EXPECT_NE(problem.find("the nothing zorbo-none.so is not installed"), std::string::npos) << problem;
}

TEST(LauncherModule, ADamagedModuleIsNamedInsteadOfRun)
{
    test::TempDir dir;
    std::ofstream(dir.path() + "zorbo-launcher.so") << "not a shared object\n";
    std::string problem;
    EXPECT_EQ(LoadLauncherModule(dir.path(), problem), nullptr);
    EXPECT_NE(problem.find("cannot load the launcher " + dir.path() + "zorbo-launcher.so: it is not a shared object"),
              std::string::npos)
        << problem;
}

namespace fs = std::filesystem;

const std::string kBuiltSound = std::string(ZORBO_TEST_BUILD_DIR) + SoundModuleFile;

const SoundModuleEntry* LoadSound(const std::string& programDir, std::string& problem)
{
    return static_cast<const SoundModuleEntry*>(
        LoadModuleEntry(programDir, SoundModuleFile, SoundModuleSymbol, sizeof(SoundModuleEntry), "sound mixer", problem));
}

// A copy of the built sound module cut to `bytes`, as an interrupted copy leaves it.
void CopyCut(const std::string& to, uintmax_t bytes)
{
    fs::copy_file(kBuiltSound, to, fs::copy_options::overwrite_existing);
    fs::resize_file(to, bytes);
}

// Each of these would run the file's code, fault inside dlopen or block on open: all are
// refused from what the file and its folders are, before anything is loaded.
TEST(ModuleFile, ACutSpecialOrOpenToOthersModuleIsRefusedBeforeLoading)
{
    test::TempDir dir;
    const std::string module = dir.path() + SoundModuleFile;
    std::string problem;
    const auto refusedFor = [&](const std::string& why) {
        EXPECT_EQ(LoadSound(dir.path(), problem), nullptr);
        EXPECT_EQ(problem, "cannot load the sound mixer " + module + ": it " + why);
    };

    fs::copy_file(kBuiltSound, module);
    EXPECT_EQ(ModuleFileProblem(module), "");
    const uintmax_t size = fs::file_size(module);
    CopyCut(module, 5000); // inside its code, whatever the build's debugging sections
    refusedFor("is cut short (a segment lies past its end)");
    CopyCut(module, size - 1);
    refusedFor("is cut short (its section headers lie past its end)");
    CopyCut(module, 40);
    refusedFor("is not a shared object");

    fs::remove(module);
    ASSERT_EQ(::mkfifo(module.c_str(), 0600), 0);
    refusedFor("is a FIFO, not a regular file");
    fs::remove(module);
    fs::create_directory(module);
    refusedFor("is a folder, not a regular file");
    fs::remove(module);

    fs::copy_file(kBuiltSound, module);
    fs::permissions(module, fs::perms::others_write, fs::perm_options::add);
    refusedFor("is writable by other users");
    fs::permissions(module, fs::perms::others_write, fs::perm_options::remove);
    fs::permissions(dir.path(), fs::perms::others_all, fs::perm_options::add);
    refusedFor("its folder " + dir.path().substr(0, dir.path().size() - 1) + " is writable by other users");
    fs::permissions(dir.path(), fs::perms::others_all, fs::perm_options::remove);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(module.c_str(), 65534, 65534), 0);
        refusedFor("belongs to another user (65534)");
    }
}

// A program copied alone into a folder others may write to (the temporary folder) finds
// no module beside it; one that another user planted where an install keeps its modules is
// refused, never run.
TEST(ModuleFile, AModulePlantedBesideACopiedProgramIsNotRun)
{
    test::TempDir shared;
    fs::permissions(shared.path(), fs::perms::all | fs::perms::sticky_bit);
    const std::string programDir = shared.path() + "app";
    fs::create_directories(programDir);
    const std::string planted = ModulePlaces(programDir, SoundModuleFile)[1];
    fs::create_directories(fs::path(planted).parent_path());
    fs::copy_file(kBuiltSound, planted);
    std::string problem;
    if (::geteuid() == 0) {
        for (fs::path at = planted; at != fs::path(shared.path()).parent_path(); at = at.parent_path())
            ASSERT_EQ(::lchown(at.c_str(), 65534, 65534), 0) << at;
        ASSERT_EQ(::chown(shared.path().c_str(), 0, 0), 0);
        EXPECT_EQ(LoadSound(programDir, problem), nullptr);
        EXPECT_NE(problem.find(planted + ": it belongs to another user (65534)"), std::string::npos) << problem;
    }
    // Planted through a folder the program's user left open to all.
    fs::permissions(shared.path(), fs::perms::all);
    EXPECT_EQ(LoadSound(programDir, problem), nullptr);
    EXPECT_NE(problem.find("cannot load the sound mixer " + planted + ": it"), std::string::npos) << problem;
}

// A module of this version is still checked before anything in it is called.
TEST(ModuleFile, AnEntryThatIsAFunctionOrMissesAFunctionIsNotCalled)
{
    test::TempDir dir;
    const std::string module = dir.path() + SoundModuleFile;
    std::string problem;
    fs::copy_file(ZORBO_TEST_MODULE_DIR "sound-function.so", module);
    EXPECT_EQ(LoadSound(dir.path(), problem), nullptr);
    EXPECT_EQ(problem, "cannot use the sound mixer " + module + ": its entry is not data");

    test::TempDir other;
    const std::string nulls = other.path() + SoundModuleFile;
    fs::copy_file(ZORBO_TEST_MODULE_DIR "sound-nulls.so", nulls);
    EXPECT_EQ(LoadSound(other.path(), problem), nullptr);
    EXPECT_EQ(problem, "cannot use the sound mixer " + nulls + ": its entry is incomplete");

    const SoundModuleEntry* built = LoadSound(ZORBO_TEST_BUILD_DIR, problem);
    ASSERT_NE(built, nullptr) << problem;
    EXPECT_NE(built->close, nullptr);
}

} // namespace
} // namespace zorbo
