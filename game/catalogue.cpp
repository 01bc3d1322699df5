#include "game/GameWindow.h"

#include <cstdio>

namespace zorbo {

namespace {
template <size_t N>
void LoadArray(std::array<Sprite, N>& slots, Display& dd, const std::string& file, int32_t w,
               int32_t h, int32_t cols, int32_t frames, int32_t state)
{
    for (Sprite& s : slots) {
        s = Sprite{};
        s.Create(dd);
        s.LoadFromFile(file, w, h, cols, frames);
        s.State = state;
    }
}
} // namespace

void GameWindow::InitGraphics()
{
    const std::string& d = DataPath;
    switch (Mode()) {
    case ScreenMode::FullScreen:
        ddMain.Startup(320, 240, 256, true);
        platform.ShowCursor(false);
        break;
    case ScreenMode::Window640:
        ddMain.Startup(640, 480, 256, false);
        break;
    case ScreenMode::Window320:
        ddMain.Startup(320, 240, 256, false);
        break;
    }

    ddsBack.Create(ddMain, 320, 240);
    ddsBack.SetFont(HudFont, 8, true, false, false, HudColor);

    sprPlayer = Sprite{};
    sprPlayer.Create(ddMain);
    sprPlayer.LoadFromFile(d + "game_1.bmp", 16, 16, 7, 28);
    sprPlayer.X = 0;
    sprPlayer.Y = 0;
    sprPlayer.CurrentFrame = 0;
    sprPlayer.State = Hero::GroundRight;

    Coins = 0;
    Lives = 5;

    ddsBorder.Create(ddMain, 16, 240);
    ddsBorder.Load(ddMain, d + "game_10.bmp");

    LoadArray(sprTurtles, ddMain, d + "game_6.bmp", 16, 24, 6, 6, 4);
    LoadArray(sprPTurtles, ddMain, d + "game_4.bmp", 16, 24, 6, 12, 4);
    LoadArray(sprWumpels, ddMain, d + "game_2.bmp", 16, 16, 6, 12, 4);
    LoadArray(sprFTurtles, ddMain, d + "game_7.bmp", 16, 24, 4, 8, 4);
    LoadArray(sprPPlants, ddMain, d + "game_5.bmp", 16, 24, 19, 19, 4);
    for (Sprite& s : sprPPlants)
        s.AnimRate = 2;
    PlantDelay = gDifficulty * 2.5;
    LoadArray(sprGreenies, ddMain, d + "game_12.bmp", 16, 16, 6, 12, 4);
    for (Sprite& s : sprGreenies)
        s.AnimRate = 2;

    for (auto [sprite, file] : {std::pair{&sprMush, "m056.bmp"}, std::pair{&sprMushAlt, "m084.bmp"},
                                std::pair{&sprOneUp, "m057.bmp"}}) {
        *sprite = Sprite{};
        sprite->Create(ddMain);
        sprite->LoadFromFile(d + file, 16, 16, 1, 1);
    }

    LoadArray(sprQBoxes, ddMain, d + "game_8.bmp", 16, 16, 7, 14, 0);
    for (Sprite& s : sprQBoxes)
        s.AnimRate = 2;
    for (Sprite& s : sprCoins) {
        s = Sprite{};
        s.Create(ddMain);
        s.AnimRate = 3;
        s.LoadFromFile(d + "game_9.bmp", 16, 16, 6, 12);
        s.State = 0;
    }
    for (Sprite& s : sprBricks) {
        s = Sprite{};
        s.Create(ddMain);
        s.LoadFromFile(d + "game_11.bmp", 8, 8, 8, 8);
    }
    for (FireChain& chain : sprFires) {
        LoadArray(chain.Balls, ddMain, d + "game_13.bmp", 8, 8, 4, 4, 0);
        chain.ChainActive = false;
    }
    LoadArray(sprBirds, ddMain, d + "game_15.bmp", 16, 16, 6, 6, 4);
    LoadArray(sprBlacks, ddMain, d + "game_14.bmp", 16, 16, 5, 5, 4);
    LoadArray(sprBrowns, ddMain, d + "game_18.bmp", 16, 16, 6, 12, 4);
    for (Sprite& s : sprBrowns) {
        s.AnimDir = 1;
        s.AnimRate = 3;
    }
    LoadArray(sprFireballs, ddMain, d + "game_19.bmp", 8, 8, 1, 1, 4);
    LoadArray(sprHeroFire, ddMain, d + "game_19.bmp", 8, 8, 1, 1, 4);
    LoadArray(sprElevators, ddMain, d + "game_16.bmp", 48, 16, 1, 1, 0);
    LoadArray(sprFlames, ddMain, d + "game_17.bmp", 16, 24, 4, 4, 0);
    for (Sprite& s : sprFlames)
        s.Active = false;
    sprWarp = Sprite{};
    sprWarp.Create(ddMain);
    sprWarp.LoadFromFile(d + "m079.bmp", 16, 16, 1, 1);

    for (size_t n = 0; n < TileSurfaces.size(); ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "m%03u.bmp", static_cast<unsigned>(n));
        TileSurfaces[n] = Surface{};
        TileSurfaces[n].Create(ddMain, 16, 16);
        TileSurfaces[n].Load(ddMain, d + name);
    }

    StartX = 0;
    StartY = 0;
    StartViewX = 0;
}

} // namespace zorbo
