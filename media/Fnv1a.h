#pragma once
// FNV-1a, 64 bits: the one hash of the game's state, of files read and written, and of
// names. Its starting value is the one the committed recordings' state hashes were made
// with (it lacks a digit of the published one; kept on purpose, recordings rely on it).
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zorbo {

class Fnv1a {
public:
    static constexpr uint64_t Offset = 1469598103934665603ULL;
    static constexpr uint64_t Prime = 1099511628211ULL;

    void Bytes(const void* p, size_t n)
    {
        const auto* b = static_cast<const uint8_t*>(p);
        for (size_t i = 0; i < n; ++i) {
            h_ ^= b[i];
            h_ *= Prime;
        }
    }
    void Bytes(std::string_view s) { Bytes(s.data(), s.size()); }
    // One whole number in one step (cheaper than its bytes, for long runs of small codes).
    void Word(uint64_t v)
    {
        h_ ^= v;
        h_ *= Prime;
    }
    uint64_t Value() const { return h_; }

private:
    uint64_t h_ = Offset;
};

inline uint64_t Fnv1aOf(std::string_view bytes)
{
    Fnv1a h;
    h.Bytes(bytes);
    return h.Value();
}

} // namespace zorbo
