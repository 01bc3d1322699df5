#include "Music.h"
#include "Loudness.h"
#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <numbers>
#include <utility>

namespace zorbo::assets {

namespace {

constexpr double kTau = 2 * std::numbers::pi;
constexpr std::size_t kTableSize = 2048;  // one cycle of a wave, a power of two
constexpr double kVibratoOnset = 0.25;    // seconds for vibrato to reach its depth

// One cycle of an instrument's wave for notes up to top_hz, summed from its harmonics as
// far as harmonic_weight lets them through, so nothing folds back past the Nyquist limit.
// Each harmonic's sine is read from one table of a cycle at whole-number steps: exact, and
// far quicker than a sine per sample and harmonic.
std::vector<double> cycle_table(const Instrument& in, double top_hz) {
    static const std::vector<double> sine = [] {
        std::vector<double> t(kTableSize);
        for (std::size_t i = 0; i < kTableSize; ++i) t[i] = std::sin(kTau * static_cast<double>(i) / kTableSize);
        return t;
    }();
    const auto sin_at = [](std::size_t n, std::size_t k) { return sine[(n * k) & (kTableSize - 1)]; };
    const auto cos_at = [](std::size_t n, std::size_t k) { return sine[(n * k + kTableSize / 4) & (kTableSize - 1)]; };
    std::vector<double> table(kTableSize, 0.0);
    using W = Instrument::Wave;
    for (std::size_t n = 1; n < kTableSize / 2 && static_cast<double>(n) * top_hz < kTopHz + kTopFade; ++n) {
        const double w = harmonic_weight(static_cast<double>(n) * top_hz);
        const double dn = static_cast<double>(n);
        double a = 0.0, b = 0.0;  // cosine and sine parts
        switch (in.wave) {
            case W::Sine: b = n == 1 ? 1.0 : 0.0; break;
            case W::Triangle:
                if (n % 2 == 1) b = (n % 4 == 1 ? 1.0 : -1.0) * 8.0 / (std::numbers::pi * std::numbers::pi * dn * dn);
                break;
            case W::Square:  // a pulse of the given duty, without its mean
                a = 2.0 * std::sin(kTau * dn * in.duty) / (std::numbers::pi * dn);
                b = 2.0 * (1.0 - std::cos(kTau * dn * in.duty)) / (std::numbers::pi * dn);
                break;
            case W::Saw: b = (n % 2 == 1 ? 2.0 : -2.0) / (std::numbers::pi * dn); break;
            case W::Harmonics: b = n <= in.harmonics.size() ? in.harmonics[n - 1] : 0.0; break;
            case W::Noise: break;
        }
        if (a == 0.0 && b == 0.0) continue;
        for (std::size_t k = 0; k < kTableSize; ++k) table[k] += w * (a * cos_at(n, k) + b * sin_at(n, k));
    }
    return table;
}

double table_at(const std::vector<double>& table, double phase) {
    const double x = phase * kTableSize;
    const auto i = static_cast<std::size_t>(x);
    const double frac = x - static_cast<double>(i);
    return table[i & (kTableSize - 1)] * (1.0 - frac) + table[(i + 1) & (kTableSize - 1)] * frac;
}

// 32-bit xorshift: the same noise every build, and the same for every like hit (an
// instrument's note of one pitch and length), as a drum machine plays its one sample.
struct Noise {
    std::uint32_t state;
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483647.5 - 1.0;
    }
};

// The level of a note t seconds in: a smooth attack, a fall towards sustain, and from
// `off` an eased release (the square of the time left) into silence.
double envelope(const Instrument& in, double t, double off) {
    const double att = std::max(in.attack, kMinNoteAttack);
    const double rel = std::max(in.release, kMinNoteRelease);
    const auto held = [&](double u) {
        const double rise = u < att ? 0.5 - 0.5 * std::cos(std::numbers::pi * u / att) : 1.0;
        const double fall = in.decay > 0 && u > att ? in.sustain + (1.0 - in.sustain) * std::exp(-(u - att) / in.decay) : 1.0;
        return rise * fall;
    };
    if (t < off) return held(t);
    const double left = std::max(0.0, 1.0 - (t - off) / rel);
    return held(off) * left * left;
}

// Adds one note to its instrument's track, wrapping past the loop's end to its start.
void add_note(std::vector<double>& track, const Score& s, const Instrument& in, const ScoreNote& note,
              const std::vector<double>* table, std::uint32_t seed) {
    const std::size_t n = track.size();
    const double dt = 1.0 / s.rate;
    const double off = std::max((note.steps - (1.0 - in.gate)) * s.step_seconds(), 2 * kMinNoteAttack);
    const double rel = std::max(in.release, kMinNoteRelease);
    const auto start = static_cast<std::size_t>(note.first) * static_cast<std::size_t>(s.step_samples());
    const auto len = static_cast<std::size_t>(std::ceil((off + rel) * s.rate));
    Noise noise{seed | 1u};
    double from = 0.0, to = noise.next();
    double phase = 0.0;
    const double level = in.vol * note.vol;
    for (std::size_t i = 0; i < len; ++i) {
        const double t = static_cast<double>(i) * dt;
        double semis = in.slide != 0 ? in.slide * std::exp(-t / in.slidetime) : 0.0;
        if (in.vibrato > 0) semis += in.vibrato * std::min(1.0, t / kVibratoOnset) * std::sin(kTau * in.vibrate * t);
        const double f = note.hz * std::pow(2.0, semis / 12.0);
        const double wave = table ? table_at(*table, phase) : from + (to - from) * phase;
        track[(start + i) % n] += wave * envelope(in, t, off) * level;
        phase += f * dt;
        while (phase >= 1.0) {
            phase -= 1.0;
            from = to;
            to = noise.next();
        }
    }
}

// Runs `step` over the loop as often as it takes to forget where it began: each pass
// starts from the state the last one ended in, so the last pass is the steady state.
template <class Step>
void round_the_loop(std::vector<double>& track, int passes, Step step) {
    for (int p = 0; p < passes; ++p)
        for (std::size_t i = 0; i < track.size(); ++i) step(i);
}

void filter_and_echo(std::vector<double>& track, const Instrument& in, int rate) {
    if (in.lowpass > 0) {
        const std::vector<double> dry = track;
        const double a = 1.0 - std::exp(-kTau * in.lowpass / rate);
        double y = 0.0;
        round_the_loop(track, 2, [&](std::size_t i) { track[i] = y += a * (dry[i] - y); });
    }
    if (in.echo > 0 && in.feedback > 0) {
        const std::vector<double> dry = track;
        const std::size_t n = track.size();
        const auto gap = std::max<std::size_t>(1, static_cast<std::size_t>(std::lround(in.echo * rate)) % n);
        // Enough rounds for the echoes to fade below a billionth of the sound.
        const double rounds = 9.0 / -std::log10(in.feedback) * static_cast<double>(gap) / static_cast<double>(n);
        round_the_loop(track, 1 + static_cast<int>(std::ceil(rounds)),
                       [&](std::size_t i) { track[i] = dry[i] + in.feedback * track[(i + n - gap) % n]; });
    }
}

}  // namespace

