#include "Synth.h"
#include "Text.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <sstream>
#include <stdexcept>

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
    return (s[0] >= 'A' && s[0] <= 'G') ? note_hz(s, where) : to_number<double>(s, where);
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
            if (*r.loudness >= 0 || *r.loudness < -40) fail(where, "loudness is a level in dBFS, -40 to 0");
        } else if (t[0] == "voice" && t.size() >= 2) {
            Recipe::Voice v;
            v.wave = wave_of(t[1], where);
            read_settings(v, t, 2, where, nullptr, nullptr);
            if (v.dur <= 0) fail(where, "voice needs 'for' > 0");
            r.voices.push_back(v);
        } else if (t[0] == "melody" && t.size() >= 2) {
            // A run of notes, each lasting step (times n for "C5*n"); "-" is a rest.
            Recipe::Voice v;
            v.wave = wave_of(t[1], where);
            double step = 0.1;
            std::vector<std::string> notes;
            read_settings(v, t, 2, where, &step, &notes);
            if (notes.empty()) fail(where, "melody needs notes");
            double at = v.at;
            for (const std::string& n : notes) {
                const auto star = n.find('*');
                const double beats = star == std::string::npos ? 1.0 : to_number<double>(n.substr(star + 1), where);
                const std::string pitch = n.substr(0, star);
                if (pitch != "-") {
                    Recipe::Voice nv = v;
                    nv.at = at;
                    nv.dur = step * beats * 0.92;
                    nv.f0 = nv.f1 = note_hz(pitch, where);
                    r.voices.push_back(nv);
                }
                at += step * beats;
            }
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

constexpr double kCeiling = 0.85;  // about -1.4 dBFS, so peaks stay clear of -1 dBFS
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

// RMS over the 10 ms windows that rise above -50 dBFS, so that a long fade or a rest
// between notes does not make an effect count as quieter than it sounds.
double sounding_rms(const std::vector<double>& s, int rate) {
    const std::size_t w = static_cast<std::size_t>(rate / 100);
    const double floor2 = std::pow(10.0, -50.0 / 10.0);
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t a = 0; a < s.size(); a += w) {
        const std::size_t b = std::min(s.size(), a + w);
        double e = 0.0;
        for (std::size_t i = a; i < b; ++i) e += s[i] * s[i];
        if (e / static_cast<double>(b - a) > floor2) sum += e, count += b - a;
    }
    return count ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}

std::vector<double> limited(const std::vector<double>& mix, double scale) {
    std::vector<double> y(mix.size());
    for (std::size_t i = 0; i < mix.size(); ++i) y[i] = soft_limit(mix[i] * scale);
    return y;
}

// The scale that brings the limited mix to the target level: a fixed number of halvings
// of a range of gains (in dB), so every build lands on the same value.
double level_to(const std::vector<double>& mix, int rate, double target_db) {
    const double target = std::pow(10.0, target_db / 20.0);
    double lo = -60.0, hi = 60.0;
    for (int i = 0; i < 50; ++i) {
        const double mid = 0.5 * (lo + hi);
        (sounding_rms(limited(mix, std::pow(10.0, mid / 20.0)), rate) < target ? lo : hi) = mid;
    }
    return std::pow(10.0, 0.5 * (lo + hi) / 20.0);
}

}  // namespace

std::vector<std::int16_t> render(const Recipe& r) {
    const std::size_t n = static_cast<std::size_t>(std::lround(r.length * r.rate));
    std::vector<double> mix(n, 0.0);
    const double dt = 1.0 / r.rate;
    for (const auto& v : r.voices) {
        const std::size_t start = static_cast<std::size_t>(std::lround(v.at * r.rate));
        const std::size_t len = static_cast<std::size_t>(std::lround(v.dur * r.rate));
        double phase = 0.0;
        std::uint32_t lfsr = 0x5A5Au;  // fixed seed: same noise every build
        double noise = 1.0;
        const double rel = std::min(v.release, v.dur);
        const double att = std::min(v.attack, v.dur - rel);
        std::vector<double> wave, envelope;
        for (std::size_t i = 0; i < len && start + i < n; ++i) {
            const double t = static_cast<double>(i) * dt;
            const double u = t / v.dur;
            double f = v.exp_slide ? v.f0 * std::pow(v.f1 / v.f0, u) : v.f0 + (v.f1 - v.f0) * u;
            if (v.vib_depth > 0) f *= std::pow(2.0, v.vib_depth / 12.0 * std::sin(2 * std::numbers::pi * v.vib_rate * t));
            double env;
            if (t < att) env = t / att;
            else if (t < att + v.decay) env = 1.0 - (1.0 - v.sustain) * (t - att) / v.decay;
            else env = v.sustain;
            if (t > v.dur - rel) env *= std::max(0.0, (v.dur - t) / rel);
            double s = 0.0;
            switch (v.wave) {
                case Recipe::Voice::Wave::Square: s = phase < v.duty ? 1.0 : -1.0; break;
                case Recipe::Voice::Wave::Triangle: s = 4.0 * std::abs(phase - 0.5) - 1.0; break;
                case Recipe::Voice::Wave::Sine: s = std::sin(2 * std::numbers::pi * phase); break;
                case Recipe::Voice::Wave::Noise: s = noise; break;
            }
            wave.push_back(s * env * v.vol);
            envelope.push_back(env * v.vol);
            phase += f * dt;
            while (phase >= 1.0) {
                phase -= 1.0;
                // 15-bit LFSR: one new noise level per cycle, so freq sets the hiss's colour.
                const std::uint32_t bit = (lfsr ^ (lfsr >> 1)) & 1u;
                lfsr = (lfsr >> 1) | (bit << 14);
                noise = (lfsr & 1u) ? 1.0 : -1.0;
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
