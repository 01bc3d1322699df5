// Sound effects from text recipes: square, triangle, sine and noise voices with pitch
// slides, legato note runs, vibrato and ADSR envelopes, mixed to 16-bit mono PCM, levelled
// to a set K-weighted loudness and softly limited below full scale. Tonal waves are summed
// from their harmonics below kTopHz, so nothing folds back past the Nyquist limit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Image.h"

namespace zorbo::assets {

struct Recipe {
    int rate = 22050;
    double length = 0.0;  // seconds; the file holds exactly round(length * rate) samples
    double gain = 1.0;
    // Target K-weighted level in dB over the part that sounds; the mix is scaled to meet it.
    std::optional<double> loudness;
    std::string title;
    struct Voice {
        enum class Wave { Square, Triangle, Sine, Noise } wave = Wave::Square;
        double at = 0, dur = 0;
        double f0 = 440, f1 = 440;
        bool exp_slide = true;
        double vol = 0.5;
        double attack = 0.005, decay = 0.0, sustain = 1.0, release = 0.02;
        double duty = 0.5;
        double vib_depth = 0.0, vib_rate = 0.0;  // depth in semitones
        // A melody's run of notes without a rest: (start within the voice, Hz) each. The
        // pitch moves from one to the next in kGlide with the phase running on, under one
        // envelope, so a note change makes no step in the wave.
        std::vector<std::pair<double, double>> steps;
    };
    std::vector<Voice> voices;
};

inline constexpr double kTopHz = 9000.0;    // harmonics fade out from here ...
inline constexpr double kTopFade = 1500.0;  // ... over this many Hz
inline constexpr double kGlide = 0.004;     // seconds from one legato note to the next
inline constexpr double kCeiling = 0.85;    // about -1.4 dBFS, so peaks stay clear of -1 dBFS

// Weight of a harmonic at hz: all below kTopHz, none above kTopHz + kTopFade.
double harmonic_weight(double hz);
// The mix times scale through the soft limiter every sound goes through: untouched up to
// 0.6 of full scale, then bending smoothly towards kCeiling.
std::vector<double> limited(const std::vector<double>& mix, double scale);
// The scale that brings the limited mix to the target K-weighted level (Loudness.h).
double level_to(const std::vector<double>& mix, int rate, double target_db);

// See assets/sounds/README.md for the recipe language.
Recipe parse_recipe(const std::string& text, const std::string& name);
std::vector<std::int16_t> render(const Recipe& r);
Bytes encode_wav(const std::vector<std::int16_t>& samples, int rate);

}  // namespace zorbo::assets
