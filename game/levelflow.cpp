#include "game/GameWindow.h"

namespace zorbo {

void GameWindow::Nextlevel()
{
    PlaySoundSync(Sound::LevelDone);
    ++gLevel;
    if (gLevel > 9) {
        // The winning sequence starts with the next frame.
        gGameWon = true;
        return;
    }
    sprPlayer.CurrentFrame = 0;
    sprPlayer.State = Hero::AirRight;
    sprPlayer.SpeedY = 0;
    sprPlayer.X = 0;
    sprPlayer.SpeedX = 0;
    sprPlayer.Y = 0;
    ViewX = 0;
    StartX = 0;
    StartY = 0;
    StartViewX = 0;
    KillAllEnemies();
    if (!LoadLevelData())
        return;
    DrawTiles();
    PlaySound(Sound::LevelStart);
}

void GameWindow::ContinueGame()
{
    gGameOver = false;
    StartX = 0;
    StartY = 0;
    StartViewX = 0;
    ViewX = 0;
    sprPlayer.X = 0;
    sprPlayer.Y = 0;
    Lives = 5;
    Coins = 0;
    // The same level again from its beginning.
    --gLevel;
    Nextlevel();
}

} // namespace zorbo
