#include "game/GameWindow.h"
#include "level/LevelFile.h"
#include "world/Objects.h"
#include "enemies/Kinds.h"

namespace zorbo {

namespace {

// A new box or coin shows the picture of the lowest one already in play, so that they all
// animate in step.
void SyncFrame(std::span<Sprite> slots, size_t s)
{
    for (size_t i = 0; i <= s; ++i)
        if (slots[i].State != 0) {
            slots[s].CurrentFrame = slots[i].CurrentFrame;
            return;
        }
}

} // namespace

// Puts an enemy of a plain code into the lowest free slot of its kind; the cell becomes
// background whether or not a slot was free.
bool GameWindow::ActivateEnemy(int32_t code, int32_t x, int32_t y)
{
    const SpawnRow* row = FindSpawn(code);
    if (!row)
        return false;
    const KindRow& kind = KindOf(row->kind);
    const std::span<Sprite> slots = kind.slots(*this);
    const int32_t s = FreeSlot(slots, Enemy::Free);
    if (s < 0)
        return true;
    Sprite& sp = slots[static_cast<size_t>(s)];
    sp.X = x;
    sp.Y = y + row->dy;
    sp.GlobalX = ViewX;
    sp.State = row->state;
    sp.CurrentFrame = row->frame;
    // The Brown steps its pictures every third update up to Normal, every second one above.
    sp.AnimRate = row->animRate != RateByDifficulty ? row->animRate : (gDifficulty <= Difficulty::Normal ? 3 : 2);
    if (kind.looks != nullptr)
        kind.looks(*this)[static_cast<size_t>(s)] = row->alternate;
    return true;
}

// An emptied cell takes the second background where it borders on it.
void GameWindow::ClearCell(int32_t row, int32_t col)
{
    const bool nine = MapCode(row, col - 1) == Tile::Background2 || MapCode(row, col + 1) == Tile::Background2 ||
                      MapCode(row - 1, col) == Tile::Background2;
    SetMapCode(row, col, nine ? Tile::Background2 : Tile::Background);
}

void GameWindow::ActivateCell(int32_t row, int32_t col, int32_t x, int32_t y)
{
    const int32_t code = MapCode(row, col);

    auto place = [&](Sprite& s) {
        s.X = x;
        s.Y = y;
        s.GlobalX = ViewX;
    };
    // Boxes and lying coins: State 0 marks a free slot.
    auto item = [&](std::span<Sprite> slots, int32_t state) {
        const int32_t s = FreeSlot(slots, 0);
        if (s < 0)
            return static_cast<Sprite*>(nullptr);
        Sprite& sp = slots[static_cast<size_t>(s)];
        place(sp);
        sp.State = state;
        SyncFrame(slots, static_cast<size_t>(s));
        sp.AnimRate = 3;
        return &sp;
    };
    auto background = [&]() { ClearCell(row, col); };

    if (ActivateEnemy(code, x, y)) {
        background();
        return;
    }
    switch (code) {
    case 45:
        item(sprQBoxes, 2);
        SetMapCode(row, col, Tile::BoxBase);
        break;
    case 84:
        item(sprQBoxes, 5);
        SetMapCode(row, col, Tile::BoxBaseAlt);
        break;
    case 54:
        if (Sprite* box = item(sprQBoxes, 4))
            box->DirX = 8; // coins left in the block
        SetMapCode(row, col, Tile::BoxBase);
        break;
    case 82:
        item(sprQBoxes, 6);
        SetMapCode(row, col, Tile::BoxBaseAlt);
        break;
    case Tile::HeroStart: {
        const int32_t worldX = (col - 1) * 16;
        // Only the first start met since the level began places the hero; later ones
        // just move the restart point.
        if (StartX == 0 && StartY == 0) {
            sprPlayer.X = worldX;
            sprPlayer.Y = y;
        }
        StartX = worldX;
        if (StartX > 160) {
            StartViewX = StartX - 160;
            StartX = 160;
        }
        StartY = y;
        background();
        break;
    }
    case 52: {
        const int32_t s = FreeSlot(sprPPlants, Enemy::Free);
        if (s >= 0) {
            Sprite& p = sprPPlants[static_cast<size_t>(s)];
            p.State = Plant::Hidden;
            p.X = x + 8;
            p.Y = y - 8;
            p.GlobalX = ViewX;
            p.AnimRate = 3;
            PlantTimer[static_cast<size_t>(s)] = 0;
        }
        background();
        break;
    }
    case 53: item(sprCoins, 1); background(); break;
    case 81: item(sprCoins, -1); background(); break;
    case 56:
        item(sprQBoxes, 1);
        SetMapCode(row, col, Tile::BoxBase);
        break;
    case 57:
        item(sprQBoxes, 3);
        background();
        break;
    case 62:
    case 83:
        for (size_t c = 0; c < sprFires.size(); ++c) {
            FireChain& chain = sprFires[c];
            if (chain.ChainActive)
                continue;
            chain.ChainActive = true;
            for (Sprite& ball : chain.Balls) {
                ball.State = 1;
                ball.CurrentFrame = 0;
                ball.GlobalX = ViewX;
                ball.AnimRate = 1;
            }
            chain.CenterX = static_cast<float>(x + 4);
            chain.CenterY = static_cast<float>(y + 4);
            chain.LastViewX = ViewX;
            chain.Angle = 4.71F;
            FireTick[c] = 1;
            break;
        }
        SetMapCode(row, col, code == 62 ? Tile::BoxBase : Tile::BoxBaseAlt);
        break;
    case 67:
        for (size_t f = 0; f < sprFlames.size(); ++f) {
            Sprite& flame = sprFlames[f];
            if (flame.Active)
                continue;
            place(flame);
            flame.Active = true;
            flame.CurrentFrame = 0;
            flame.Y = y - 8;
            flame.AnimRate = 2;
            FlameFrame[f] = 0;
            break;
        }
        background();
        break;
    case Tile::WarpMarker:
        // One marker only: it moves to the newest warp end in view.
        place(sprWarp);
        sprWarp.State = 1;
        background();
        break;
    case Tile::Elevator:
        for (size_t e = 0; e < sprElevators.size(); ++e) {
            Sprite& lift = sprElevators[e];
            ElevatorPath& path = ElevatorPaths[e];
            if (lift.State == 2 || lift.State == 3)
                continue;
            if (lift.State == 1) {
                // A waiting first end: this end completes it when it shares its column
                // (vertical) or its row (horizontal); otherwise this end is dropped.
                if (path.FromX == x) {
                    path.ToX = x;
                    path.ToY = y;
                    path.Dir = 1;
                    lift.State = 3;
                    lift.GlobalX = ViewX;
                } else if (path.FromY == y) {
                    path.ToX = x;
                    path.ToY = y;
                    path.Dir = 1;
                    lift.State = 2;
                }
            } else if (lift.State == 0) {
                lift.State = 1;
                place(lift);
                path.FromX = x;
                path.FromY = y;
                path.RefViewX = ViewX;
                path.Dir = 1;
            } else {
                continue;
            }
            break;
        }
        background();
        break;
    default:
        break;
    }
}

} // namespace zorbo
