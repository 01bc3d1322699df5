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
    SetStates(sprElevators, 0);
    SetStates(sprCoins, 0);
    SetStates(sprQBoxes, 0);
    SetStates(sprFireballs, Ball::Free);
    SetStates(sprHeroFire, Ball::Free);
    for (FireChain& chain : sprFires)
        chain.ChainActive = false;
    for (Sprite& flame : sprFlames)
        flame.Active = false;
}

} // namespace zorbo
