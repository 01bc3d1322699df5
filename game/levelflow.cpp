#include "game/GameWindow.h"
#include "level/LevelFile.h"
#include "level/Rules.h"

#include <algorithm>

namespace zorbo {

// The level's end: the next level, or after the last the winning sequence, which the
// player has now reached by playing (a looped try reaches nothing: it begins again).
void GameWindow::Nextlevel()
{
    AdvanceLevel();
    if (bRunning && !gLoopLevel && OnLevelReached)
        OnLevelReached(gLevel + 1);
}

void GameWindow::AdvanceLevel()
{
    PlaySoundSync(Sound::LevelDone);
    ++gLevel;
    if (gLoopLevel)
        LoopTestLevel();
    if (gLevel > 9) {
        // The winning sequence starts with the next frame.
        gGameWon = true;
        StartMusic();
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
    StartLevelCard();
    PlaceTestStart(true);
    DrawTiles();
    PlaySound(Sound::LevelStart);
    StartMusic();
}

// Trying a level out from the editor: the start level begins at the chosen column (never
// under the border strip), on the lowest floor there (or at the top of a pit), and deaths
// come back to it. Hero starts in
// the columns before it are taken out (also when a death reloads the level), so they do not
// move the restart point back.
void GameWindow::PlaceTestStart(bool placeHero)
{
    if (gStartColumn < 1 || gLevel != gStartLevel)
        return;
    const int32_t col = TestStartColumn(gStartColumn);
    for (int32_t c = 1; c <= col; ++c)
        for (int32_t r = 0; r < TileMap::Rows; ++r)
            if (MapCode(r, c) == Tile::HeroStart)
                ClearCell(r, c);
    if (!placeHero)
        return;
    auto free = [&](int32_t r) { return !IsSolid(MapCode(r, col)) && !IsSolid(MapCode(r, col + 1)); };
    int32_t row = -1;
    for (int32_t r = 13; r >= 0 && row < 0; --r)
        if (free(r) && IsSolid(MapCode(r + 1, col)))
            row = r;
    for (int32_t r = 0; r <= 13 && row < 0; ++r)
        if (free(r))
            row = r;
    const int32_t worldX = (col - 1) * 16;
    const StartView view = ViewOfStart(worldX);
    StartViewX = view.viewX;
    StartX = view.heroX;
    StartY = std::max(row, 0) * 16;
    sprPlayer.X = StartX;
    sprPlayer.Y = StartY;
    ViewX = StartViewX;
}

// Trying a level out from the editor, looping: the level's end (and, through a continue,
// a game over) begins the start level again with a small hero, a new game's lives and no
// coins, so that every try starts alike.
void GameWindow::LoopTestLevel()
{
    gLevel = gStartLevel;
    HeroBig = false;
    HurtTimer = 0;
    Lives = NewGameLives;
    Coins = 0;
}

// "Zorbo — 3 · Glowworm Cave", or "Zorbo — 3" for a level without a title. The designed
// caption is empty, but a desktop names every window: this one names the level played.
void GameWindow::ShowLevelTitle()
{
    if (gLevel < 0 || gLevel >= TileMap::Levels)
        return;
    const std::string title = "Zorbo \u2014 " + LevelName(gLevel, LevelTitles[static_cast<size_t>(gLevel)]);
    platform.SetTitle(title);
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
    Lives = NewGameLives;
    Coins = 0;
    // The same level again from its beginning: reached before, so nobody is told.
    --gLevel;
    AdvanceLevel();
}

} // namespace zorbo
