#include "game/Kinds.h"
#include "game/GameWindow.h"

#include <utility>

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

// One kind's slots against the striker at (x, y). Unrolled per kind and cause, so that the
// rows' numbers are constants in the loop: a fireball tests every slot of every kind.
template <KnockCause Cause, size_t K>
bool KnockOutKind(GameWindow& g, int32_t x, int32_t y, const Sprite* self)
{
    constexpr const KindRow& kind = kKinds[K];
    if constexpr (kind.hits == Hits::Nothing) {
        return false;
    } else {
        constexpr KnockOutRule rule = Cause == KnockCause::Fireball ? kind.byFireball : kind.byShell;
        constexpr Reach reach = ReachOf(Cause);
        bool hit = false;
        const std::span<Sprite> slots = kind.slots(g);
        for (size_t i = 0; i < slots.size(); ++i) {
            Sprite& e = slots[i];
            if ((Cause == KnockCause::Shell && &e == self) || !Hittable(kind.hits, e.State))
                continue;
            if (!(e.X + reach.left < x && x < e.X + reach.right && e.Y + rule.top <= y && y <= e.Y + rule.bottom))
                continue;
            g.PlaySound(kind.sound);
            g.KnockOutSlot(kind, rule, i);
            hit = true;
        }
        return hit;
    }
}

template <KnockCause Cause, size_t... K>
bool KnockOutKinds(GameWindow& g, int32_t x, int32_t y, const Sprite* self, std::index_sequence<K...>)
{
    bool hit = false;
    // The comma fold runs the kinds in row order.
    ((hit = KnockOutKind<Cause, K>(g, x, y, self) || hit), ...);
    return hit;
}

} // namespace

// Every enemy in the striker's box is knocked out, kind by kind in row order and slot by
// slot, each with its own sound; a hit does not end the test of the rest. `self` (the
// sliding shell) is never hit. Returns whether anything was hit.
bool GameWindow::KnockOut(KnockCause cause, int32_t x, int32_t y, const Sprite* self)
{
    constexpr auto kinds = std::make_index_sequence<std::size(kKinds)>();
    if (cause == KnockCause::Fireball)
        return KnockOutKinds<KnockCause::Fireball>(*this, x, y, self, kinds);
    return KnockOutKinds<KnockCause::Shell>(*this, x, y, self, kinds);
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
