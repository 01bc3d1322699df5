// The generated sound effects as a player hears them: one level to the ear, no offset, no
// clipping, nothing folded back from past the Nyquist limit, no click where a note changes,
// and endings that fade out rather than stop.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "assetgen/Generate.h"
#include "assetgen/Loudness.h"
#include "assetgen/Synth.h"
#include "game/Sounds.h"

namespace {

using namespace zorbo::assets;

const std::string kData = ZORBO_TEST_DATA_DIR;
const std::string kSources = ZORBO_ASSETS_SOURCE_DIR;

std::string m_file(int n, const char* ext) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "m%03d.%s", n, ext);
    return buf;
}

// One effect decoded the way the game loads it, full scale 1.0.
struct Heard {
    std::string name;
    int number = 0;
    int rate = 0;
    std::vector<double> s;
};

std::vector<Heard> heard_effects(const Generated& g) {
    std::vector<Heard> all;
    for (const auto& file : g.files) {
        if (!file.name.ends_with(".wav")) continue;
        SDL_AudioSpec format;
        Uint8* buf = nullptr;
        Uint32 len = 0;
        SDL_RWops* rw = SDL_RWFromConstMem(file.data.data(), static_cast<int>(file.data.size()));
        if (!SDL_LoadWAV_RW(rw, 1, &format, &buf, &len)) {
            ADD_FAILURE() << file.name << SDL_GetError();
            continue;
        }
        Heard h{file.name, std::stoi(file.name.substr(1, 3)), format.freq, std::vector<double>(len / 2)};
        for (std::size_t i = 0; i < h.s.size(); ++i) {
            std::int16_t v;
            std::memcpy(&v, buf + 2 * i, 2);
            h.s[i] = v / 32768.0;
        }
        SDL_FreeWAV(buf);
        all.push_back(std::move(h));
    }
    return all;
}

double db(double power) { return 10 * std::log10(power); }

// Mean power of s[a, b).
double power(const std::vector<double>& s, std::size_t a, std::size_t b) {
    double e = 0;
    for (std::size_t i = a; i < b; ++i) e += s[i] * s[i];
    return b > a ? e / double(b - a) : 0.0;
}

// Longest run of equal samples at half the peak or more: the flat top a hard clip leaves.
std::size_t longest_flat_top(const std::vector<double>& s) {
    double peak = 0;
    for (double v : s) peak = std::max(peak, std::abs(v));
    std::size_t longest = 1, run = 1;
    for (std::size_t i = 1; i < s.size(); ++i) {
        run = (s[i] == s[i - 1] && std::abs(s[i]) >= peak / 2) ? run + 1 : 1;
        longest = std::max(longest, run);
    }
    return longest;
}

// Share of the energy above hz, from Hann-windowed DFT frames of 512 samples, half overlapped.
double share_above(const std::vector<double>& s, int rate, double hz) {
    constexpr std::size_t kN = 512;
    std::vector<double> re_of(kN), im_of(kN), window(kN), x(kN);
    for (std::size_t i = 0; i < kN; ++i) {
        re_of[i] = std::cos(2 * std::numbers::pi * double(i) / kN);
        im_of[i] = std::sin(2 * std::numbers::pi * double(i) / kN);
        window[i] = 0.5 - 0.5 * re_of[i];
    }
    const std::size_t first_high = static_cast<std::size_t>(std::ceil(hz * kN / rate));
    double high = 0, total = 0;
    for (std::size_t a = 0; a < s.size(); a += kN / 2) {
        for (std::size_t i = 0; i < kN; ++i) x[i] = a + i < s.size() ? s[a + i] * window[i] : 0.0;
        for (std::size_t k = 1; k <= kN / 2; ++k) {
            double re = 0, im = 0;
            for (std::size_t i = 0, p = 0; i < kN; ++i, p = (p + k) % kN) re += x[i] * re_of[p], im += x[i] * im_of[p];
            total += re * re + im * im;
            if (k >= first_high) high += re * re + im * im;
        }
    }
    return total > 0 ? high / total : 0.0;
}

