// The music as the player hears it: every tune there and small, looping without a step or a
// click, level with the others and under the effects; the round render that makes a loop
// seamless; and a score's mistakes named where they are written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assetgen/Loudness.h"
#include "assetgen/Music.h"
#include "assetgen/OggVorbis.h"
#include "assetgen/Score.h"
#include "assetgen/Synth.h"
#include "game/Music.h"
#include "game/Sounds.h"

namespace {

using namespace zorbo::assets;
namespace fs = std::filesystem;

const std::string kData = std::string(ZORBO_TEST_DATA_DIR) + "/";
const std::string kScores = std::string(ZORBO_ASSETS_SOURCE_DIR) + "/music/";

std::string TuneFile(int tune) { return std::string(zorbo::kTuneFiles[static_cast<std::size_t>(tune)]); }

// "tune-cave.ogg" is rendered from "cave.txt".
Score ScoreOf(int tune) {
    const std::string file = TuneFile(tune);
    const std::string name = file.substr(5, file.size() - 9) + ".txt";
    const Bytes text = read_file(kScores + name);
    return parse_score(std::string(text.begin(), text.end()), name);
}

DecodedSound Heard(int tune) {
    DecodedSound out;
    std::string error;
    EXPECT_TRUE(decode_ogg_vorbis(read_file(kData + TuneFile(tune)), out, error)) << TuneFile(tune) << " " << error;
    return out;
}

std::string Problem(const std::string& text) {
    try {
        parse_score(text, "t.txt");
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

}  // namespace

TEST(MusicFiles, EveryTuneIsThereWholeAndAllTogetherTakeUnderTwoMegabytes) {
    std::uintmax_t total = 0;
    for (int tune = 1; tune <= zorbo::Tune::Count; ++tune) {
        const std::string file = TuneFile(tune);
        ASSERT_TRUE(fs::is_regular_file(kData + file)) << file;
        total += fs::file_size(kData + file);
        const DecodedSound heard = Heard(tune);
        EXPECT_EQ(heard.rate, 22050) << file << ": the mixer's own rate, nothing to convert";
        EXPECT_EQ(heard.channels, 1) << file;
        // Exactly the loop the score makes: no padding the encoder might add at either end.
        EXPECT_EQ(heard.samples.size(), ScoreOf(tune).samples()) << file;
        const double seconds = static_cast<double>(heard.samples.size()) / heard.rate;
        EXPECT_GE(seconds, tune == zorbo::Tune::Parade ? 8.0 : 20.0) << file;
        EXPECT_LE(seconds, 40.0) << file;
    }
    EXPECT_LT(total, 2u << 20) << "all the music, installed";
}

// The jump from the loop's last sample to its first is no bigger than the jumps the tune
// makes between neighbours anywhere else (its 99.9th percentile), as the player decodes it.
TEST(MusicFiles, EachTuneLoopsWithoutAStepOrAClick) {
    for (int tune = 1; tune <= zorbo::Tune::Count; ++tune) {
        const DecodedSound heard = Heard(tune);
        ASSERT_GT(heard.samples.size(), 1000u);
        const SeamCheck seam = check_seam(heard.samples);
        EXPECT_LE(seam.seam, seam.typical) << TuneFile(tune) << " jumps " << seam.seam << " where it loops";
    }
}

TEST(MusicFiles, TunesAreLevelWithEachOtherAndWellUnderTheEffects) {
    double quietest = 0, loudest = -200;
    for (int tune = 1; tune <= zorbo::Tune::Count; ++tune) {
        const DecodedSound heard = Heard(tune);
        const double level = sounding_k_level(heard.samples, heard.rate);
        EXPECT_NEAR(level, ScoreOf(tune).loudness, 0.5) << TuneFile(tune);
        quietest = std::min(quietest, level);
        loudest = std::max(loudest, level);
    }
    EXPECT_LE(loudest - quietest, 1.0) << "the tunes are matched to one another";
    // The effects are levelled to their recipes' loudness (AssetSounds checks they are).
    for (int n = 1; n <= zorbo::Sound::Count; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "m%03d.txt", n);
        const Bytes text = read_file(std::string(ZORBO_ASSETS_SOURCE_DIR) + "/sounds/" + name);
        const Recipe effect = parse_recipe(std::string(text.begin(), text.end()), name);
        ASSERT_TRUE(effect.loudness.has_value()) << name;
        EXPECT_GE(*effect.loudness - loudest, 8.0) << name << " stands clear of the music";
    }
}

// The loop is the song as it sounds every time round: rendered once, it matches the middle
// of the song played three times over, tails of notes, echoes and filters and all.
TEST(MusicRender, ALoopIsTheSongAsItSoundsEveryTimeRound) {
    for (int tune = 1; tune <= zorbo::Tune::Count; ++tune) {
        const Score once = ScoreOf(tune);
        Score thrice = once;
        thrice.total_steps = 3 * once.total_steps;
        for (int round = 1; round < 3; ++round)
            for (ScoreNote note : once.notes) {
                note.first += round * once.total_steps;
                thrice.notes.push_back(note);
            }
        const std::vector<double> loop = render_loop(once);
        const std::vector<double> long_play = render_loop(thrice);
        ASSERT_EQ(long_play.size(), 3 * loop.size());
        double peak = 0, most = 0;
        for (std::size_t i = 0; i < loop.size(); ++i) {
            peak = std::max(peak, std::abs(loop[i]));
            most = std::max(most, std::abs(loop[i] - long_play[loop.size() + i]));
        }
        EXPECT_LT(most, 1e-9 * peak) << TuneFile(tune);
    }

    // A note held over the end of the loop sounds on at its start, fading as it would.
    const Score held = parse_score("tempo 120\n"
                                   "instrument pluck triangle decay 0.05 sustain 0 release 0.2\n"
                                   "pattern p pluck | - - - - - - - - - - - - - - - C4 |\n"
                                   "play p\n",
                                   "held.txt");
    const std::vector<double> loop = render_loop(held);
    double start = 0, middle = 0;
    for (std::size_t i = 0; i < 500; ++i) start += std::abs(loop[i]), middle += std::abs(loop[loop.size() / 2 + i]);
    EXPECT_GT(start, 1.0) << "the tail wraps round to the start";
    EXPECT_EQ(middle, 0.0) << "and rests where the score rests";
    const SeamCheck seam = check_seam(loop);
    EXPECT_LE(seam.seam, seam.largest);
}

TEST(Scores, MistakesAreNamedWithTheirLine) {
    const std::string head = "tempo 120\ninstrument lead square\n";
    EXPECT_EQ(Problem(head + "pattern a lead | C4 . . . . . . . . . . . . . . |\nplay a\n"),
              "t.txt:3: a bar of 15 steps; each holds 16");
    EXPECT_EQ(Problem(head + "pattern a lead | H4 - - - - - - - - - - - - - - - |\n"),
              "t.txt:3: bad note H4 (a note like C5, F#4 or Bb3, x, . or -)");
    EXPECT_EQ(Problem(head + "play b\n"), "t.txt:3: no pattern b above");
    const std::string bar = " - - - - - - - - - - - - - - - - |";
    EXPECT_EQ(Problem(head + "pattern a lead |" + bar + bar + "\npattern b lead |" + bar + bar + bar + "\nplay a b\n"),
              "t.txt:5: a pattern's bars do not fill the line's evenly");

    // A pattern goes on over lines that start with a bar line, a note held across them.
    const Score s = parse_score(head + "pattern a lead | - - - - - - - - - - - - - - - C4 |\n"
                                       "| . . . - - - - - - - - - - - - - |\nplay a x2\n",
                                "t.txt");
    ASSERT_EQ(s.notes.size(), 2u);
    EXPECT_EQ(s.notes[0].first, 15);
    EXPECT_EQ(s.notes[0].steps, 4);
    EXPECT_EQ(s.notes[1].first, 47);
    EXPECT_EQ(s.total_steps, 64);
}
