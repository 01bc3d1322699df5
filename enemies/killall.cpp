#include "game/GameWindow.h"

namespace zorbo {

namespace {
template <size_t N>
void SetState(std::array<Sprite, N>& slots, int32_t state)
{
    for (Sprite& s : slots)
        s.State = state;
}
} // namespace

// Frees every enemy and object slot at a level start or restart. Brick fragments are
// left to fall out of the view on their own.
void GameWindow::KillAllEnemies()
{
    SetState(sprTurtles, 4);
    SetState(sprPTurtles, 4);
    SetState(sprWumpels, 4);
    SetState(sprFTurtles, 4);
    SetState(sprPPlants, 4);
    SetState(sprGreenies, 4);
    sprMush.State = 0;
    sprOneUp.State = 0;
    SetState(sprElevators, 0);
    SetState(sprCoins, 0);
    SetState(sprQBoxes, 0);
    SetState(sprBirds, 4);
    SetState(sprBlacks, 4);
    SetState(sprBrowns, 4);
    SetState(sprFireballs, 4);
    SetState(sprHeroFire, 4);
    for (FireChain& chain : sprFires)
        chain.ChainActive = false;
    for (Sprite& flame : sprFlames)
        flame.Active = false;
}

} // namespace zorbo
