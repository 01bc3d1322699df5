#include "game/GameWindow.h"
#include "game/Turning.h"
#include "level/LevelFile.h"
#include "level/Rules.h"
#include "world/Objects.h"
#include "game/Kinds.h"

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

// An emptied cell takes the second background where it borders on it (level/Rules.h).
void GameWindow::ClearCell(int32_t row, int32_t col)
{
    SetMapCode(row, col, EmptiedCode(LevelCodes(), row, col));
}

// An object cell coming into view: its object goes live (when a slot is free), then the
// cell takes what its row of kCodes says it becomes.
void GameWindow::ActivateCell(int32_t row, int32_t col, int32_t x, int32_t y)
{
    const int32_t code = MapCode(row, col);
    if (!GoesLive(code))
        return;
    if (!ActivateEnemy(code, x, y))
        ActivateItem(code, col, x, y);
    SetMapCode(row, col, BecomesCode(code, LevelCodes(), row, col));
}

void GameWindow::ActivateItem(int32_t code, int32_t col, int32_t x, int32_t y)
{
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

    switch (code) {
    case Tile::CoinBox: item(sprQBoxes, QBox::Coin); break;
    case Tile::PowerUpBoxAlt: item(sprQBoxes, QBox::PowerUpAlt); break;
    case Tile::CoinChest:
        if (Sprite* box = item(sprQBoxes, QBox::CoinChest))
            box->DirX = 8; // coins left in the block
        break;
    case Tile::CoinBoxAlt: item(sprQBoxes, QBox::CoinAlt); break;
    case Tile::HeroStart: ActivateHeroStart(col, y); break;
    case Tile::Plant: {
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
        break;
    }
    case Tile::Coin: item(sprCoins, Coin::Lying); break;
    case Tile::CoinAlt: item(sprCoins, Coin::LyingAlt); break;
    case Tile::PowerUpBox: item(sprQBoxes, QBox::PowerUp); break;
    case Tile::OneUpBox: item(sprQBoxes, QBox::OneUp); break;
    case Tile::FireChain:
    case Tile::FireChainAlt: ActivateFireChain(x, y); break;
    case Tile::Flame: ActivateFlame(x, y); break;
    case Tile::WarpMarker:
        // One marker only: it moves to the newest warp end in view.
        place(sprWarp);
        sprWarp.State = Marker::Placed;
        break;
    case Tile::Elevator: ActivateElevatorEnd(x, y); break;
    default: break;
    }
}

void GameWindow::ActivateHeroStart(int32_t col, int32_t y)
{
    const int32_t worldX = (col - 1) * 16;
    // Kept on purpose: only the first start met since the level began places the hero;
    // later ones just move the restart point (level files use them as checkpoints).
    const bool first = StartX == 0 && StartY == 0;
    if (first) {
        sprPlayer.X = worldX;
        sprPlayer.Y = y;
    }
    // A start near the level's beginning leaves the restart view as it was.
    const StartView view = ViewOfStart(worldX);
    StartX = view.heroX;
    if (view.viewX > 0)
        StartViewX = view.viewX;
    StartY = y;
    if (!first)
        CheckpointTaken(MapCell{y / 16, col});
}

void GameWindow::ActivateFlame(int32_t x, int32_t y)
{
    for (size_t f = 0; f < sprFlames.size(); ++f) {
        Sprite& flame = sprFlames[f];
        if (flame.Active)
            continue;
        flame.X = x;
        flame.Y = y - 8;
        flame.GlobalX = ViewX;
        flame.Active = true;
        flame.CurrentFrame = 0;
        flame.AnimRate = 2;
        FlameFrame[f] = 0;
        return;
    }
}

void GameWindow::ActivateFireChain(int32_t x, int32_t y)
{
    for (size_t c = 0; c < sprFires.size(); ++c) {
        FireChain& chain = sprFires[c];
        if (chain.ChainActive)
            continue;
        chain.ChainActive = true;
        for (Sprite& ball : chain.Balls) {
            ball.State = Marker::Placed;
            ball.CurrentFrame = 0;
            ball.GlobalX = ViewX;
            ball.AnimRate = 1;
        }
        chain.CenterX = static_cast<float>(x + 4);
        chain.CenterY = static_cast<float>(y + 4);
        chain.LastViewX = ViewX;
        chain.Angle = ChainStartAngle;
        FireTick[c] = 1;
        return;
    }
}

// The lowest slot that is free or waiting takes the end: a waiting one completes with it
// or drops it (LinkElevatorEnds), a free one keeps it as a first end. Kept on purpose: a
// slot freed by a platform that left the view may come before a waiting one, and a new end
// then waits there too instead of pairing (recordings rely on it).
void GameWindow::ActivateElevatorEnd(int32_t x, int32_t y)
{
    for (size_t e = 0; e < sprElevators.size(); ++e) {
        Sprite& lift = sprElevators[e];
        ElevatorPath& path = ElevatorPaths[e];
        if (lift.State == Elevator::Waiting) {
            const ElevatorLink link = LinkElevatorEnds(path.FromX, path.FromY, x, y);
            if (link != ElevatorLink::Dropped) {
                path.ToX = x;
                path.ToY = y;
                path.Dir = 1;
                if (link == ElevatorLink::UpDown) {
                    lift.State = Elevator::UpDown;
                    lift.GlobalX = ViewX;
                } else {
                    lift.State = Elevator::Sideways;
                }
            }
            return;
        }
        if (lift.State == Elevator::Free) {
            lift.State = Elevator::Waiting;
            lift.X = x;
            lift.Y = y;
            lift.GlobalX = ViewX;
            path.FromX = x;
            path.FromY = y;
            path.RefViewX = ViewX;
            path.Dir = 1;
            return;
        }
    }
}

} // namespace zorbo
