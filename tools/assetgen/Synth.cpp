#include "Synth.h"
#include "Loudness.h"
#include "Text.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <sstream>

namespace zorbo::assets {

namespace {

// Note names like C5, F#4, Bb3 to Hz (A4 = 440).
double note_hz(const std::string& n, const std::string& where) {
    static const std::map<char, int> base = {{'C', -9}, {'D', -7}, {'E', -5}, {'F', -4},
                                             {'G', -2}, {'A', 0},  {'B', 2}};
    if (n.size() < 2 || !base.count(n[0])) fail(where, "bad note " + n);
    int semis = base.at(n[0]);
    std::size_t p = 1;
    if (n[p] == '#') ++semis, ++p;
    else if (n[p] == 'b') --semis, ++p;
    if (p + 1 != n.size() || n[p] < '0' || n[p] > '8') fail(where, "bad note " + n);
    semis += (n[p] - '4') * 12;
    return 440.0 * std::pow(2.0, semis / 12.0);
}

double freq_word(const std::string& s, const std::string& where) {
    const double hz = (s[0] >= 'A' && s[0] <= 'G') ? note_hz(s, where) : to_number<double>(s, where);
    if (hz <= 0) fail(where, "a pitch is above 0 Hz");
    return hz;
}

Recipe::Voice::Wave wave_of(const std::string& s, const std::string& where) {
    using W = Recipe::Voice::Wave;
    if (s == "square") return W::Square;
    if (s == "triangle") return W::Triangle;
    if (s == "sine") return W::Sine;
    if (s == "noise") return W::Noise;
    fail(where, "unknown wave " + s);
}

// Reads "key value" settings shared by voice and melody lines.
void read_settings(Recipe::Voice& v, const std::vector<std::string>& t, std::size_t k, const std::string& where,
                   double* step, std::vector<std::string>* notes) {
    while (k < t.size()) {
        const std::string& key = t[k];
        if (key == "notes") {
            if (!notes) fail(where, "notes only in melody lines");
            notes->assign(t.begin() + static_cast<std::ptrdiff_t>(k + 1), t.end());
            return;
        }
        if (k + 1 >= t.size()) fail(where, key + " needs a value");
        const std::string& val = t[k + 1];
        k += 2;
        if (key == "at") v.at = to_number<double>(val, where);
        else if (key == "for") v.dur = to_number<double>(val, where);
        else if (key == "freq") v.f0 = v.f1 = freq_word(val, where);
        else if (key == "to") v.f1 = freq_word(val, where);
        else if (key == "slide") {
            if (val != "exp" && val != "lin") fail(where, "slide is exp or lin");
            v.exp_slide = val == "exp";
        } else if (key == "vol") v.vol = to_number<double>(val, where);
        else if (key == "attack") v.attack = to_number<double>(val, where);
        else if (key == "decay") v.decay = to_number<double>(val, where);
        else if (key == "sustain") v.sustain = to_number<double>(val, where);
        else if (key == "release") v.release = to_number<double>(val, where);
        else if (key == "duty") v.duty = to_number<double>(val, where);
        else if (key == "vibrato") v.vib_depth = to_number<double>(val, where);
        else if (key == "vibrate") v.vib_rate = to_number<double>(val, where);
        else if (key == "step" && step) *step = to_number<double>(val, where);
        else fail(where, "unknown setting " + key);
    }
}

}  // namespace

Recipe parse_recipe(const std::string& text, const std::string& name) {
    Recipe r;
    std::istringstream in(text);
    std::string line;
    for (int no = 1; std::getline(in, line); ++no) {
        const std::string where = name + ":" + std::to_string(no);
        std::istringstream ls(line);
        std::vector<std::string> t;
        for (std::string w; ls >> w;) t.push_back(w);
        if (t.empty() || t[0][0] == '#') continue;
        if (t[0] == "title") {
            r.title = line.substr(line.find("title") + 6);
        } else if (t[0] == "rate" && t.size() == 2) {
            r.rate = static_cast<int>(to_number<double>(t[1], where));
            if (r.rate != 22050 && r.rate != 44100) fail(where, "rate is 22050 or 44100");
        } else if (t[0] == "length" && t.size() == 2) {
            r.length = to_number<double>(t[1], where);
        } else if (t[0] == "gain" && t.size() == 2) {
            r.gain = to_number<double>(t[1], where);
        } else if (t[0] == "loudness" && t.size() == 2) {
            r.loudness = to_number<double>(t[1], where);
            if (*r.loudness >= 0 || *r.loudness < -40) fail(where, "loudness is a K-weighted level in dB, -40 to 0");
        } else if (t[0] == "voice" && t.size() >= 2) {
            Recipe::Voice v;
            v.wave = wave_of(t[1], where);
            read_settings(v, t, 2, where, nullptr, nullptr);
            if (v.dur <= 0) fail(where, "voice needs 'for' > 0");
            r.voices.push_back(v);
        } else if (t[0] == "melody" && t.size() >= 2) {
            // A run of notes, each lasting step (times n for "C5*n"); "-" is a rest. Notes
            // between rests are one legato voice; its last note ends 92% into its step.
            Recipe::Voice v;
            v.wave = wave_of(t[1], where);
            double step = 0.1;
            std::vector<std::string> notes;
            read_settings(v, t, 2, where, &step, &notes);
            if (notes.empty()) fail(where, "melody needs notes");
            double at = v.at, run_end = v.at;
            Recipe::Voice run = v;
            const auto close_run = [&] {
                if (run.steps.empty()) return;
                run.dur = run_end - run.at;
                run.f0 = run.f1 = run.steps.front().second;
                r.voices.push_back(run);
                run.steps.clear();
            };
            for (const std::string& n : notes) {
                const auto star = n.find('*');
                const double beats = star == std::string::npos ? 1.0 : to_number<double>(n.substr(star + 1), where);
                const std::string pitch = n.substr(0, star);
                if (pitch == "-") {
                    close_run();
                } else {
                    if (run.steps.empty()) run.at = at;
                    run.steps.emplace_back(at - run.at, note_hz(pitch, where));
                    run_end = at + step * beats * 0.92;
                }
                at += step * beats;
            }
            close_run();
        } else {
            fail(where, "unknown line: " + line);
        }
    }
    if (r.length <= 0) fail(name, "length missing");
    for (const auto& v : r.voices)
        if (v.at + v.dur > r.length + 1e-9) fail(name, "a voice runs past the length");
    return r;
}

namespace {

constexpr double kKnee = 0.6;      // below this the limiter leaves the wave untouched
constexpr double kFullScale = 32767.0;

// Linear up to the knee, then bends smoothly (same slope at the knee) towards the ceiling,
// so stacked voices never clip and quiet ones keep their shape.
double soft_limit(double x) {
    const double a = std::abs(x);
    if (a <= kKnee) return x;
    const double room = kCeiling - kKnee;
    return std::copysign(kKnee + room * std::tanh((a - kKnee) / room), x);
}

}  // namespace

double harmonic_weight(double hz) {
    if (hz <= kTopHz) return 1.0;
    if (hz >= kTopHz + kTopFade) return 0.0;
    return 0.5 + 0.5 * std::cos(std::numbers::pi * (hz - kTopHz) / kTopFade);
}

std::vector<double> limited(const std::vector<double>& mix, double scale) {
    std::vector<double> y(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) y[i] = soft_limit(mix[i] * scale);
    return y;
}

// A fixed number of halvings of a range of gains (in dB), so every build lands on the same
// value.
double level_to(const std::vector<double>& mix, int rate, double target_db) {
    double lo = -60.0, hi = 60.0;
    for (int i = 0; i < 50; ++i) {
        const double mid = 0.5 * (lo + hi);
        (sounding_k_level(limited(mix, std::pow(10.0, mid / 20.0)), rate) < target_db ? lo : hi) = mid;
    }
    return std::pow(10.0, 0.5 * (lo + hi) / 20.0);
}

namespace {

constexpr double kMinAttack = 0.003;   // a faster onset clicks
constexpr double kMinRelease = 0.015;  // a faster fall clicks
constexpr double kDipHalf = 0.006;     // a legato note's dip lasts twice this ...
constexpr double kDipDepth = 0.3;      // ... and takes this share of the level at its lowest

// A pulse of the given duty (centred, so without its mean) or a triangle, summed from
// its harmonics up to where harmonic_weight lets them through.
double band_limited(Recipe::Voice::Wave wave, double phase, double f, double duty) {
    const double tau = 2 * std::numbers::pi;
    double s = 0.0;
    for (int n = 1; n * f < kTopHz + kTopFade; ++n) {
        const double w = harmonic_weight(n * f);
        if (wave == Recipe::Voice::Wave::Square)
            s += w * 4.0 / (n * std::numbers::pi) * std::sin(n * std::numbers::pi * duty) *
                 std::cos(tau * n * (phase - duty / 2));
        else if (n % 2 == 1)
            s += w * 8.0 / (std::numbers::pi * std::numbers::pi * n * n) * std::cos(tau * n * phase);
    }
    return s;
}

// The pitch at t seconds into a voice: its slide, or its legato steps with a short glide.
double pitch_at(const Recipe::Voice& v, double t) {
    if (v.steps.empty()) {
        const double u = t / v.dur;
        return v.exp_slide ? v.f0 * std::pow(v.f1 / v.f0, u) : v.f0 + (v.f1 - v.f0) * u;
    }
    std::size_t k = 0;
    while (k + 1 < v.steps.size() && v.steps[k + 1].first <= t) ++k;
    if (k == 0 || t - v.steps[k].first >= kGlide) return v.steps[k].second;
    const double from = v.steps[k - 1].second, to = v.steps[k].second;
    return from * std::pow(to / from, (t - v.steps[k].first) / kGlide);
}

// Each note of a legato run is marked by a short, smooth dip in level round its start, so
// repeated notes stay apart without the gap that used to click.
double note_dip(const Recipe::Voice& v, double t) {
    double keep = 1.0;
    for (std::size_t k = 1; k < v.steps.size(); ++k) {
        const double d = (t - v.steps[k].first) / kDipHalf;
        if (std::abs(d) < 1.0) keep = std::min(keep, 1.0 - kDipDepth * (0.5 + 0.5 * std::cos(std::numbers::pi * d)));
    }
    return keep;
}

// Attack, decay to sustain, and a release that eases out (square of the time left), so
// the tail sinks into silence instead of stopping.
double envelope_at(const Recipe::Voice& v, double t) {
    const double rel = std::min(std::max(v.release, kMinRelease), v.dur / 2);
    const double att = std::min(std::max(v.attack, kMinAttack), v.dur - rel);
    double env;
    if (t < att) env = 0.5 - 0.5 * std::cos(std::numbers::pi * t / att);
    else if (t < att + v.decay) env = 1.0 - (1.0 - v.sustain) * (t - att) / v.decay;
    else env = v.sustain;
    if (t > v.dur - rel) {
        const double left = std::max(0.0, (v.dur - t) / rel);
        env *= left * left;
    }
    return env * note_dip(v, t);
}

// 32-bit xorshift, fixed seed: the same noise every build; levels spread over -1..1.
struct Noise {
    std::uint32_t state = 0x5A5Au;
    double next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483647.5 - 1.0;
    }
};

}  // namespace

