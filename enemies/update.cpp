#include "game/GameWindow.h"

namespace zorbo {

// Every enemy kind once per frame. The call order is also the painting order; the hero's
// fireballs come last so that they are drawn over every enemy they hit. A written list, not
// a loop over the kinds' rows: the hazards that are no kind (chains, the Browns' fireballs,
// flames) have their place in it too.
void GameWindow::UpdateEnemies()
{
    UpdateTurtles();
    UpdateFTurtles();
    UpdatePTurtles();
    UpdateWumpels();
    UpdateGreenies();
    UpdateBird();
    UpdateBlack();
    UpdateBrown();
    UpdatePPlants();
    UpdateFire();
    UpdateFireball();
    UpdateFlame();
    ZorboFireBall();
}

} // namespace zorbo
