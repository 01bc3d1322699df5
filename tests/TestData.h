#pragma once
// Pictures and sounds made by the tests themselves, in a temporary data folder.
#include "game/GameWindow.h"
#include "media/HeadlessPlatform.h"
#include "media/Warn.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorbo::test {

// Writes a 24-bit BMP of w x h whose pixel (x, y) is colour(x, y) as 0x00RRGGBB.
void WriteBmp(const std::string& file, int w, int h, const std::function<uint32_t(int, int)>& colour);

// Collects the game's warnings (Warn) while it lives, instead of letting them reach stderr.
class Warnings {
public:
    Warnings();
    ~Warnings();
    Warnings(const Warnings&) = delete;
    Warnings& operator=(const Warnings&) = delete;
    const std::vector<std::string>& lines() const { return lines_; }
    // How many warnings mention text.
    int Count(const std::string& text) const;

private:
    std::vector<std::string> lines_;
    WarnSink previous_;
};

// A file's whole contents, byte for byte ("" when it cannot be read).
std::string FileBytes(const std::string& path);

// Runs work in a forked copy of this process, standing for a second Zorbo beside the test,
// and gives its exit status (work's result; -1 when it did not end normally).
int InOtherProcess(const std::function<int()>& work);

// The names in a folder, sorted.
std::vector<std::string> FolderNames(const std::string& folder);

// Sets an environment variable (nullptr: unsets it) for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A temporary folder that is removed again when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; } // ends in '/'

private:
    std::string path_;
};

// A data folder with every bitmap the game loads and a level set "Standard.txt" of ten
// empty levels. Each sprite strip frame is filled with
// a colour that encodes the file and the frame (FrameColour), tiles with TileColour, the
// border strip with BorderColour.
class GameData {
public:
    GameData();
    const std::string& path() const { return dir_.path(); }

private:
    TempDir dir_;
};

uint32_t FrameColour(int file, int frame);
uint32_t TileColour(int code);
uint32_t RaisedFlagColour(int frame); // checkpoint.bmp's frames
constexpr uint32_t BorderColour = 0x00304050;

// A game window started headless on a GameData folder (showing overlays as a smooth
// window does, when asked).
struct Game {
    explicit Game(int32_t difficulty = 26, bool soundOn = true, bool overlays = false);
    GameData data;
    HeadlessPlatform platform;
    Settings settings;
    std::unique_ptr<GameWindow> window;
    GameWindow& operator*() { return *window; }
    GameWindow* operator->() { return window.get(); }
    // Polls the keys (the queued ones, if any) and runs one frame update, or one step of
    // the winning sequence while the game is won, as the frame loop does.
    void Frame(std::initializer_list<int32_t> keys = {});
};

} // namespace zorbo::test
