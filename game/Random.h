#pragma once
#include <cstdint>

namespace zorbo {

// The game's own random generator (PCG32), so that a seed replays exactly on every
// machine and standard library.
class Random {
public:
    void Seed(uint64_t seed)
    {
        state_ = 0;
        Next();
        state_ += seed;
        Next();
    }
    uint32_t Next()
    {
        const uint64_t old = state_;
        state_ = old * 6364136223846793005ULL + kIncrement;
        const auto xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
        const auto rot = static_cast<uint32_t>(old >> 59u);
        return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
    }
    // A uniform number in [0, 1).
    double Rnd() { return Next() / 4294967296.0; }
    uint64_t State() const { return state_; }

private:
    static constexpr uint64_t kIncrement = 1442695040888963407ULL;
    uint64_t state_ = 0x853c49e6748fea9bULL;
};

} // namespace zorbo