std::vector<std::int16_t> render(const Recipe& r) {
    const std::size_t n = static_cast<std::size_t>(std::lround(r.length * r.rate));
    std::vector<double> mix(n, 0.0);
    const double dt = 1.0 / r.rate;
    for (const auto& v : r.voices) {
        const std::size_t start = static_cast<std::size_t>(std::lround(v.at * r.rate));
        const std::size_t len = static_cast<std::size_t>(std::lround(v.dur * r.rate));
        double phase = 0.0;
        // Noise: a new random level each cycle, glided to linearly, so freq sets the
        // hiss's colour and the wave has no flat tops for the limiter to square off.
        Noise noise;
        double from = 0.0, to = noise.next();
        std::vector<double> wave, envelope;
        for (std::size_t i = 0; i < len && start + i < n; ++i) {
            const double t = static_cast<double>(i) * dt;
            double f = pitch_at(v, t);
            if (v.vib_depth > 0) f *= std::pow(2.0, v.vib_depth / 12.0 * std::sin(2 * std::numbers::pi * v.vib_rate * t));
            const double env = envelope_at(v, t);
            double s = 0.0;
            switch (v.wave) {
                case Recipe::Voice::Wave::Square:
                case Recipe::Voice::Wave::Triangle: s = band_limited(v.wave, phase, f, v.duty); break;
                case Recipe::Voice::Wave::Sine: s = std::sin(2 * std::numbers::pi * phase); break;
                case Recipe::Voice::Wave::Noise: s = from + (to - from) * phase; break;
            }
            wave.push_back(s * env * v.vol);
            envelope.push_back(env * v.vol);
            phase += f * dt;
            while (phase >= 1.0) {
                phase -= 1.0;
                from = to;
                to = noise.next();
            }
        }
        // A narrow pulse, or a short run of noise, leans to one side. Take the lean out in
        // step with the envelope, so each voice averages exactly zero yet stays silent
        // where it is silent.
        double sum = 0.0, env_sum = 0.0;
        for (std::size_t i = 0; i < wave.size(); ++i) sum += wave[i], env_sum += envelope[i];
        const double lean = env_sum > 0 ? sum / env_sum : 0.0;
        for (std::size_t i = 0; i < wave.size(); ++i) mix[start + i] += wave[i] - lean * envelope[i];
    }
    const double scale = r.loudness ? level_to(mix, r.rate, *r.loudness) : r.gain;
    std::vector<double> y = limited(mix, scale);
    // The limiter bends the taller side of a lopsided wave more, which leaves a slight lean;
    // take it out in proportion to the level, so silence stays silent.
    double sum = 0.0, magnitude = 0.0;
    for (double s : y) sum += s, magnitude += std::abs(s);
    if (magnitude > 0)
        for (double& s : y) s -= sum / magnitude * std::abs(s);
    std::vector<std::int16_t> out(n);
    for (std::size_t i = 0; i < n; ++i)
        out[i] = static_cast<std::int16_t>(std::lround(std::clamp(y[i], -kCeiling, kCeiling) * kFullScale));
    return out;
}

Bytes encode_wav(const std::vector<std::int16_t>& samples, int rate) {
    Bytes b;
    const auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xff));
    };
    const auto tag = [&b](const char* s) {
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(s[i]));
    };
    const std::uint32_t data = static_cast<std::uint32_t>(samples.size() * 2);
    tag("RIFF");
    put(36 + data, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // mono
    put(static_cast<std::uint32_t>(rate), 4);
    put(static_cast<std::uint32_t>(rate * 2), 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(data, 4);
    for (std::int16_t s : samples) put(static_cast<std::uint16_t>(s), 2);
    return b;
}

}  // namespace zorbo::assets
