#include "enemies/Kinds.h"
#include "game/GameWindow.h"

namespace zorbo {

namespace {

// How far to either side of an enemy's X the striker's x may lie: the hero's fireball is
// 8 pixels wide, a shell as wide as the enemy.
struct Reach {
    int32_t left, right;
};
constexpr Reach ReachOf(KnockCause cause) { return cause == KnockCause::Fireball ? Reach{-7, 13} : Reach{-13, 13}; }

int32_t KnockOutFrame(const KindRow& kind, const KnockOutRule& rule, const Sprite& e)
{
    switch (rule.frameRule) {
    case FrameRule::Keep:
        break;
    case FrameRule::Fixed:
        return rule.frame;
    case FrameRule::ByHeading:
        return e.SpeedX > 0 ? kind.squashed.right : kind.squashed.left;
    case FrameRule::ByFacing:
        if (e.State == Enemy::Left)
            return kind.squashed.left;
        if (e.State == Enemy::Right)
            return kind.squashed.right;
        break;
    }
    return e.CurrentFrame;
}

} // namespace

// Every enemy in the striker's box is knocked out, kind by kind in row order and slot by
// slot, each with its own sound; a hit does not end the test of the rest. `self` (the
// sliding shell) is never hit. Returns whether anything was hit.
bool GameWindow::KnockOut(KnockCause cause, int32_t x, int32_t y, const Sprite* self)
{
    const Reach reach = ReachOf(cause);
    bool hit = false;
    for (const KindRow& kind : kKinds) {
        if (kind.hits == Hits::Nothing)
            continue;
        const KnockOutRule& rule = cause == KnockCause::Fireball ? kind.byFireball : kind.byShell;
        const std::span<Sprite> slots = kind.slots(*this);
        for (size_t i = 0; i < slots.size(); ++i) {
            Sprite& e = slots[i];
            if (&e == self || !Hittable(kind.hits, e.State))
                continue;
            if (!(e.X + reach.left < x && x < e.X + reach.right && e.Y + rule.top <= y && y <= e.Y + rule.bottom))
                continue;
            PlaySound(kind.sound);
            KnockOutSlot(kind, rule, i);
            hit = true;
        }
    }
    return hit;
}

void GameWindow::KnockOutSlot(const KindRow& kind, const KnockOutRule& rule, size_t i)
{
    Sprite& e = kind.slots(*this)[i];
    e.CurrentFrame = KnockOutFrame(kind, rule, e);
    switch (kind.becomes) {
    case KnockedTo::Squashed:
        e.State = Enemy::Squashed;
        e.SpeedX = 0;
        break;
    case KnockedTo::KnockedOut:
        e.State = Enemy::KnockedOut;
        e.SpeedX = 0;
        e.SpeedY = -5;
        break;
    case KnockedTo::PTurtle:
        KnockOutFTurtle(i);
        break;
    case KnockedTo::Freed:
        e.State = Enemy::Free;
        break;
    }
    if (rule.plainLook && kind.looks != nullptr)
        kind.looks(*this)[i] = false;
}

} // namespace zorbo
