// Sound effects from text recipes: square, triangle, sine and noise voices with pitch
// slides, vibrato and ADSR envelopes, mixed to 16-bit mono PCM, levelled to a set loudness
// and softly limited below full scale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Image.h"

namespace zorbo::assets {

struct Recipe {
    int rate = 22050;
    double length = 0.0;  // seconds; the file holds exactly round(length * rate) samples
    double gain = 1.0;
    // Target RMS in dBFS over the part that sounds; the mix is scaled to meet it.
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
    };
    std::vector<Voice> voices;
};

// See assets/sounds/README.md for the recipe language.
Recipe parse_recipe(const std::string& text, const std::string& name);
std::vector<std::int16_t> render(const Recipe& r);
Bytes encode_wav(const std::vector<std::int16_t>& samples, int rate);

}  // namespace zorbo::assets
