#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

// Frees every enemy and object slot at a level start or restart. Brick fragments are
// left to fall out of the view on their own.
void GameWindow::KillAllEnemies()
{
    SetStates(sprTurtles, Enemy::Free);
    SetStates(sprPTurtles, Enemy::Free);
    SetStates(sprWumpels, Enemy::Free);
    SetStates(sprFTurtles, Enemy::Free);
    SetStates(sprPPlants, Enemy::Free);
    SetStates(sprGreenies, Enemy::Free);
    sprMush.State = 0;
    sprOneUp.State = 0;
    SetStates(sprElevators, 0);
    SetStates(sprCoins, 0);
    SetStates(sprQBoxes, 0);
    SetStates(sprBirds, Enemy::Free);
    SetStates(sprBlacks, Enemy::Free);
    SetStates(sprBrowns, Enemy::Free);
    SetStates(sprFireballs, Enemy::Free);
    SetStates(sprHeroFire, Enemy::Free);
    for (FireChain& chain : sprFires)
        chain.ChainActive = false;
    for (Sprite& flame : sprFlames)
        flame.Active = false;
}

} // namespace zorbo
