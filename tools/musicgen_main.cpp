// zorbo_musicgen SCORE OUT.ogg: renders one tune's score as a seamless loop and writes it as
// Ogg Vorbis; prints its length, size, loudness and seam as the player's decoder reads them.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "assetgen/Loudness.h"
#include "assetgen/Music.h"
#include "assetgen/OggVorbis.h"
#include "assetgen/Score.h"

namespace {
// Mono at 22050 Hz, as the game's mixer runs, at about 35 kbit/s: a half-minute tune takes
// some 130 KB, and all of them together about 650 KB.
constexpr double kQuality = 0.3;
}  // namespace

int main(int argc, char** argv) {
    using namespace zorbo::assets;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SCORE OUT.ogg\n", argv[0]);
        return 2;
    }
    try {
        const auto t0 = std::chrono::steady_clock::now();
        const Bytes text = read_file(argv[1]);
        const std::string name = std::filesystem::path(argv[1]).filename().string();
        const Score score = parse_score(std::string(text.begin(), text.end()), name);
        const std::vector<double> loop = render_music(score);
        const Bytes ogg = encode_ogg_vorbis(loop, score.rate, kQuality, score.title);
        if (const auto folder = std::filesystem::path(argv[2]).parent_path(); !folder.empty())
            std::filesystem::create_directories(folder);
        write_file(argv[2], ogg);

        DecodedSound heard;
        std::string error;
        if (!decode_ogg_vorbis(ogg, heard, error)) throw std::runtime_error(std::string(argv[2]) + " " + error);
        const SeamCheck seam = check_seam(heard.samples);
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
        std::printf("zorbo_musicgen: %s: %.1f s, %zu bytes, loudness %.2f dB, seam %.4f (neighbours 99.9%% %.4f, "
                    "largest %.4f) (%lld ms)\n",
                    std::filesystem::path(argv[2]).filename().c_str(), static_cast<double>(loop.size()) / score.rate,
                    ogg.size(), sounding_k_level(heard.samples, heard.rate), seam.seam, seam.typical, seam.largest,
                    static_cast<long long>(ms));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorbo_musicgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