std::vector<double> render_loop(const Score& s) {
    const std::size_t n = s.samples();
    std::vector<double> mix(n, 0.0);
    if (n == 0) return mix;
    for (std::size_t k = 0; k < s.instruments.size(); ++k) {
        const Instrument& in = s.instruments[k];
        std::vector<double> track(n, 0.0);
        std::map<long, std::vector<double>> tables;  // by the top pitch in hundredths of a Hz
        for (const ScoreNote& note : s.notes) {
            if (note.instrument != static_cast<int>(k)) continue;
            const std::uint32_t seed = 0x9E3779B9u * static_cast<std::uint32_t>(k + 1) +
                                       static_cast<std::uint32_t>(std::lround(note.hz * 16)) * 1664525u +
                                       static_cast<std::uint32_t>(note.steps) * 1013904223u;
            const std::vector<double>* table = nullptr;
            if (in.wave != Instrument::Wave::Noise) {
                const double top = note.hz * std::pow(2.0, (std::max(0.0, in.slide) + in.vibrato) / 12.0);
                const long key = std::lround(top * 100);
                auto it = tables.find(key);
                if (it == tables.end()) it = tables.emplace(key, cycle_table(in, top)).first;
                table = &it->second;
            }
            add_note(track, s, in, note, table, seed);
        }
        filter_and_echo(track, in, s.rate);
        for (std::size_t i = 0; i < n; ++i) mix[i] += track[i];
    }
    return mix;
}

std::vector<double> render_music(const Score& s) {
    std::vector<double> mix = render_loop(s);
    if (mix.empty()) return mix;
    // The mean is the same on both sides of the seam, so taking it out makes no step.
    double mean = 0.0;
    for (double v : mix) mean += v;
    mean /= static_cast<double>(mix.size());
    for (double& v : mix) v -= mean;
    return limited(mix, level_to(mix, s.rate, s.loudness));
}

SeamCheck check_seam(const std::vector<double>& loop) {
    SeamCheck c;
    if (loop.size() < 2) return c;
    std::vector<double> jumps(loop.size() - 1);
    for (std::size_t i = 0; i + 1 < loop.size(); ++i) jumps[i] = std::abs(loop[i + 1] - loop[i]);
    c.seam = std::abs(loop.front() - loop.back());
    c.largest = *std::max_element(jumps.begin(), jumps.end());
    const auto at = static_cast<std::ptrdiff_t>(static_cast<double>(jumps.size() - 1) * 0.999);
    std::nth_element(jumps.begin(), jumps.begin() + at, jumps.end());
    c.typical = jumps[static_cast<std::size_t>(at)];
    return c;
}

}  // namespace zorbo::assets
