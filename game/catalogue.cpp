#include "game/Kinds.h"
#include "game/GameWindow.h"
#include "game/Strips.h"

#include <cstdio>
#include <span>

namespace zorbo {

namespace {
void Load(Sprite& s, Display& dd, const std::string& dataPath, const StripLayout& strip)
{
    s = Sprite{};
    s.Create(dd);
    s.LoadFromFile(dataPath + strip.file, strip.width, strip.height, strip.columns, strip.frames);
}

void LoadArray(std::span<Sprite> slots, Display& dd, const std::string& dataPath, const StripLayout& strip,
               int32_t state)
{
    for (Sprite& s : slots) {
        Load(s, dd, dataPath, strip);
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
    ddsBack.SetFont(HudFont, HudFontPoints, true, false, false, HudColor);

    Load(sprPlayer, ddMain, d, Strips::Hero);
    sprPlayer.X = 0;
    sprPlayer.Y = 0;
    sprPlayer.CurrentFrame = 0;
    sprPlayer.State = Hero::GroundRight;

    Coins = 0;
    Lives = NewGameLives;

    ddsBorder.Create(ddMain, 16, 240);
    ddsBorder.Load(ddMain, d + "game_10.bmp");

    for (const KindRow& kind : kKinds) {
        const std::span<Sprite> slots = kind.slots(*this);
        LoadArray(slots, ddMain, d, *kind.strip, Enemy::Free);
        for (Sprite& s : slots) {
            s.AnimRate = kind.animRate;
            s.AnimDir = kind.animDir;
        }
    }
    PlantDelay = gDifficulty * 2.5;

    for (auto [sprite, file] : {std::pair{&sprMush, "m056.bmp"}, std::pair{&sprMushAlt, "m084.bmp"},
                                std::pair{&sprOneUp, "m057.bmp"}}) {
        *sprite = Sprite{};
        sprite->Create(ddMain);
        sprite->LoadFromFile(d + file, 16, 16, 1, 1);
    }

    LoadArray(sprQBoxes, ddMain, d, Strips::Box, 0);
    for (Sprite& s : sprQBoxes)
        s.AnimRate = 2;
    LoadArray(sprCoins, ddMain, d, Strips::Coin, 0);
    for (Sprite& s : sprCoins)
        s.AnimRate = 3;
    for (Sprite& s : sprBricks)
        Load(s, ddMain, d, Strips::Brick);
    for (FireChain& chain : sprFires) {
        LoadArray(chain.Balls, ddMain, d, Strips::ChainBall, 0);
        chain.ChainActive = false;
    }
    LoadArray(sprFireballs, ddMain, d, Strips::Fireball, Ball::Free);
    LoadArray(sprHeroFire, ddMain, d, Strips::Fireball, Ball::Free);
    LoadArray(sprElevators, ddMain, d, Strips::Elevator, 0);
    LoadArray(sprFlames, ddMain, d, Strips::Flame, 0);
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
