#include "media/MediaLimits.h"

#include "media/RegularFile.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace zorbo {

namespace {

// Little-endian fields of a header; the caller has checked that they lie inside `bytes`.
uint32_t ReadU16(const std::string& bytes, size_t at)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8;
}

uint32_t ReadU32(const std::string& bytes, size_t at)
{
    return ReadU16(bytes, at) | ReadU16(bytes, at + 2) << 16;
}

constexpr size_t kBmpCoreHeaderEnd = 22;  // file header and the old 12-byte info header
constexpr size_t kBmpInfoHeaderEnd = 26;  // as far as the height of a longer info header
constexpr uint32_t kBmpCoreHeaderSize = 12;

struct WaveFormat {
    uint32_t channels = 0;
    uint32_t rate = 0;
    uint32_t bits = 0;
};

// The smallest sample the decoder knows (2-bit ADPCM): frames reckoned with it are never
// fewer than the file really holds.
constexpr uint32_t kFewestBitsPerSample = 2;

} // namespace

namespace {

// A BMP header's sides; false when it is not one or too short to say.
bool BitmapSides(const std::string& bytes, int64_t& width, int64_t& height)
{
    if (bytes.size() < kBmpCoreHeaderEnd || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    if (ReadU32(bytes, 14) == kBmpCoreHeaderSize) {
        width = ReadU16(bytes, 18);
        height = ReadU16(bytes, 20);
        return true;
    }
    if (bytes.size() < kBmpInfoHeaderEnd)
        return false;
    width = static_cast<int32_t>(ReadU32(bytes, 18));
    // A negative height is a picture stored top row first.
    height = std::llabs(static_cast<int32_t>(ReadU32(bytes, 22)));
    return true;
}

// Whole megabytes, rounded up: a small file that crosses the budget is never "0 MB".
std::string Megabytes(uint64_t bytes)
{
    return std::to_string((bytes >> 20) + ((bytes & 0xFFFFF) != 0 ? 1 : 0)) + " MB";
}

} // namespace

std::string BitmapSizeProblem(const std::string& bytes)
{
    int64_t width = 0;
    int64_t height = 0;
    if (!BitmapSides(bytes, width, height))
        return {};
    if (width <= kMaxPictureSide && height <= kMaxPictureSide)
        return {};
    const std::string most = std::to_string(kMaxPictureSide);
    return "the picture is " + std::to_string(width) + " x " + std::to_string(height) + "; at most " + most +
           " x " + most + " is read";
}

namespace {

// The frames a WAVE file's data holds and its rate, from its chunks; false when it is not a
// WAVE file, true with no rate when its chunks cannot say.
bool WaveLength(const std::string& bytes, uint64_t& frames, uint32_t& rate)
{
    constexpr size_t kRiffHeader = 12;
    constexpr size_t kChunkHeader = 8;
    constexpr size_t kFormatFields = 16;
    frames = 0;
    rate = 0;
    if (bytes.size() < kRiffHeader || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return false;
    WaveFormat format;
    uint64_t dataBytes = 0;
    bool haveData = false;
    for (size_t at = kRiffHeader; at + kChunkHeader <= bytes.size();) {
        const uint64_t size = ReadU32(bytes, at + 4);
        const size_t body = at + kChunkHeader;
        const uint64_t held = std::min<uint64_t>(size, bytes.size() - body);
        if (bytes.compare(at, 4, "fmt ") == 0 && held >= kFormatFields) {
            format.channels = ReadU16(bytes, body + 2);
            format.rate = ReadU32(bytes, body + 4);
            format.bits = ReadU16(bytes, body + 14);
        } else if (bytes.compare(at, 4, "data") == 0 && !haveData) {
            // What the file holds, not what its header claims: a claim beyond the end of
            // the file decodes no more than the file has.
            dataBytes = held;
            haveData = true;
        }
        // Chunks are padded to an even length.
        at = static_cast<size_t>(std::min<uint64_t>(body + size + (size & 1), bytes.size()));
    }
    if (!haveData || format.channels == 0 || format.rate == 0)
        return true;
    frames = dataBytes * 8 / (uint64_t{format.channels} * std::max(format.bits, kFewestBitsPerSample));
    rate = format.rate;
    return true;
}

} // namespace

std::string WaveFileProblem(const std::string& bytes)
{
    uint64_t frames = 0;
    uint32_t rate = 0;
    // The mixer would take other kinds of sound file too, and decode a long one whole.
    if (!WaveLength(bytes, frames, rate))
        return "is not a WAVE file";
    if (rate == 0 || frames <= uint64_t{kMaxSoundSeconds} * rate)
        return {};
    const uint64_t seconds = (frames + rate - 1) / rate;
    return "the sound lasts " + std::to_string(seconds) + " s; at most " + std::to_string(kMaxSoundSeconds) +
           " s is read";
}

uint64_t WaveDecodedBytes(const std::string& bytes)
{
    constexpr uint64_t kDeviceRate = 48000;
    constexpr uint64_t kDeviceFrameBytes = 4;
    uint64_t frames = 0;
    uint32_t rate = 0;
    if (!WaveLength(bytes, frames, rate) || rate == 0)
        return 0;
    return (frames * kDeviceRate + rate - 1) / rate * kDeviceFrameBytes;
}

uint64_t BitmapDecodedBytes(const std::string& bytes)
{
    int64_t width = 0;
    int64_t height = 0;
    if (!BitmapSides(bytes, width, height) || width <= 0)
        return 0;
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
}

std::string MediaBudget::Take(uint64_t bytes)
{
    if (bytes <= limit_ - used_) {
        used_ += bytes;
        return {};
    }
    return "its " + Megabytes(bytes) + " decoded would take the data folder's pictures and sounds past " +
           Megabytes(limit_) + ", the most read";
}

std::string DecodedSoundProblem(size_t decodedBytes)
{
    return "the sound decodes to " + std::to_string(decodedBytes >> 20) + " MB; at most " +
           std::to_string(kMaxSoundBytes >> 20) + " MB is read";
}

std::string MusicFileProblem(const std::string& bytes)
{
    // The first page of an Ogg stream: its 27-byte header, a table of segment sizes, and a
    // Vorbis stream's identification packet ("\x01vorbis").
    constexpr size_t kPageHeader = 27;
    constexpr std::string_view kVorbis("\x01vorbis", 7);
    if (bytes.size() >= kPageHeader && bytes.compare(0, 4, "OggS") == 0) {
        const size_t packet = kPageHeader + static_cast<uint8_t>(bytes[kPageHeader - 1]);
        if (bytes.size() >= packet + kVorbis.size() && bytes.compare(packet, kVorbis.size(), kVorbis) == 0)
            return {};
    }
    return "is not an Ogg Vorbis file";
}

bool ReadMusicFile(const std::string& file, std::string& bytes, std::string& error)
{
    if (ReadRegularFile(file, kMaxMusicFileBytes, bytes, error) != FileError::None)
        return false;
    error = MusicFileProblem(bytes);
    return error.empty();
}

bool ReadBitmapFile(const std::string& file, std::string& bytes, std::string& error)
{
    if (ReadRegularFile(file, kMaxMediaFileBytes, bytes, error) != FileError::None)
        return false;
    // A decoder makes room for the whole picture before decoding it.
    error = BitmapSizeProblem(bytes);
    return error.empty();
}

bool ReadBitmapFile(const std::string& file, std::string& bytes, std::string& error, MediaBudget& budget)
{
    if (!ReadBitmapFile(file, bytes, error))
        return false;
    error = budget.Take(BitmapDecodedBytes(bytes));
    return error.empty();
}

} // namespace zorbo
