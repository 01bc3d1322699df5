#include "game/GameWindow.h"
#include "world/Objects.h"
#include "world/Touch.h"

namespace zorbo {

namespace {

// One shared picture counter: steps 0..5 once every three frames.
void StepAnimation(int32_t& tick, int32_t& frame)
{
    if (++tick == 3) {
        tick = 0;
        if (++frame == 6)
            frame = 0;
    }
}

} // namespace

void GameWindow::UpdateQBoxes()
{
    StepAnimation(Timers.QBoxTick, Timers.QBoxFrame);
    for (Sprite& box : sprQBoxes) {
        // Boxes far outside the view are given up (tested before this frame's scroll).
        if (box.X < -320)
            box.State = QBox::Empty;
        if (box.X > 640)
            box.State = QBox::Empty;
        switch (box.State) {
        case QBox::PowerUp:
        case QBox::Coin:
            ScrollStep(box, ViewX);
            box.CurrentFrame = Timers.QBoxFrame;
            box.Draw(ddsBack);
            break;
        case QBox::PowerUpAlt:
        case QBox::CoinAlt:
            ScrollStep(box, ViewX);
            box.CurrentFrame = Timers.QBoxFrame + 7;
            box.Draw(ddsBack);
            break;
        case QBox::CoinChest:
            ScrollStep(box, ViewX);
            box.CurrentFrame = 6;
            box.Draw(ddsBack);
            break;
        case QBox::OneUp:
            // Hidden, but it keeps its place for the hero's head.
            ScrollStep(box, ViewX);
            break;
        default:
            break;
        }
    }
}

void GameWindow::UpdateCoins()
{
    StepAnimation(Timers.CoinTick, Timers.CoinFrame);
    for (Sprite& coin : sprCoins) {
        const int32_t s = coin.State;
        if (Coin::IsJumping(s)) {
            // A coin jumping out of a box: six frames up, counted as it vanishes.
            const bool alt = s >= Coin::JumpingAlt;
            if (s == (alt ? Coin::JumpingAlt : Coin::Jumping))
                PlaySound(Sound::Coin);
            ScrollStep(coin, ViewX);
            coin.Y = coin.Y - 3;
            coin.CurrentFrame = Timers.CoinFrame + (alt ? 6 : 0);
            coin.State = s + 1;
            if (coin.State == (alt ? Coin::JumpedAlt : Coin::Jumped)) {
                coin.State = Coin::Free;
                ++Coins;
            }
            coin.Draw(ddsBack);
        } else if (Coin::IsLying(s)) {
            ScrollStep(coin, ViewX);
            coin.CurrentFrame = Timers.CoinFrame + (s == Coin::LyingAlt ? 6 : 0);
            if (Touches(sprPlayer, coin)) {
                coin.State = Coin::Free;
                ++Coins;
                PlaySound(Sound::Coin);
                // Kept on purpose: a coin touched ends this frame's coin pass; the rest wait
                // for the next frame (recordings rely on it).
                break;
            }
            if (coin.X < -160)
                coin.State = Coin::Free;
            if (coin.X > 600)
                coin.State = Coin::Free;
            coin.Draw(ddsBack);
        }
    }
    if (Coins > 99) {
        Coins = 0;
        ++Lives;
        PlaySound(Sound::ExtraLife);
    }
}

void GameWindow::AssignCoin(int32_t box, bool alternate)
{
    if (box < 0 || box >= static_cast<int32_t>(sprQBoxes.size()))
        return;
    for (Sprite& coin : sprCoins) {
        if (coin.State != Coin::Free)
            continue;
        const Sprite& from = sprQBoxes[static_cast<size_t>(box)];
        coin.State = alternate ? Coin::JumpingAlt : Coin::Jumping;
        coin.X = from.X;
        coin.GlobalX = from.GlobalX;
        coin.Y = from.Y - 16;
        return;
    }
}

void GameWindow::InitializeBricks(int32_t x, int32_t y, int32_t kind)
{
    PlaySound(Sound::Brick);
    struct Piece {
        int32_t dx, dy, speedX, speedY;
    };
    constexpr Piece pieces[4] = {{0, 0, -10, -8}, {8, 0, 10, -8}, {0, 8, -8, -6}, {8, 8, 8, -6}};
    // Kinds 0..3 use the fragment pictures 0, 2, 4 and 6.
    const int32_t frame = (kind >= 0 && kind <= 3) ? kind * 2 : 0;
    for (size_t i = 0; i < sprBricks.size(); ++i) {
        Sprite& b = sprBricks[i];
        b.GlobalX = ViewX;
        b.State = Fragment::Flying;
        b.X = x + pieces[i].dx;
        b.Y = y + pieces[i].dy;
        b.SpeedX = pieces[i].speedX;
        b.SpeedY = pieces[i].speedY;
        b.CurrentFrame = frame;
    }
}

void GameWindow::AnimateBricks()
{
    for (Sprite& b : sprBricks) {
        if (b.State != Fragment::Flying)
            continue;
        MoveStep(b, ViewX);
        // Sideways speed decays to 3 either way; gravity 2 per frame.
        if (b.SpeedX < -3)
            ++b.SpeedX;
        if (b.SpeedX > 3)
            --b.SpeedX;
        b.Y = b.Y + b.SpeedY;
        b.SpeedY = b.SpeedY + 2;
        b.Draw(ddsBack);
        if (b.Y > 240)
            b.State = Fragment::Gone;
    }
}

} // namespace zorbo
