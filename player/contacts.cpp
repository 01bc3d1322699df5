#include "game/GameWindow.h"
#include "level/Rules.h"
#include "world/Objects.h"

namespace zorbo {

// A rising hero's head against the question boxes. Every box touched reverses the
// vertical speed, so two boxes struck in one step cancel each other out (kept on purpose:
// recordings rely on it).
void GameWindow::HeadHitsBoxes()
{
    Sprite& h = sprPlayer;
    for (size_t i = 0; i < sprQBoxes.size(); ++i) {
        Sprite& box = sprQBoxes[i];
        const int32_t contents = box.State;
        if (!QBox::Holds(contents))
            continue;
        if (!(box.Y + 5 < h.Y && h.Y < box.Y + 16 && box.X - 15 < h.X && h.X < box.X + 15))
            continue;
        h.Y = box.Y + 16;
        h.SpeedY = -h.SpeedY;
        HeroRow = h.Y / 16;
        switch (contents) {
        case QBox::Coin:
            AssignCoin(static_cast<int32_t>(i), false);
            box.State = QBox::Empty;
            break;
        case QBox::CoinAlt:
            AssignCoin(static_cast<int32_t>(i), true);
            box.State = QBox::Empty;
            break;
        case QBox::CoinChest:
            AssignCoin(static_cast<int32_t>(i), false);
            --box.DirX;
            if (box.DirX == 0)
                box.State = QBox::Empty;
            break;
        case QBox::PowerUp:
        case QBox::PowerUpAlt:
            sprMush.State = 1;
            sprMush.SpeedX = 2;
            sprMush.Y = box.Y - 16;
            sprMush.X = box.X;
            sprMush.GlobalX = box.GlobalX;
            MushAlt = contents == QBox::PowerUpAlt;
            box.State = QBox::Empty;
            PlaySound(Sound::Coin);
            break;
        case QBox::OneUp:
            // The one-up's box becomes a plain used block in the map.
            SetMapCode(box.Y / 16, (box.GlobalX + box.X) / 16 + 1, Tile::BoxBase);
            sprOneUp.State = 1;
            sprOneUp.SpeedX = 2;
            sprOneUp.Y = box.Y - 16;
            sprOneUp.X = box.X;
            sprOneUp.GlobalX = box.GlobalX;
            box.State = QBox::Empty;
            PlaySound(Sound::Coin);
            break;
        default:
            break;
        }
    }
}

// The head strikes HL (right = false) or HR: a powered-up hero breaks a breakable block,
// anything else only bumps.
void GameWindow::StrikeBlock(bool right)
{
    const int32_t col = right ? HeroCol + 1 : HeroCol;
    const int32_t kind = BrickKind(MapCode(HeroRow, col));
    if (!HeroBig || kind < 0) {
        PlaySound(Sound::Bump);
        return;
    }
    // Kept on purpose: the fragments start from the hero's screen column, not the block's
    // world cell (recordings rely on it).
    const int32_t x = 16 * (sprPlayer.X / 16) + (right ? 16 : 0);
    const int32_t y = HeroRow * 16;
    InitializeBricks(x, y, kind);
    // Kept on purpose: the broken brick looks only below it for night (recordings see the map).
    SetMapCode(HeroRow, col,
               EmptiedCode(LevelCodes(), HeroRow, col, EmptiedBy::HeroHead));
}

// Rising straight up across two columns: the pair is struck as one, so exactly one block
// breaks, the left one first.
void GameWindow::CeilingHitPair()
{
    if (HeroBig && BrickKind(MapCode(HeroRow, HeroCol)) >= 0)
        CeilingHit(false);
    else if (HeroBig && BrickKind(MapCode(HeroRow, HeroCol + 1)) >= 0)
        CeilingHit(true);
    else
        CeilingHit(false); // a bump: the cell struck does not matter
}

} // namespace zorbo
