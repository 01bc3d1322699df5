#include "game/GameWindow.h"

#include <cstdio>

namespace zorbo {

void GameWindow::Game_Update(int32_t /*MS*/)
{
    ApplyFriction();
    bool dyingBegan = false;
    if (gGameOver) {
        // Nothing moves; the prompt blinks over the last picture.
        GameOverPrompt();
    } else {
        if (sprPlayer.State == Hero::Dying) {
            // Kept on purpose: no DrawTiles while dying, so the hero leaves a trail.
            KillZorboAnimate();
            // A level that cannot be loaded again ended the game.
            if (!bRunning)
                return;
        } else {
            UpdateWarp();
            CollisionDetection();
            // The frame that finishes the last level presents nothing; nor does one whose
            // next level could not be loaded (the game has ended).
            if (gGameWon || !bRunning)
                return;
            // Each routine draws as it updates, so this order is also the painting order.
            DrawTiles();
            UpdateQBoxes();
            UpdateMush();
            UpdateOneUp();
            UpdateCoins();
            UpdateElevator();
            AnimateBricks();
            UpdateEnemies();
        }
        dyingBegan = HurtAndHit();
        ChooseHeroFrame();
        DrawHero();
    }
    DrawHud();
    DrawBorders();
    ddsBack.SetOverlay(FrameOverlay());
    ddMain.Draw(ddsBack);
    // The death effect plays after its first picture is shown, and the game waits for it.
    if (dyingBegan)
        PlaySoundSync(Sound::Death);
    if (FireDelay > 0)
        --FireDelay;
    bKeyDown = false;
    bDownKey = false;
}

void GameWindow::ApplyFriction()
{
    if (bKeyDown)
        return;
    if (sprPlayer.SpeedX > 0)
        --sprPlayer.SpeedX;
    if (sprPlayer.SpeedX < 0)
        ++sprPlayer.SpeedX;
}

void GameWindow::ChooseHeroFrame()
{
    Sprite& hero = sprPlayer;
    switch (hero.State) {
    case Hero::GroundRight:
        if (hero.SpeedX == 0)
            hero.CurrentFrame = 0;
        else if (hero.CurrentFrame == 4 || hero.CurrentFrame == 5)
            hero.NextFrame();
        else
            hero.CurrentFrame = 4;
        break;
    case Hero::GroundLeft:
        if (hero.SpeedX == 0)
            hero.CurrentFrame = 7;
        else if (hero.CurrentFrame == 11 || hero.CurrentFrame == 12)
            hero.NextFrame();
        else
            hero.CurrentFrame = 11;
        break;
    case Hero::AirRight:
        hero.CurrentFrame = 2;
        break;
    case Hero::AirLeft:
        hero.CurrentFrame = 9;
        break;
    default:
        break;
    }
}

void GameWindow::DrawHero()
{
    // Kept on purpose: the stored frame is always the small hero's; the powered-up poses
    // are 14 further on (recordings hash the stored frame).
    if (HeroBig)
        sprPlayer.CurrentFrame = sprPlayer.CurrentFrame + 14;
    if (HurtTimer == 0 || HurtTimer % 2 == 1)
        sprPlayer.Draw(ddsBack);
    if (HeroBig)
        sprPlayer.CurrentFrame = sprPlayer.CurrentFrame - 14;
}

void GameWindow::DrawHud()
{
    char text[64];
    std::snprintf(text, sizeof text, "Lives: %02d  -  Coins: %03d", Lives, Coins);
    ddsBack.DrawText(20, 2, text);
}

void GameWindow::DrawBorders()
{
    ddsBack.Blt(Rect{0, 0, 16, 240}, ddsBorder, ddsBorder.SurfaceRect());
    ddsBack.Blt(Rect{304, 0, 320, 240}, ddsBorder, ddsBorder.SurfaceRect());
}

} // namespace zorbo
