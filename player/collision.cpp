#include "game/GameWindow.h"
#include "level/LevelFile.h"
#include "world/Objects.h"

namespace zorbo {

// The hero's physics step: move, scroll, gravity, tiles, contacts, then the platforms.
void GameWindow::CollisionDetection()
{
    switch (sprPlayer.State) {
    case Hero::GroundRight:
    case Hero::GroundLeft:
        if (!GroundStep())
            return;
        break;
    case Hero::AirRight:
    case Hero::AirLeft:
        if (!AirStep())
            return;
        break;
    default:
        break;
    }
    ElevatorCollision();
}

void GameWindow::ComputeHeroCell()
{
    const int32_t worldX = ViewX + sprPlayer.X;
    HeroCol = worldX / 16 + 1;
    HeroXMod = worldX % 16;
    HeroRow = sprPlayer.Y / 16;
}

// While the view is at the level start the hero walks on the screen; once it scrolls he
// stays at x 160 and the view takes the motion.
void GameWindow::MoveRight()
{
    Sprite& h = sprPlayer;
    if (ViewX != 0) {
        ViewX += h.SpeedX;
        return;
    }
    h.X += h.SpeedX;
    if (h.X > 160) {
        ViewX = h.X - 160;
        h.X = 160;
    }
}

void GameWindow::MoveLeft()
{
    Sprite& h = sprPlayer;
    if (ViewX == 0) {
        h.X += h.SpeedX;
        if (h.X < 16)
            h.X = 16;
        return;
    }
    ViewX += h.SpeedX;
    if (ViewX < 0) {
        h.X = ViewX + 160;
        ViewX = 0;
    }
}

void GameWindow::MoveAir()
{
    Sprite& h = sprPlayer;
    if (ViewX == 0) {
        h.X += h.SpeedX;
        if (h.X > 160) {
            ViewX = h.X - 160;
            h.X = 160;
        }
        return;
    }
    ViewX += h.SpeedX;
    if (ViewX < 0) {
        h.X = ViewX + 160;
        ViewX = 0;
    }
}

void GameWindow::PlaceAt(int32_t W)
{
    if (ViewX == 0)
        sprPlayer.X = W;
    else
        ViewX = W - 160;
}

void GameWindow::PlaceAtGuarded(int32_t W)
{
    if (ViewX == 0 || W - 160 < 0) {
        sprPlayer.X = W;
        ViewX = 0;
    } else {
        ViewX = W - 160;
    }
}

void GameWindow::WallStop()
{
    Sprite& h = sprPlayer;
    if (h.SpeedX > 0)
        PlaceAtGuarded((HeroCol - 1) * 16);
    else if (h.SpeedX < 0)
        PlaceAtGuarded(HeroCol * 16);
    h.SpeedX = 0;
}

void GameWindow::Land()
{
    Sprite& h = sprPlayer;
    h.SpeedY = 0;
    h.Y = HeroRow * 16;
    if (h.SpeedX > 0)
        h.State = Hero::GroundRight;
    else if (h.SpeedX < 0)
        h.State = Hero::GroundLeft;
    else
        h.State = h.State == Hero::AirLeft ? Hero::GroundLeft : Hero::GroundRight;
}

// The head strikes HL (right = false) or HR; the hero drops back below the row.
void GameWindow::CeilingHit(bool right)
{
    StrikeBlock(right);
    sprPlayer.Y = HeroRow * 16 + 16;
    sprPlayer.SpeedY = -sprPlayer.SpeedY;
}

bool GameWindow::GroundStep()
{
    Sprite& h = sprPlayer;
    const bool right = h.State == Hero::GroundRight;
    if (right)
        MoveRight();
    else
        MoveLeft();
    ComputeHeroCell();

    // Only the hero's own row stops him; the row above is never looked at on the ground.
    if (right && h.SpeedX > 0 && IsSolid(MapCode(HeroRow, HeroCol + 1))) {
        PlaceAt((HeroCol - 1) * 16);
        h.SpeedX = 0;
    } else if (!right && h.SpeedX < 0 && IsSolid(MapCode(HeroRow, HeroCol))) {
        PlaceAt(HeroCol * 16);
        h.SpeedX = 0;
    }
    ComputeHeroCell();

    if (HeroRow > 13) {
        HurtTimer = 0;
        h.State = Hero::Hit;
        return false;
    }
    if (MapCode(HeroRow, right ? HeroCol + 1 : HeroCol) == Tile::LevelEnd) {
        Nextlevel();
        return false;
    }

    const bool bl = IsSolid(MapCode(HeroRow + 1, HeroCol));
    const bool br = IsSolid(MapCode(HeroRow + 1, HeroCol + 1));
    if (right) {
        // Kept on purpose: facing right only the cell under the left column holds him up;
        // over a gap he drops and lands again next frame (recordings rely on it).
        if (!bl) {
            h.State = Hero::AirRight;
            h.SpeedY = 4;
        }
    } else {
        if (!bl) {
            h.State = Hero::AirLeft;
            h.SpeedY = 4;
        }
        if (br && !bl && HeroXMod >= 1) {
            h.State = Hero::GroundLeft;
            h.SpeedY = 0;
        }
    }
    return true;
}

bool GameWindow::AirStep()
{
    Sprite& h = sprPlayer;
    MoveAir();
    ComputeHeroCell();

    // The move uses the speed from before gravity.
    h.Y += h.SpeedY;
    h.SpeedY += 1;
    if (h.SpeedY > 8)
        h.SpeedY = 8;
    HeroRow = h.Y / 16;

    if (HeroRow >= 14) {
        HurtTimer = 0;
        h.State = Hero::Hit;
        return false;
    }
    if (HeroRow < 0)
        return false; // above the map nothing is touched
    HeroYMod = h.Y % 16;
    if (h.SpeedX < 0 && h.X < 16)
        h.X = 16;

    const bool rising = h.SpeedY < 0;
    if (rising)
        HeadHitsBoxes();

    // The probes are read after the box test, which may have moved the hero down a row.
    const int32_t col = HeroCol;
    const int32_t row = HeroRow;
    auto code = [&](int32_t r, int32_t c) { return MapCode(r, c); };
    const bool hl = IsSolid(code(row, col));
    const bool hr = IsSolid(code(row, col + 1));
    const bool bl = IsSolid(code(row + 1, col));
    const bool br = IsSolid(code(row + 1, col + 1));
    const bool endBelow = code(row + 1, col) == Tile::LevelEnd || code(row + 1, col + 1) == Tile::LevelEnd;
    const int32_t cx = ViewX + h.X + 8;
    const int32_t cy = h.Y + 8;

    if (h.SpeedX == 0) {
        if (rising) {
            if (HeroXMod != 0) {
                if (hl || hr)
                    CeilingHitPair();
            } else if (hl) {
                CeilingHit(false);
            }
        } else {
            if (code(row + 1, col) == Tile::LevelEnd) {
                Nextlevel();
                return false;
            }
            if (HeroXMod != 0 ? (bl || br) : bl)
                Land();
        }
    } else if (h.SpeedX > 0) {
        if (rising) {
            if (br && hl) {
                CeilingHit(false);
                WallStop();
            } else if (hl) {
                CeilingHit(false);
            } else if (br) {
                WallStop();
            } else if (hr) {
                const int32_t tx = col * 16 + 8;
                const int32_t ty = row * 16 + 8;
                // Rising, a tie meets the ceiling.
                if (CornerMeetsSide(tx - cx, cy - ty, 1))
                    WallStop();
                else
                    CeilingHit(true);
            }
        } else {
            if (endBelow) {
                Nextlevel();
                return false;
            }
            if (bl && hr) {
                Land();
                WallStop();
            } else if (bl) {
                Land();
            } else if (br && hr) {
                WallStop();
            } else if (hr && HeroYMod < 11) {
                WallStop();
            } else if (br) {
                const int32_t tx = col * 16 + 8;
                const int32_t ty = row * 16 + 24;
                // Falling, the comparison leans 4 pixels toward landing.
                if (CornerMeetsSide(tx - cx, ty - cy, 4))
                    WallStop();
                else
                    Land();
            }
        }
    } else {
        if (rising) {
            if (hr && bl) {
                CeilingHit(true);
                WallStop();
            } else if (bl) {
                WallStop();
            } else if (hr) {
                CeilingHit(true);
            } else if (hl) {
                const int32_t tx = col * 16 - 8;
                const int32_t ty = row * 16 + 8;
                if (CornerMeetsSide(cx - tx, cy - ty, 1))
                    WallStop();
                else
                    CeilingHit(false);
            }
        } else {
            if (endBelow) {
                Nextlevel();
                return false;
            }
            if (br && hl) {
                Land();
                WallStop();
            } else if (br) {
                Land();
            } else if (hl && HeroYMod < 11) {
                WallStop();
            } else if (bl) {
                const int32_t tx = col * 16 - 8;
                const int32_t ty = row * 16 + 24;
                if (CornerMeetsSide(cx - tx, ty - cy, 4))
                    WallStop();
                else
                    Land();
            }
        }
    }
    return true;
}

} // namespace zorbo
