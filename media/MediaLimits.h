#pragma once
// How much a picture or a sound file may cost the game, checked from its header before it
// is decoded: a small file may declare a huge picture or hours of sound, and decoding it
// would take gigabytes.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zorbo {

// The most bytes read of one bitmap or wave file.
constexpr size_t kMaxMediaFileBytes = 64u << 20;
// The widest and tallest picture read: the game's largest strip is a few hundred pixels
// either way, so this leaves a wide margin for edited data.
constexpr int32_t kMaxPictureSide = 4096;
// The longest sound read; its effects last a second or two.
constexpr int kMaxSoundSeconds = 60;
// The most bytes a sound may take once decoded: kMaxSoundSeconds of 44.1 kHz 16-bit stereo.
constexpr size_t kMaxSoundBytes = size_t{kMaxSoundSeconds} * 44100 * 2 * 2;

// Empty when a BMP file's header declares a picture within kMaxPictureSide, else a phrase
// to follow the file's name: "the picture is 16384 x 16384; at most 4096 x 4096 is read".
// A header too short to read is left for the decoder to refuse.
std::string BitmapSizeProblem(const std::string& bytes);
// Reads a BMP file's bytes for decoding: a regular file within kMaxMediaFileBytes whose
// picture passes BitmapSizeProblem. False with the reason otherwise.
bool ReadBitmapFile(const std::string& file, std::string& bytes, std::string& error);

// The most the data folder's pictures, effects and tunes may take together once decoded.
// The game's own take about 3 MB; this leaves room for a picture of the largest size read
// (64 MB) and more, while a folder of many such pictures stops long before it costs
// gigabytes and a minute of decoding.
constexpr uint64_t kMaxDecodedMediaBytes = uint64_t{128} << 20;

// What the files read so far cost once decoded, reckoned from their headers before they
// are decoded. One per data folder load (the game's display holds it).
class MediaBudget {
public:
    explicit MediaBudget(uint64_t limit = kMaxDecodedMediaBytes) : limit_(limit) {}
    // Counts `bytes` when they fit, and gives ""; else counts nothing and gives the phrase
    // to follow the file's name: "its 64 MB decoded would take the data folder's pictures
    // and sounds past 128 MB, the most read". A file that fits after one that did not is
    // still read: the order of loading, not chance, decides which are left out.
    std::string Take(uint64_t bytes);
    uint64_t Used() const { return used_; }
    uint64_t Limit() const { return limit_; }

private:
    uint64_t limit_;
    uint64_t used_ = 0;
};

// What a BMP file's picture takes decoded (4 bytes a pixel), from its header; 0 when the
// header is too short to say (the decoder then refuses it).
uint64_t BitmapDecodedBytes(const std::string& bytes);
// Reads a BMP file as ReadBitmapFile does, and then takes its decoded size from `budget`.
bool ReadBitmapFile(const std::string& file, std::string& bytes, std::string& error, MediaBudget& budget);

// What a WAVE file's sound takes once the mixer has converted it, from its header: its
// length at 48 kHz 16-bit stereo, the most a sound device is opened at, so never less than
// the mixer really makes. 0 when the header cannot say.
uint64_t WaveDecodedBytes(const std::string& bytes);

// Empty when a file is a WAVE file whose sound lasts at most kMaxSoundSeconds, else a
// phrase to follow the file's name: "is not a WAVE file", "the sound lasts 3600 s; at most
// 60 s is read". The length is reckoned from the format and the data the file holds; a
// WAVE file whose chunks cannot be read is left for the decoder to refuse.
std::string WaveFileProblem(const std::string& bytes);

// The phrase for a sound whose decoded size is over kMaxSoundBytes.
std::string DecodedSoundProblem(size_t decodedBytes);

// The most bytes read of one music file: a tune is streamed as it plays, so only its file
// is held; the game's own take a few hundred kilobytes.
constexpr size_t kMaxMusicFileBytes = 8u << 20;
// Empty when the bytes begin an Ogg Vorbis stream, else "is not an Ogg Vorbis file": the
// mixer would take other kinds of sound as music too.
std::string MusicFileProblem(const std::string& bytes);
// Reads a music file for the mixer: a regular file within kMaxMusicFileBytes that passes
// MusicFileProblem. False with the reason otherwise.
bool ReadMusicFile(const std::string& file, std::string& bytes, std::string& error);

} // namespace zorbo
