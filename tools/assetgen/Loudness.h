// Loudness as the ear weighs it: the K-weighting pre-filter of ITU-R BS.1770 (a high shelf
// round 1.7 kHz, then a high pass round 38 Hz) at any sample rate, and the mean K-weighted
// power over the part of an effect that sounds. The generator levels effects with it and
// the tests check the levels with it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

namespace zorbo::assets {

struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double operator()(double x) {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        return y;
    }
};

// The two stages' analogue prototypes, bilinear-transformed for the given rate.
inline std::vector<double> k_weighted(const std::vector<double>& s, int rate) {
    const double shelfK = std::tan(std::numbers::pi * 1681.974450955533 / rate);
    const double shelfQ = 0.7071752369554196;
    const double vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + shelfK / shelfQ + shelfK * shelfK;
    Biquad shelf{(vh + vb * shelfK / shelfQ + shelfK * shelfK) / a0, 2.0 * (shelfK * shelfK - vh) / a0,
                 (vh - vb * shelfK / shelfQ + shelfK * shelfK) / a0, 2.0 * (shelfK * shelfK - 1.0) / a0,
                 (1.0 - shelfK / shelfQ + shelfK * shelfK) / a0};
    const double passK = std::tan(std::numbers::pi * 38.13547087602444 / rate);
    const double passQ = 0.5003270373238773;
    const double p0 = 1.0 + passK / passQ + passK * passK;
    Biquad pass{1.0, -2.0, 1.0, 2.0 * (passK * passK - 1.0) / p0, (1.0 - passK / passQ + passK * passK) / p0};
    std::vector<double> out(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) out[i] = pass(shelf(s[i]));
    return out;
}

// K-weighted level in dB (full scale 1.0, BS.1770's -0.691 offset) over the 10 ms windows
// whose plain RMS rises above -50 dBFS, so a rest or a long fade does not make an effect
// count as quieter than it sounds. Effects are far shorter than BS.1770's 400 ms blocks.
inline double sounding_k_level(const std::vector<double>& s, int rate) {
    const std::vector<double> k = k_weighted(s, rate);
    const std::size_t w = static_cast<std::size_t>(rate / 100);
    const double floor2 = std::pow(10.0, -50.0 / 10.0);
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t a = 0; a < s.size(); a += w) {
        const std::size_t b = std::min(s.size(), a + w);
        double e = 0.0, ke = 0.0;
        for (std::size_t i = a; i < b; ++i) e += s[i] * s[i], ke += k[i] * k[i];
        if (e / static_cast<double>(b - a) > floor2) sum += ke, count += b - a;
    }
    return count ? -0.691 + 10.0 * std::log10(sum / static_cast<double>(count)) : -200.0;
}

}  // namespace zorbo::assets