TEST(AssetSounds, EveryWaveParsesAndHasItsPlannedLength) {
    const Generated g = generate(kSources);
    for (int n = 1; n <= zorbo::Sound::Count; ++n) {
        const std::string name = m_file(n, "wav");
        SDL_AudioSpec format;
        Uint8* buf = nullptr;
        Uint32 len = 0;
        ASSERT_NE(SDL_LoadWAV((kData + "/" + name).c_str(), &format, &buf, &len), nullptr) << name << SDL_GetError();
        EXPECT_EQ(format.channels, 1) << name;
        EXPECT_EQ(format.format, AUDIO_S16LSB) << name;
        EXPECT_TRUE(format.freq == 22050 || format.freq == 44100) << name;
        const Recipe& r = g.sounds.at(n);
        EXPECT_EQ(format.freq, r.rate) << name;
        EXPECT_EQ(len, static_cast<Uint32>(std::lround(r.length * r.rate) * 2)) << name;
        // Audible, and the limiter keeps it from clipping.
        int peak = 0;
        for (Uint32 i = 0; i + 1 < len; i += 2) {
            std::int16_t s;
            std::memcpy(&s, buf + i, 2);
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        EXPECT_GT(peak, 8000) << name;
        EXPECT_LE(peak, 30000) << name;
        SDL_FreeWAV(buf);
    }
    // The game stands still while 7 and 12 play; the others are heard in play.
    const auto seconds = [&](int n) { return g.sounds.at(n).length; };
    for (int n : {1, 2, 3, 4, 5, 6, 13, 14, 15, 16}) {
        EXPECT_GE(seconds(n), 0.1) << n;
        EXPECT_LE(seconds(n), 0.6) << n;
    }
    EXPECT_NEAR(seconds(8), 1.5, 0.25);
    EXPECT_NEAR(seconds(7), 3.0, 0.4);
    EXPECT_NEAR(seconds(12), 2.5, 0.4);
}

TEST(AssetSounds, EffectsShareOneLoudnessWithNoOffsetNoClippingAndFadingEnds) {
    const double quiet = std::pow(10.0, -50.0 / 20.0);
    const std::vector<Heard> effects = heard_effects(generate(kSources));
    ASSERT_EQ(effects.size(), static_cast<size_t>(zorbo::Sound::Count));
    double loudest = -1e9, quietest = 1e9, loudest_k = -1e9, quietest_k = 1e9;
    double coin_k = 0, quietest_other_k = 1e9;
    for (const Heard& h : effects) {
        const auto& s = h.s;
        ASSERT_FALSE(s.empty()) << h.name;
        // RMS over the 10 ms windows that sound, so rests and fades do not count as quiet.
        const std::size_t w = static_cast<std::size_t>(h.rate / 100);
        double sounding = 0, sum = 0, peak = 0;
        std::size_t counted = 0, last_heard = 0;
        for (std::size_t a = 0; a < s.size(); a += w) {
            const std::size_t b = std::min(s.size(), a + w);
            if (std::sqrt(power(s, a, b)) > quiet) sounding += power(s, a, b) * double(b - a), counted += b - a;
        }
        for (std::size_t i = 0; i < s.size(); ++i) {
            sum += s[i];
            peak = std::max(peak, std::abs(s[i]));
            if (std::abs(s[i]) >= quiet) last_heard = i + 1;
        }
        ASSERT_GT(counted, 0u) << h.name;
        const double rms_db = db(sounding / double(counted)), k_db = sounding_k_level(s, h.rate);
        loudest = std::max(loudest, rms_db), quietest = std::min(quietest, rms_db);
        loudest_k = std::max(loudest_k, k_db), quietest_k = std::min(quietest_k, k_db);
        if (h.number == zorbo::Sound::Coin)
            coin_k = k_db;
        else
            quietest_other_k = std::min(quietest_other_k, k_db);
        EXPECT_LT(20 * std::log10(peak), -1.0) << h.name;
        EXPECT_LT(std::abs(sum / double(s.size())), 0.005) << h.name << " is off centre";
        EXPECT_LT(longest_flat_top(s), 5u) << h.name << " is clipped flat";
        EXPECT_LE(double(s.size() - last_heard) / h.rate, 0.020) << h.name << " ends in silence";
        // A release fades the last sound well down before the end, rather than cutting it off.
        const std::size_t end_from = last_heard > w ? last_heard - w : 0;
        EXPECT_LE(db(power(s, end_from, last_heard)), rms_db - 18.0) << h.name << " stops abruptly";
    }
    EXPECT_LE(loudest_k - quietest_k, 1.5) << "K-weighted: loudest " << loudest_k << " dB, quietest " << quietest_k;
    // The coin is heard more often than anything else and sits where the ear is keenest, so
    // to the ear it is the softest effect, not the loudest.
    EXPECT_LE(coin_k, quietest_other_k - 0.5) << "coin " << coin_k << " dB, next softest " << quietest_other_k;
    // Effects are levelled to the ear, so plain RMS parts by how much of each sits in the
    // 2-4 kHz the ear (and K-weighting, by up to 4 dB) favours; the coin is lowest of all.
    EXPECT_LE(loudest - quietest, 5.5) << "loudest " << loudest << " dBFS, quietest " << quietest << " dBFS";
}

TEST(AssetSounds, TonalEffectsFoldNothingBackFromAboveTheNyquistLimit) {
    // Harmonics stop short of 10.5 kHz, so a tone has next to nothing above 10 kHz; what a
    // naive pulse folds back lands there as well as lower down.
    const Generated g = generate(kSources);
    int tonal = 0;
    for (const Heard& h : heard_effects(g)) {
        const auto& voices = g.sounds.at(h.number).voices;
        if (std::any_of(voices.begin(), voices.end(),
                        [](const Recipe::Voice& v) { return v.wave == Recipe::Voice::Wave::Noise; }))
            continue;
        ++tonal;
        EXPECT_LT(share_above(h.s, h.rate, 10000.0), 1e-4) << h.name;
    }
    EXPECT_GE(tonal, 8);
}

TEST(AssetSounds, NoteChangesMakeNoStepAndNoGap) {
    // A sine and a triangle run of notes at a level the limiter leaves alone: the wave's
    // steepest slope bounds every sample-to-sample change, and the level carries on
    // through each change instead of stopping and starting again.
    const double step = 0.05, vol = 0.5;
    const std::vector<double> hz = {523.25, 783.99, 659.26, 1046.5, 880.0, 1174.66, 783.99, 523.25};
    const std::string notes = " notes C5 G5 E5 C6 A5 D6 G5 C5\n";
    const double top = *std::max_element(hz.begin(), hz.end());
    struct Case {
        const char* wave;
        double slope;  // steepest rise per cycle, in amplitudes
    };
    for (const Case c : {Case{"sine", 2 * std::numbers::pi}, Case{"triangle", 4.0}}) {
        const Recipe r = parse_recipe("length 0.4\ngain 1\nmelody " + std::string(c.wave) +
                                          " step 0.05 vol 0.5 attack 0.005 release 0.02" + notes,
                                      c.wave);
        const std::vector<std::int16_t> pcm = render(r);
        std::vector<double> s(pcm.begin(), pcm.end());
        for (double& v : s) v /= 32767.0;
        const double steepest = 1.15 * vol * c.slope * top / r.rate;
        const std::size_t near = static_cast<std::size_t>(0.002 * r.rate);
        for (std::size_t k = 1; k < hz.size(); ++k) {
            const std::size_t at = static_cast<std::size_t>(std::lround(k * step * r.rate));
            double jump = 0;
            for (std::size_t i = at - near; i < at + near; ++i) jump = std::max(jump, std::abs(s[i + 1] - s[i]));
            EXPECT_LE(jump, steepest) << c.wave << " note " << k;
            const double held = power(s, at + 2 * near, at + 6 * near);
            EXPECT_GE(db(power(s, at - near, at + near)), db(held) - 6.0) << c.wave << " note " << k << " gaps";
        }
    }
}

}  // namespace
