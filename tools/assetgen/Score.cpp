#include "Score.h"
#include "Text.h"

#include <cmath>
#include <map>
#include <sstream>

namespace zorbo::assets {

namespace {

// One step of a pattern: a note or chord starts, the sounding one is held, or silence.
struct Step {
    enum class Kind { Start, Hold, Rest } kind = Kind::Rest;
    std::vector<double> hz;
};

struct Pattern {
    int instrument = 0;
    double vol = 1.0;
    std::vector<Step> steps;
    int line = 0;
};

bool is_number(const std::string& s) {
    std::istringstream in(s);
    double v = 0;
    return (in >> v) && in.peek() == std::char_traits<char>::eof();
}

Instrument::Wave wave_of(const std::string& s, const std::string& where) {
    using W = Instrument::Wave;
    if (s == "sine") return W::Sine;
    if (s == "triangle") return W::Triangle;
    if (s == "square") return W::Square;
    if (s == "saw") return W::Saw;
    if (s == "harmonics") return W::Harmonics;
    if (s == "noise") return W::Noise;
    fail(where, "unknown wave " + s + " (sine, triangle, square, saw, harmonics or noise)");
}

double positive(const std::string& s, const std::string& where) {
    const double v = to_number<double>(s, where);
    if (!(v > 0)) fail(where, "a positive number, not " + s);
    return v;
}

double not_negative(const std::string& s, const std::string& where) {
    const double v = to_number<double>(s, where);
    if (!(v >= 0)) fail(where, "a number of at least 0, not " + s);
    return v;
}

Instrument read_instrument(const std::vector<std::string>& t, const std::string& where) {
    if (t.size() < 3) fail(where, "instrument NAME WAVE settings...");
    Instrument in;
    in.name = t[1];
    in.wave = wave_of(t[2], where);
    std::size_t k = 3;
    if (in.wave == Instrument::Wave::Harmonics) {
        while (k < t.size() && is_number(t[k])) in.harmonics.push_back(to_number<double>(t[k++], where));
        if (in.harmonics.empty()) fail(where, "harmonics needs the level of each partial");
    }
    for (; k < t.size(); k += 2) {
        const std::string& key = t[k];
        if (k + 1 >= t.size()) fail(where, key + " needs a value");
        const std::string& v = t[k + 1];
        if (key == "vol") in.vol = not_negative(v, where);
        else if (key == "attack") in.attack = not_negative(v, where);
        else if (key == "decay") in.decay = not_negative(v, where);
        else if (key == "sustain") in.sustain = not_negative(v, where);
        else if (key == "release") in.release = not_negative(v, where);
        else if (key == "gate") in.gate = positive(v, where);
        else if (key == "duty") in.duty = positive(v, where);
        else if (key == "vibrato") in.vibrato = not_negative(v, where);
        else if (key == "vibrate") in.vibrate = not_negative(v, where);
        else if (key == "slide") in.slide = to_number<double>(v, where);
        else if (key == "slidetime") in.slidetime = positive(v, where);
        else if (key == "lowpass") in.lowpass = not_negative(v, where);
        else if (key == "echo") in.echo = not_negative(v, where);
        else if (key == "feedback") in.feedback = not_negative(v, where);
        else if (key == "freq") {
            if (!note_name_hz(v, in.hz)) in.hz = positive(v, where);
        } else fail(where, "unknown setting " + key);
    }
    if (in.sustain > 1 || in.gate > 1 || in.duty >= 1) fail(where, "sustain and gate are at most 1, duty below 1");
    if (in.feedback >= 0.95) fail(where, "feedback below 0.95, or the echoes never die");
    return in;
}

Step read_step(const std::string& tok, const Instrument& in, const std::string& where) {
    Step s;
    if (tok == ".") {
        s.kind = Step::Kind::Hold;
        return s;
    }
    if (tok == "-") return s;
    s.kind = Step::Kind::Start;
    if (tok == "x") {
        s.hz.push_back(in.hz);
        return s;
    }
    std::size_t from = 0;
    while (from <= tok.size()) {
        const std::size_t plus = tok.find('+', from);
        const std::string name = tok.substr(from, plus == std::string::npos ? std::string::npos : plus - from);
        double hz = 0;
        if (!note_name_hz(name, hz)) fail(where, "bad note " + name + " (a note like C5, F#4 or Bb3, x, . or -)");
        s.hz.push_back(hz);
        if (plus == std::string::npos) break;
        from = plus + 1;
    }
    return s;
}

// Steps between bar lines; each bar holds exactly `bar` steps, so a miscounted bar is found
// where it is written.
void read_bars(Pattern& p, const std::vector<std::string>& t, std::size_t k, int bar, const Instrument& in,
               const std::string& where) {
    const bool fresh = p.steps.empty();
    int in_bar = -1;  // steps in the bar being read; -1 before the first bar line
    for (; k < t.size(); ++k) {
        if (t[k] == "|") {
            if (in_bar > 0 && in_bar != bar)
                fail(where, "a bar of " + std::to_string(in_bar) + " steps; each holds " + std::to_string(bar));
            in_bar = 0;
            continue;
        }
        if (in_bar < 0) fail(where, "steps go between bar lines: | C5 . - E5 |");
        p.steps.push_back(read_step(t[k], in, where));
        if (fresh && p.steps.size() == 1 && p.steps[0].kind == Step::Kind::Hold)
            fail(where, "a pattern starts with a hold");
        ++in_bar;
    }
    if (in_bar > 0) fail(where, "the last bar has no closing bar line");
}

}  // namespace

bool note_name_hz(const std::string& n, double& hz) {
    static const std::map<char, int> base = {{'C', -9}, {'D', -7}, {'E', -5}, {'F', -4},
                                             {'G', -2}, {'A', 0},  {'B', 2}};
    if (n.size() < 2 || !base.count(n[0])) return false;
    int semis = base.at(n[0]);
    std::size_t p = 1;
    if (n[p] == '#') ++semis, ++p;
    else if (n[p] == 'b') --semis, ++p;
    if (p + 1 != n.size() || n[p] < '0' || n[p] > '8') return false;
    semis += (n[p] - '4') * 12;
    hz = 440.0 * std::pow(2.0, semis / 12.0);
    return true;
}

int Score::step_samples() const {
    return static_cast<int>(std::lround(60.0 * rate / (tempo * steps)));
}

Score parse_score(const std::string& text, const std::string& name) {
    Score s;
    std::map<std::string, int> instruments;
    std::map<std::string, Pattern> patterns;
    Pattern* open = nullptr;  // the pattern a line starting with a bar line carries on
    struct Play {
        std::vector<const Pattern*> parts;
        int times = 1;
        int line = 0;
    };
    std::vector<Play> song;
    std::istringstream in(text);
    std::string line;
    for (int no = 1; std::getline(in, line); ++no) {
        const std::string where = name + ":" + std::to_string(no);
        std::istringstream ls(line);
        std::vector<std::string> t;
        for (std::string w; ls >> w && w[0] != '#';) t.push_back(w);
        if (t.empty()) continue;
        if (t[0] != "|") open = nullptr;
        if (t[0] == "title") {
            s.title = line.substr(line.find("title") + 6);
        } else if (t[0] == "rate" && t.size() == 2) {
            s.rate = to_number<int>(t[1], where);
            if (s.rate != 22050 && s.rate != 44100) fail(where, "rate is 22050 or 44100");
        } else if (t[0] == "tempo" && t.size() == 2) {
            s.tempo = positive(t[1], where);
            if (s.tempo < 30 || s.tempo > 300) fail(where, "tempo: 30 to 300 beats a minute");
        } else if (t[0] == "steps" && t.size() == 2) {
            s.steps = to_number<int>(t[1], where);
            if (s.steps < 1 || s.steps > 12) fail(where, "steps a beat: 1 to 12");
            s.bar = 4 * s.steps;
        } else if (t[0] == "bar" && t.size() == 2) {
            s.bar = to_number<int>(t[1], where);
            if (s.bar < 1 || s.bar > 64) fail(where, "steps a bar: 1 to 64");
        } else if (t[0] == "loudness" && t.size() == 2) {
            s.loudness = to_number<double>(t[1], where);
            if (s.loudness >= 0 || s.loudness < -40) fail(where, "loudness is a K-weighted level in dB, -40 to 0");
        } else if (t[0] == "instrument") {
            Instrument i = read_instrument(t, where);
            if (!instruments.emplace(i.name, static_cast<int>(s.instruments.size())).second)
                fail(where, "a second instrument " + i.name);
            s.instruments.push_back(std::move(i));
        } else if (t[0] == "pattern") {
            if (t.size() < 3) fail(where, "pattern NAME INSTRUMENT [vol V] | steps |");
            const auto ins = instruments.find(t[2]);
            if (ins == instruments.end()) fail(where, "no instrument " + t[2] + " above");
            Pattern p;
            p.instrument = ins->second;
            p.line = no;
            std::size_t k = 3;
            if (k + 1 < t.size() && t[k] == "vol") {
                p.vol = not_negative(t[k + 1], where);
                k += 2;
            }
            read_bars(p, t, k, s.bar, s.instruments[static_cast<std::size_t>(p.instrument)], where);
            const auto [it, fresh] = patterns.emplace(t[1], std::move(p));
            if (!fresh) fail(where, "a second pattern " + t[1]);
            open = &it->second;
        } else if (t[0] == "|") {
            if (!open) fail(where, "a line of bars carries on the pattern just above it");
            read_bars(*open, t, 0, s.bar, s.instruments[static_cast<std::size_t>(open->instrument)], where);
        } else if (t[0] == "play") {
            Play p;
            p.line = no;
            for (std::size_t k = 1; k < t.size(); ++k) {
                if (t[k].size() > 1 && t[k][0] == 'x' && is_number(t[k].substr(1))) {
                    p.times = to_number<int>(t[k].substr(1), where);
                    if (p.times < 1 || k + 1 != t.size()) fail(where, "xN, at the end of a play line, repeats it N times");
                    continue;
                }
                const auto pat = patterns.find(t[k]);
                if (pat == patterns.end()) fail(where, "no pattern " + t[k] + " above");
                if (pat->second.steps.empty()) fail(where, "the pattern " + t[k] + " has no steps");
                p.parts.push_back(&pat->second);
            }
            if (p.parts.empty()) fail(where, "play names the patterns that sound together");
            song.push_back(p);
        } else {
            fail(where, "unknown line: " + line);
        }
    }
    if (song.empty()) fail(name, "no play line: the song is empty");

    // The song, laid out: a play line lasts as long as its longest pattern, and shorter
    // ones repeat to fill it.
    int at = 0;
    for (const Play& p : song) {
        std::size_t longest = 0;
        for (const Pattern* part : p.parts) longest = std::max(longest, part->steps.size());
        for (const Pattern* part : p.parts)
            if (longest % part->steps.size() != 0)
                fail(name + ":" + std::to_string(p.line), "a pattern's bars do not fill the line's evenly");
        for (int r = 0; r < p.times; ++r) {
            for (const Pattern* part : p.parts) {
                const std::vector<Step>& st = part->steps;
                for (std::size_t from = 0; from < longest; from += st.size())
                    for (std::size_t i = 0; i < st.size(); ++i) {
                        if (st[i].kind != Step::Kind::Start) continue;
                        std::size_t held = 1;
                        while (i + held < st.size() && st[i + held].kind == Step::Kind::Hold) ++held;
                        const int first = at + static_cast<int>(from + i);
                        for (double hz : st[i].hz)
                            s.notes.push_back({part->instrument, first, static_cast<int>(held), hz, part->vol});
                    }
            }
            at += static_cast<int>(longest);
        }
    }
    s.total_steps = at;
    return s;
}

}  // namespace zorbo::assets
