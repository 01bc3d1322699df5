#include "enemies/Walker.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

// Wumpels walk, turn at walls and fall; a stomp squashes them flat.
void GameWindow::UpdateWumpels()
{
    for (size_t i = 0; i < sprWumpels.size(); ++i) {
        Sprite& e = sprWumpels[i];
        if (e.State == Enemy::Free)
            e.CurrentFrame = 0;
        else
            UpdateWalker(e, WumpelKind, WumpelAlt[i]);
    }
}

} // namespace zorbo
