#include "TestData.h"

#include <SDL.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace zorbo::test {

void WriteBmp(const std::string& file, int w, int h, const std::function<uint32_t(int, int)>& colour)
{
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
    if (s == nullptr)
        throw std::runtime_error(SDL_GetError());
    auto* base = static_cast<uint8_t*>(s->pixels);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t c = colour(x, y);
            uint8_t* p = base + static_cast<ptrdiff_t>(y) * s->pitch + x * 3;
            p[0] = static_cast<uint8_t>(c >> 16);
            p[1] = static_cast<uint8_t>(c >> 8);
            p[2] = static_cast<uint8_t>(c);
        }
    if (SDL_SaveBMP(s, file.c_str()) != 0)
        throw std::runtime_error(SDL_GetError());
    SDL_FreeSurface(s);
}

Warnings::Warnings()
{
    previous_ = SetWarnSink([this](const std::string& message) { lines_.push_back(message); });
}

Warnings::~Warnings()
{
    SetWarnSink(std::move(previous_));
}

int Warnings::Count(const std::string& text) const
{
    int n = 0;
    for (const std::string& line : lines_)
        n += line.find(text) != std::string::npos ? 1 : 0;
    return n;
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int InOtherProcess(const std::function<int()>& work)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(work());
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name)
{
    if (const char* old = std::getenv(name))
        old_ = old;
    if (value != nullptr)
        ::setenv(name, value, 1);
    else
        ::unsetenv(name);
}

ScopedEnv::~ScopedEnv()
{
    if (old_)
        ::setenv(name_, old_->c_str(), 1);
    else
        ::unsetenv(name_);
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zorbo-test-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr)
        throw std::runtime_error("cannot make a temporary folder");
    path_ = std::string(buf.data()) + "/";
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

uint32_t FrameColour(int file, int frame)
{
    return 0x00800000u | (static_cast<uint32_t>(file) << 8) | static_cast<uint32_t>(frame + 1);
}

uint32_t RaisedFlagColour(int frame)
{
    return 0x00C0C000u | static_cast<uint32_t>(frame + 1);
}

uint32_t TileColour(int code)
{
    return 0x00004000u | static_cast<uint32_t>(code + 1);
}

namespace {
struct Strip {
    int file, w, h, cols, frames;
};
constexpr Strip kStrips[] = {
    {1, 16, 16, 7, 28}, {2, 16, 16, 6, 12}, {4, 16, 24, 6, 12}, {5, 16, 24, 19, 19},
    {6, 16, 24, 6, 6},  {7, 16, 24, 4, 8},  {8, 16, 16, 7, 14}, {9, 16, 16, 6, 12},
    {11, 8, 8, 8, 8},   {12, 16, 16, 6, 12}, {13, 8, 8, 4, 4},  {14, 16, 16, 5, 5},
    {15, 16, 16, 6, 6}, {16, 48, 16, 1, 1}, {17, 16, 24, 4, 4}, {18, 16, 16, 6, 12},
    {19, 8, 8, 1, 1},
};
} // namespace

GameData::GameData()
{
    for (const Strip& s : kStrips) {
        const int rows = (s.frames + s.cols - 1) / s.cols;
        // Each frame: its colour inside, a black (transparent) one-pixel frame around it.
        WriteBmp(path() + "game_" + std::to_string(s.file) + ".bmp", s.cols * s.w, rows * s.h,
                 [&](int x, int y) -> uint32_t {
                     const int fx = x % s.w, fy = y % s.h;
                     if (fx == 0 || fy == 0 || fx == s.w - 1 || fy == s.h - 1)
                         return 0;
                     return FrameColour(s.file, (y / s.h) * s.cols + x / s.w);
                 });
    }
    WriteBmp(path() + "game_10.bmp", 16, 240, [](int, int) { return BorderColour; });
    WriteBmp(path() + "checkpoint.bmp", 16 * static_cast<int>(kCheckpointFlags.size()), 16,
             [](int x, int) { return RaisedFlagColour(x / 16); });
    for (int code = 0; code < Tile::Count; ++code) {
        char name[16];
        std::snprintf(name, sizeof name, "m%03d.bmp", code);
        WriteBmp(path() + name, 16, 16, [code](int, int) { return TileColour(code); });
    }
    // The default level set: ten levels of empty rows, so the map stays all background
    // until a test writes its own level set or cells.
    std::string levels;
    for (int n = 1; n <= 10; ++n)
        levels += "*Level " + std::to_string(n) + "\n" + std::string(15, '\n');
    std::ofstream(path() + "Standard.txt", std::ios::binary) << levels;
}

Game::Game(int32_t difficulty, bool soundOn, bool overlays)
{
    platform.showOverlays = overlays;
    settings.DataPath = data.path();
    settings.gDifficulty = difficulty;
    settings.gSoundOn = soundOn;
    window = std::make_unique<GameWindow>(platform, settings);
    window->Startup();
}

void Game::Frame(std::initializer_list<int32_t> keys)
{
    platform.QueueKeys(keys);
    window->Keyboard.Check_Keyboard();
    if (window->gGameWon) {
        if (window->bRunning)
            window->Game_Won(window->Timers.Elapsed);
    } else if (window->bRunning) {
        window->Game_Update(window->Timers.Elapsed);
    }
    platform.now += 100; // well past the key repeat filter
}

} // namespace zorbo::test
