#include "game/GameWindow.h"
#include "world/Objects.h"
#include "world/Touch.h"

namespace zorbo {

bool GameWindow::WalkItem(Sprite& item, bool freeToTheRight)
{
    MoveStep(item, ViewX);
    int32_t col = (ViewX + item.X) / 16 + 1;
    auto solid = [this](int32_t row, int32_t c) { return IsSolid(MapCode(row, c)); };

    if (item.SpeedY > 0 && item.SpeedX != 0) {
        item.Y = item.Y + item.SpeedY;
        const int32_t row = item.Y / 16;
        if (row > 13) {
            item.State = 0; // fell out of the level
            return false;
        }
        bool land = false;
        if (item.SpeedX < 0) {
            if (solid(row + 1, col + 1)) {
                land = true;
            } else if (solid(row, col)) {
                item.SpeedX = 2;
            } else if (solid(row + 1, col)) {
                // Caught on the corner of the cell below-left: slide off it or land on it,
                // whichever side the item's centre is nearer to.
                const int32_t cx = ViewX + item.X + 8, cy = item.Y + 8;
                const int32_t tx = col * 16 - 8, ty = row * 16 + 24;
                if (CornerMeetsSide(cx - tx, ty - cy))
                    item.SpeedX = 2;
                else
                    land = true;
            }
        } else {
            if (solid(row + 1, col))
                land = true;
            else if (solid(row, col + 1))
                item.SpeedX = -2;
            else if (solid(row + 1, col + 1))
                land = true;
        }
        if (land) {
            item.SpeedY = 0;
            item.Y = row * 16;
        }
    }

    col = (ViewX + item.X) / 16 + 1;
    const int32_t row = item.Y / 16;
    if (item.SpeedX > 0) {
        if (solid(row, col + 1))
            item.SpeedX = -2;
        if (!solid(row + 1, col))
            item.SpeedY = 6;
    } else {
        if (solid(row, col))
            item.SpeedX = 2;
        if (!solid(row + 1, col) && !solid(row + 1, col + 1))
            item.SpeedY = 6;
    }

    if (item.X < -80 || (freeToTheRight && item.X > 560)) {
        item.State = 0;
        return false;
    }
    return true;
}

void GameWindow::UpdateMush()
{
    Sprite& mush = sprMush;
    if (mush.State != 1) {
        if (mush.State == 0) {
            mush.SpeedX = 0;
            mush.SpeedY = 0;
        }
        return;
    }
    if (!WalkItem(mush, true))
        return;
    if (Touches(sprPlayer, mush)) {
        PlaySound(Sound::PowerUp);
        HeroBig = true;
        mush.State = 0;
    }
    // Drawn also in the frame it is taken.
    if (MushAlt) {
        sprMushAlt.X = mush.X;
        sprMushAlt.Y = mush.Y;
        sprMushAlt.Draw(ddsBack);
    } else {
        mush.Draw(ddsBack);
    }
}

void GameWindow::UpdateOneUp()
{
    Sprite& oneUp = sprOneUp;
    if (oneUp.State != 1) {
        if (oneUp.State == 0) {
            oneUp.SpeedX = 0;
            oneUp.SpeedY = 0;
        }
        return;
    }
    // Kept on purpose: unlike the power-up, a one-up stays in play when it walks off to the
    // right (recordings rely on it).
    if (!WalkItem(oneUp, false))
        return;
    if (Touches(sprPlayer, oneUp)) {
        PlaySound(Sound::ExtraLife);
        ++Lives;
        oneUp.State = 0;
    }
    oneUp.Draw(ddsBack);
}

} // namespace zorbo
