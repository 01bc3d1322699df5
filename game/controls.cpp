#include "game/GameWindow.h"

namespace zorbo {

void GameWindow::Keyboard_KeyDown(int32_t lKey)
{
    // Kept on purpose: the same key again within 20 ms counts once; a different key always
    // passes (recordings rely on it).
    const auto now = static_cast<int32_t>(platform.GetTickCount());
    if (lKey == Timers.LastKey && now <= Timers.LastKeyTick + 20)
        return;
    Timers.LastKeyTick = static_cast<int32_t>(platform.GetTickCount());
    Timers.LastKey = lKey;

    Sprite& hero = sprPlayer;
    switch (lKey) {
    case Key::Space:
        if (hero.State == Hero::GroundLeft) {
            JumpCount = 1;
            hero.State = Hero::AirLeft;
            hero.SpeedY = -8;
            PlaySound(Sound::Jump);
        } else if (hero.State == Hero::GroundRight) {
            JumpCount = 1;
            hero.State = Hero::AirRight;
            hero.SpeedY = -8;
            PlaySound(Sound::Jump);
        }
        // Holding space while rising makes the jump higher.
        if (hero.SpeedY < 0 && JumpCount != 0) {
            ++JumpCount;
            switch (JumpCount) {
            case 3:
            case 4:
            case 6:
            case 8:
                --hero.SpeedY;
                break;
            case 10:
                --hero.SpeedY;
                JumpCount = 0;
                break;
            default:
                break;
            }
        } else if (hero.SpeedY > 0) {
            JumpCount = 0;
        }
        bKeyDown = true;
        break;
    case Key::Escape:
        Shutdown();
        return;
    case Key::Down:
        bDownKey = true;
        break;
    case Key::Left:
        // Kept on purpose: left comes before right, so holding both cancels the speed change
        // but turns a standing hero left (recordings rely on it).
        --hero.SpeedX;
        if (hero.State == Hero::GroundRight && hero.SpeedX < 0)
            hero.State = Hero::GroundLeft;
        if (hero.SpeedX < -7)
            hero.SpeedX = -7;
        bKeyDown = true;
        break;
    case Key::Right:
        ++hero.SpeedX;
        if (hero.State == Hero::GroundLeft && hero.SpeedX > 0)
            hero.State = Hero::GroundRight;
        if (hero.SpeedX > 7)
            hero.SpeedX = 7;
        bKeyDown = true;
        break;
    case Key::Up:
        if (HeroBig && FireDelay == 0) {
            InitFireBall();
            FireDelay = 4;
        }
        bKeyDown = true;
        break;
    default:
        break;
    }

    if (gGameOver) {
        if (Keyboard.KeyName(lKey) == "Y") {
            ContinueGame();
            if (!bRunning)
                return; // the level could not be loaded again
        } else if (Keyboard.KeyName(lKey) == "N") {
            Shutdown();
            return;
        }
    }
    if (gGameWon) {
        if (Keyboard.KeyName(lKey) == "Y") {
            gLevel = 0;
            gGameWon = false;
            ContinueGame();
        } else if (Keyboard.KeyName(lKey) == "N") {
            Shutdown();
        }
    }
}

} // namespace zorbo
