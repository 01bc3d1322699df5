// Tunes rendered from scores (Score.h) as loops: 16-bit-ready mono samples whose end flows
// into their start. Each note's tail that runs past the loop's end sounds at its start, and
// each instrument's filter and echo run round the loop until they repeat exactly, so the
// loop is the steady state of the song played over and over: no step and no click where it
// starts again.
#pragma once

#include <vector>

#include "Score.h"

namespace zorbo::assets {

inline constexpr double kMinNoteAttack = 0.003;   // a faster onset clicks
inline constexpr double kMinNoteRelease = 0.015;  // a faster fall clicks

// The loop before levelling, full scale 1.0: Score::samples() samples.
std::vector<double> render_loop(const Score& s);
// The loop levelled to the score's loudness through the effects' soft limiter, its mean
// taken out: what is encoded.
std::vector<double> render_music(const Score& s);

// Seam figures of a loop: the jump from its last sample to its first, beside the largest
// and the 99.9th-percentile jump between neighbours anywhere inside it.
struct SeamCheck {
    double seam = 0.0;
    double largest = 0.0;
    double typical = 0.0;  // the 99.9th percentile
};
SeamCheck check_seam(const std::vector<double>& loop);

}  // namespace zorbo::assets
