#include "record/StateHash.h"

#include "game/GameState.h"
#include "media/Fnv1a.h"
#include "record/StateFields.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <type_traits>

namespace zorbo {

namespace {

struct Hasher {
    Fnv1a fnv;
    void Bytes(const void* p, size_t n) { fnv.Bytes(p, n); }
    // Every number as 8 bytes (floating ones as their own bytes), records field by field.
    void Value(int64_t v) { Bytes(&v, sizeof v); }
    void Value(float v) { Bytes(&v, sizeof v); }
    void Value(double v) { Bytes(&v, sizeof v); }
    void Value(const FrameNumber& f) { Value(int64_t{f}); }
    void Value(const Random& r) { Value(static_cast<int64_t>(r.State())); }
    void Value(const TileMap& map)
    {
        for (int32_t level = 0; level < TileMap::Levels; ++level)
            for (int32_t row = 0; row < TileMap::Rows; ++row)
                for (int32_t col = 0; col < TileMap::Columns; ++col)
                    Value(int64_t{map.At(level, row, col)});
    }
    template <class T>
        requires std::is_integral_v<T>
    void Value(T v)
    {
        Value(static_cast<int64_t>(v));
    }
    template <class T, size_t N>
    void Value(const std::array<T, N>& items)
    {
        for (const T& item : items)
            Field(item);
    }
    template <class T>
        requires requires(const T& r, Hasher& h) { VisitFields(r, h); }
    void Value(const T& record)
    {
        VisitFields(record, *this);
    }

    template <class T>
    void Field(const T& v)
    {
        Value(v);
    }
    template <class T>
    void Skip(const T&)
    {
    }
};

} // namespace

uint64_t HashBytes(std::string_view bytes)
{
    return Fnv1aOf(bytes);
}

// Every field of the game state is in the hash (record/StateFields.h), or replays could pass
// while the game went its own way.
uint64_t StateHash(const GameState& g)
{
    Hasher h;
    VisitFields(g, h);
    return h.fnv.Value();
}

Recording::Checkpoint CheckpointOf(const GameState& state, int64_t poll)
{
    return Recording::Checkpoint{poll, state.gLevel, state.gGameWon, StateHash(state)};
}

std::string Summary(const GameState& g)
{
    char buf[256];
    std::snprintf(buf, sizeof buf, "level %d lives %d coins %d hero %s state %d won %s hash %s",
                  std::min(g.gLevel, 9) + 1, g.Lives, g.Coins, g.HeroBig ? "big" : "small", g.sprPlayer.State,
                  g.gGameWon ? "yes" : "no", HashText(StateHash(g)).c_str());
    return buf;
}

} // namespace zorbo
