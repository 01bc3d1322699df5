#include "game/Kinds.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

// Frees every enemy and object slot at a level start or restart. Brick fragments are
// left to fall out of the view on their own.
void GameWindow::KillAllEnemies()
{
    for (const KindRow& kind : kKinds)
        SetStates(kind.slots(*this), Enemy::Free);
    sprMush.State = 0;
    sprOneUp.State = 0;
    SetStates(sprElevators, Elevator::Free);
    SetStates(sprCoins, Coin::Free);
    SetStates(sprQBoxes, QBox::Empty);
    SetStates(sprFireballs, Ball::Free);
    SetStates(sprHeroFire, Ball::Free);
    for (FireChain& chain : sprFires)
        chain.ChainActive = false;
    for (Sprite& flame : sprFlames)
        flame.Active = false;
}

} // namespace zorbo
