#include "enemies/Walker.h"
#include "game/GameWindow.h"

namespace zorbo {

// Greenies are the Wumpel machine at twice the speed, with a five-picture walk each way.
void GameWindow::UpdateGreenies()
{
    for (Sprite& e : sprGreenies)
        UpdateWalker(e, GreenieKind, false);
}

} // namespace zorbo
