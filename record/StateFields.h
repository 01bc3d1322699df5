#pragma once
// Every field of the game state, listed once. The state hash walks these lists, and
// StateListGap checks that a list covers its whole record, so a field added to the state
// cannot be left out of the hash without a test failing.
#include "game/GameState.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

namespace zorbo {

// A visitor has Field(x) for game state (hashed, in this order) and Skip(x) for a member
// that is not game state (settings that never change in play, paths, pictures).
template <class V>
void VisitFields(const TimerRecord& t, V& v)
{
    v.Field(t.StartTick), v.Field(t.Elapsed), v.Field(t.NextTick), v.Field(t.LastKeyTick), v.Field(t.LastKey);
    v.Field(t.GameOverBlink), v.Field(t.WonBlink), v.Field(t.WonPhase), v.Field(t.ParadeCount);
    v.Field(t.SpiralCX), v.Field(t.SpiralAngle), v.Field(t.SpiralRadius);
    v.Field(t.QBoxTick), v.Field(t.QBoxFrame), v.Field(t.CoinTick), v.Field(t.CoinFrame), v.Field(t.FlameTick);
}

template <class V>
void VisitFields(const FireChain& c, V& v)
{
    v.Field(c.Balls), v.Field(c.CenterX), v.Field(c.CenterY), v.Field(c.LastViewX), v.Field(c.Angle);
    v.Field(c.ChainActive);
}

template <class V>
void VisitFields(const ElevatorPath& p, V& v)
{
    v.Field(p.FromX), v.Field(p.FromY), v.Field(p.ToX), v.Field(p.ToY), v.Field(p.RefViewX), v.Field(p.Dir);
}

template <class V>
void VisitFields(const WarpRecord& w, V& v)
{
    v.Field(w.X1), v.Field(w.Y1), v.Field(w.X2), v.Field(w.Y2), v.Field(w.WarpState);
}

template <class V>
void VisitFields(const Sprite& s, V& v)
{
    s.VisitFields(v);
}

template <class V>
void VisitFields(const GameState& g, V& v)
{
    v.Skip(g.gFullScreen), v.Skip(g.gWindow640), v.Skip(g.gLevelSet), v.Skip(g.gSoundOn), v.Skip(g.DataPath);
    v.Skip(g.FrameDelay), v.Skip(g.ddsBack), v.Skip(g.gStartColumn), v.Skip(g.gStartLevel);
    v.Skip(g.gLoopLevel), v.Skip(g.LevelSetFolder);

    v.Field(g.gLevel), v.Field(g.gDifficulty), v.Field(g.gGameOver), v.Field(g.gGameWon), v.Field(g.bRunning);
    v.Field(g.bKeyDown), v.Field(g.bDownKey), v.Field(g.FireDelay), v.Field(g.JumpCount), v.Field(g.Lives);
    v.Field(g.Coins), v.Field(g.HeroBig), v.Field(g.HurtTimer), v.Field(g.StartX), v.Field(g.StartY);
    v.Field(g.StartViewX), v.Field(g.ViewX), v.Field(g.PlantDelay), v.Field(g.Timers), v.Field(g.rng);
    v.Field(g.Map), v.Field(g.Warps);

    v.Field(g.sprPlayer), v.Field(g.sprTurtles), v.Field(g.sprPTurtles), v.Field(g.sprWumpels);
    v.Field(g.sprFTurtles), v.Field(g.sprPPlants), v.Field(g.sprGreenies), v.Field(g.sprMush);
    v.Field(g.sprMushAlt), v.Field(g.sprOneUp), v.Field(g.sprQBoxes), v.Field(g.sprCoins), v.Field(g.sprBricks);
    v.Field(g.sprFires), v.Field(g.sprBirds), v.Field(g.sprBlacks), v.Field(g.sprBrowns), v.Field(g.sprFireballs);
    v.Field(g.sprHeroFire), v.Field(g.sprElevators), v.Field(g.sprFlames), v.Field(g.sprWarp);

    v.Field(g.WumpelAlt), v.Field(g.PTurtleAlt), v.Field(g.FTurtleAlt), v.Field(g.PlantTimer);
    v.Field(g.FlameFrame), v.Field(g.FireTick);
    v.Field(g.HeroCol), v.Field(g.HeroXMod), v.Field(g.HeroRow), v.Field(g.HeroYMod), v.Field(g.MushAlt);
    v.Field(g.ElevatorPaths), v.Field(g.KickDelay);
}

// Where a record's list leaves bytes uncovered that alignment does not explain (a field
// that is not listed), as a message; empty when the list covers the record. Built from
// the compiler's own sizes and alignments, so it holds for any compiler. A field small
// enough to hide in existing padding is not seen: list new fields as they are added.
namespace detail {
struct FieldSpan {
    size_t offset, size, align;
};
// Collects where each listed member lies in its record.
struct SpanCollector {
    const char* base;
    std::vector<FieldSpan> spans;
    template <class F>
    void Field(const F& f)
    {
        spans.push_back({static_cast<size_t>(reinterpret_cast<const char*>(&f) - base), sizeof f, alignof(F)});
    }
    template <class F>
    void Skip(const F& f)
    {
        Field(f);
    }
};
} // namespace detail

template <class T>
std::string StateListGap(const T& record)
{
    detail::SpanCollector c{reinterpret_cast<const char*>(&record), {}};
    VisitFields(record, c);
    std::sort(c.spans.begin(), c.spans.end(),
              [](const detail::FieldSpan& a, const detail::FieldSpan& b) { return a.offset < b.offset; });
    auto alignUp = [](size_t n, size_t a) { return (n + a - 1) / a * a; };
    size_t end = 0;
    for (const detail::FieldSpan& s : c.spans) {
        if (s.offset < end)
            return "the field at offset " + std::to_string(s.offset) + " is listed twice";
        if (s.offset != alignUp(end, s.align))
            return std::to_string(s.offset - end) + " bytes at offset " + std::to_string(end) + " are not listed";
        end = s.offset + s.size;
    }
    if (alignUp(end, alignof(T)) != sizeof(T))
        return std::to_string(sizeof(T) - end) + " bytes at the end (offset " + std::to_string(end) +
               ") are not listed";
    return {};
}

} // namespace zorbo
