#include "game/GameWindow.h"

namespace zorbo {

namespace {
// Fragment kind of a breakable block, or -1 when the tile does not break.
int32_t BrickKind(int32_t code)
{
    switch (code) {
    case 37:
        return 1;
    case 28:
        return 2;
    case 80:
        return 3;
    case 39:
        return 0;
    default:
        return -1;
    }
}
} // namespace

// A rising hero's head against the question boxes. Every box touched reverses the
// vertical speed, so two boxes struck in one step cancel each other out.
void GameWindow::HeadHitsBoxes()
{
    Sprite& h = sprPlayer;
    for (size_t i = 0; i < sprQBoxes.size(); ++i) {
        Sprite& box = sprQBoxes[i];
        const int32_t contents = box.State;
        if (contents < 1 || contents > 6)
            continue;
        if (!(box.Y + 5 < h.Y && h.Y < box.Y + 16 && box.X - 15 < h.X && h.X < box.X + 15))
            continue;
        h.Y = box.Y + 16;
        h.SpeedY = -h.SpeedY;
        HeroRow = h.Y / 16;
        switch (contents) {
        case 2:
            AssignCoin(static_cast<int32_t>(i), false);
            box.State = 0;
            break;
        case 6:
            AssignCoin(static_cast<int32_t>(i), true);
            box.State = 0;
            break;
        case 4:
            AssignCoin(static_cast<int32_t>(i), false);
            --box.DirX;
            if (box.DirX == 0)
                box.State = 0;
            break;
        case 1:
        case 5:
            sprMush.State = 1;
            sprMush.SpeedX = 2;
            sprMush.Y = box.Y - 16;
            sprMush.X = box.X;
            sprMush.GlobalX = box.GlobalX;
            MushAlt = contents == 5;
            box.State = 0;
            PlaySound(Sound::Coin);
            break;
        case 3:
            // The one-up's box becomes a plain used block in the map.
            SetMapCode(box.Y / 16, (box.GlobalX + box.X) / 16 + 1, 33);
            sprOneUp.State = 1;
            sprOneUp.SpeedX = 2;
            sprOneUp.Y = box.Y - 16;
            sprOneUp.X = box.X;
            sprOneUp.GlobalX = box.GlobalX;
            box.State = 0;
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
    // The fragments start from the hero's screen column, not the block's world cell.
    const int32_t x = 16 * (sprPlayer.X / 16) + (right ? 16 : 0);
    const int32_t y = HeroRow * 16;
    InitializeBricks(x, y, kind);
    SetMapCode(HeroRow, col, MapCode(HeroRow + 1, col) == 9 ? 9 : 0);
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
