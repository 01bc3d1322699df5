// Tunes from text scores: instruments, one-bar-at-a-time patterns of notes and a song that
// plays patterns together, in order, and then loops back to its start. The reader turns a
// score into a list of timed notes; tools/assetgen/Music.h renders them.
#pragma once

#include <string>
#include <vector>

namespace zorbo::assets {

struct Instrument {
    enum class Wave { Sine, Triangle, Square, Saw, Harmonics, Noise };
    std::string name;
    Wave wave = Wave::Square;
    std::vector<double> harmonics;  // partials 1, 2, 3 ... for Wave::Harmonics
    double vol = 0.5;
    double attack = 0.005;   // seconds
    double decay = 0.0;      // time constant (s) of the fall to sustain; 0 holds full level
    double sustain = 1.0;
    double release = 0.04;   // seconds after the note ends
    double gate = 0.9;       // share of a note's last step that sounds before its release
    double duty = 0.5;       // square
    double vibrato = 0.0;    // semitones ...
    double vibrate = 5.0;    // ... at this rate (Hz)
    double slide = 0.0;      // the note starts this many semitones off and falls into tune ...
    double slidetime = 0.03; // ... with this time constant (s)
    double hz = 440.0;       // the pitch of a hit ("x")
    double lowpass = 0.0;    // Hz, 0 for none
    double echo = 0.0;       // seconds between echoes, 0 for none ...
    double feedback = 0.3;   // ... each this much of the one before
};

struct ScoreNote {
    int instrument = 0;      // index into Score::instruments
    int first = 0;           // the step it starts on, from the loop's start
    int steps = 1;           // to the next step that is not a hold
    double hz = 440.0;
    double vol = 1.0;        // the pattern's level
};

struct Score {
    std::string title;
    int rate = 22050;
    double tempo = 120.0;    // beats a minute
    int steps = 4;           // steps a beat
    int bar = 16;            // steps a bar
    double loudness = -23.0; // K-weighted level (dB) the loop is scaled to
    std::vector<Instrument> instruments;
    std::vector<ScoreNote> notes;
    int total_steps = 0;

    // A step lasts a whole number of samples (the tempo is rounded to one, by at most a
    // fortieth of a percent), so every note starts on a sample and the loop is a whole
    // number of steps.
    int step_samples() const;
    double step_seconds() const { return static_cast<double>(step_samples()) / rate; }
    std::size_t samples() const { return static_cast<std::size_t>(total_steps) * static_cast<std::size_t>(step_samples()); }
};

// See assets/music/README.md for the language. Errors name the file and line.
Score parse_score(const std::string& text, const std::string& name);

// Note names like C5, F#4, Bb3 to Hz (A4 = 440); false for anything else.
bool note_name_hz(const std::string& n, double& hz);

}  // namespace zorbo::assets
