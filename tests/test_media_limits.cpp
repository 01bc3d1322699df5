// Small media files that declare huge pictures or hours of sound are refused from their
// headers, by name, before anything is decoded; memory running out while the data folder
// is loaded names the file.
#include "TestData.h"
#include "media/BitmapFile.h"
#include "media/Display.h"
#include "media/MediaLimits.h"
#include "media/SdlPlatform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <new>

using namespace zorbo;

namespace {

void PutU16(std::string& out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void PutU32(std::string& out, uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// An 8-bit run-length-encoded BMP of w x h whose only data is one run and the end mark: a
// few dozen bytes that SDL would make a w x h surface for.
std::string RleBitmap(int32_t w, int32_t h)
{
    std::string info;
    PutU32(info, 40);
    PutU32(info, static_cast<uint32_t>(w));
    PutU32(info, static_cast<uint32_t>(h));
    PutU16(info, 1);
    PutU16(info, 8);
    PutU32(info, 1); // BI_RLE8
    for (int i = 0; i < 5; ++i)
        PutU32(info, 0);
    std::string palette(2 * 4, '\0');
    palette[4] = '\xFF';
    const std::string pixels = std::string("\xFF\x01\x00\x01", 4);
    std::string out = "BM";
    const auto offset = static_cast<uint32_t>(14 + info.size() + palette.size());
    PutU32(out, offset + static_cast<uint32_t>(pixels.size()));
    PutU32(out, 0);
    PutU32(out, offset);
    return out + info + palette + pixels;
}

// The same in the old 12-byte header, whose sides are 16-bit.
std::string CoreBitmap(uint16_t w, uint16_t h)
{
    std::string out = "BM";
    PutU32(out, 26 + 6);
    PutU32(out, 0);
    PutU32(out, 26 + 6);
    PutU32(out, 12);
    PutU16(out, w);
    PutU16(out, h);
    PutU16(out, 1);
    PutU16(out, 1);
    return out + std::string(6, '\0');
}

// A WAVE file of unsigned 8-bit PCM: `seconds` of silence at `rate` samples a second.
std::string Wave(uint32_t rate, uint32_t channels, uint32_t seconds)
{
    const uint32_t data = rate * channels * seconds;
    std::string out = "RIFF";
    PutU32(out, 36 + data);
    out += "WAVEfmt ";
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, channels);
    PutU32(out, rate);
    PutU32(out, rate * channels);
    PutU16(out, channels);
    PutU16(out, 8);
    out += "data";
    PutU32(out, data);
    return out + std::string(data, '\x80');
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

double SecondsFor(const std::function<void()>& step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST(MediaLimits, BitmapHeadersAreHeldToTheLargestPictureRead)
{
    EXPECT_EQ(BitmapSizeProblem(RleBitmap(16384, 16384)), "the picture is 16384 x 16384; at most 4096 x 4096 is read");
    EXPECT_EQ(BitmapSizeProblem(RleBitmap(kMaxPictureSide, kMaxPictureSide)), "");
    EXPECT_NE(BitmapSizeProblem(RleBitmap(kMaxPictureSide + 1, 1)), "");
    EXPECT_NE(BitmapSizeProblem(RleBitmap(1, kMaxPictureSide + 1)), "");
    // Stored top row first: the height is negative.
    EXPECT_EQ(BitmapSizeProblem(RleBitmap(16, -16384)), "the picture is 16 x 16384; at most 4096 x 4096 is read");
    EXPECT_EQ(BitmapSizeProblem(RleBitmap(16, INT32_MIN)), "the picture is 16 x 2147483648; at most 4096 x 4096 is read");
    EXPECT_EQ(BitmapSizeProblem(CoreBitmap(40000, 2)), "the picture is 40000 x 2; at most 4096 x 4096 is read");
    EXPECT_EQ(BitmapSizeProblem(CoreBitmap(300, 200)), "");
    // Not a bitmap, or too short to say: the decoder refuses it with its own reason.
    EXPECT_EQ(BitmapSizeProblem("BM"), "");
    EXPECT_EQ(BitmapSizeProblem(RleBitmap(16384, 16384).substr(0, 24)), "");
}

TEST(MediaLimits, AHugeBitmapInAFewBytesIsRefusedAtOnceByName)
{
    test::TempDir dir;
    const std::string file = dir.path() + "game_1.bmp";
    WriteFile(file, RleBitmap(16384, 16384));
    HeadlessPlatform platform;
    Display display(platform);
    test::Warnings warnings;
    const Surface* picture = nullptr;
    const double seconds = SecondsFor([&] { picture = display.LoadBitmap(file); });
    EXPECT_EQ(picture, nullptr);
    EXPECT_LT(seconds, 0.5);
    ASSERT_EQ(warnings.lines().size(), 1u);
    EXPECT_EQ(warnings.lines()[0],
              "bitmap " + file + ": the picture is 16384 x 16384; at most 4096 x 4096 is read; it is not drawn");

    // A picture within the limit still decodes, run-length encoded or not.
    WriteFile(file, RleBitmap(300, 2));
    Surface small;
    std::string error;
    EXPECT_TRUE(DecodeBitmap(file, small, error)) << error;
    EXPECT_EQ(small.Width(), 300);
}

// A tune is taken only as an Ogg stream whose first packet is Vorbis's: the mixer would
// play other kinds of file as music too, an Ogg of another codec among them.
TEST(MediaLimits, OnlyOggVorbisIsTakenAsATune)
{
    // A first page: the 27-byte header (its last byte the number of segments), one
    // segment's size, then the packet.
    const auto page = [](const std::string& packet) {
        std::string p = "OggS" + std::string(22, '\0') + '\x01' + static_cast<char>(packet.size()) + packet;
        return p + std::string(30, '\0');
    };
    EXPECT_EQ(MusicFileProblem(page(std::string("\x01vorbis", 7))), "");
    EXPECT_EQ(MusicFileProblem(page("OpusHead")), "is not an Ogg Vorbis file");
    EXPECT_EQ(MusicFileProblem(page(std::string("\x7F" "FLAC", 5))), "is not an Ogg Vorbis file");
    EXPECT_EQ(MusicFileProblem(page(std::string("\x01vorbis", 7)).substr(0, 32)), "is not an Ogg Vorbis file")
        << "cut short in the packet";
    EXPECT_EQ(MusicFileProblem("ID3\x03"), "is not an Ogg Vorbis file");
    EXPECT_EQ(MusicFileProblem(""), "is not an Ogg Vorbis file");
}

TEST(MediaLimits, WaveHeadersAreHeldToTheLongestSoundRead)
{
    EXPECT_EQ(WaveFileProblem(Wave(1000, 1, kMaxSoundSeconds)), "");
    EXPECT_EQ(WaveFileProblem(Wave(1000, 1, kMaxSoundSeconds + 1)), "the sound lasts 61 s; at most 60 s is read");
    EXPECT_EQ(WaveFileProblem(Wave(100, 2, 3600)), "the sound lasts 3600 s; at most 60 s is read");
    // A slow rate costs little on disc and much once converted to the device's rate.
    EXPECT_EQ(WaveFileProblem(Wave(1, 1, 120)), "the sound lasts 120 s; at most 60 s is read");

    // The length is what the file holds: a data size claimed past its end decodes no more.
    std::string claims = Wave(1000, 1, 2);
    claims.replace(40, 4, std::string("\xF0\xFF\xFF\x7F", 4));
    EXPECT_EQ(WaveFileProblem(claims), "");
    // A chunk before the data is stepped over, padding byte included.
    std::string padded = Wave(1000, 1, 61);
    padded.insert(36, std::string("LIST\x03\x00\x00\x00" "abc\0", 12));
    EXPECT_EQ(WaveFileProblem(padded), "the sound lasts 61 s; at most 60 s is read");

    EXPECT_EQ(WaveFileProblem("FORM\0\0\0\0AIFF"), "is not a WAVE file");
    EXPECT_EQ(WaveFileProblem(""), "is not a WAVE file");
    // A WAVE file with no usable format is left to the decoder's own refusal.
    EXPECT_EQ(WaveFileProblem(Wave(0, 1, 0)), "");
}

TEST(MediaLimits, TheGameRefusesALongWaveBeforeDecodingIt)
{
    test::TempDir dir;
    WriteFile(dir.path() + "long.wav", Wave(1000, 1, 3600));
    WriteFile(dir.path() + "short.wav", Wave(8000, 1, 1));
    WriteFile(dir.path() + "music.wav", "OggS" + std::string(64, '\0'));
    SdlPlatform platform({}, ZORBO_TEST_BUILD_DIR);
    ASSERT_TRUE(platform.OpenAudio());
    std::string error;
    EXPECT_FALSE(platform.LoadSound(1, dir.path() + "long.wav", error));
    EXPECT_EQ(error, "the sound lasts 3600 s; at most 60 s is read");
    EXPECT_FALSE(platform.LoadSound(2, dir.path() + "music.wav", error));
    EXPECT_EQ(error, "is not a WAVE file");
    EXPECT_TRUE(platform.LoadSound(3, dir.path() + "short.wav", error)) << error;
    platform.CloseAudio();
}

namespace {
// A platform on which memory runs out while one sound is loaded.
class NoMemoryForSound : public HeadlessPlatform {
public:
    bool LoadSound(int number, const std::string& file, std::string& error) override
    {
        if (number == 3)
            throw std::bad_alloc();
        return HeadlessPlatform::LoadSound(number, file, error);
    }
};
} // namespace

TEST(MediaLimits, MemoryRunningOutWhileLoadingEndsTheGameNamingTheFile)
{
    test::GameData data;
    NoMemoryForSound platform;
    Settings settings;
    settings.DataPath = data.path();
    GameWindow game(platform, settings);
    game.Form_Load();
    ASSERT_TRUE(game.Failed());
    EXPECT_EQ(game.Failure(), "there is not enough memory to load " + data.path() + "m003.wav");
}

TEST(MediaBudget, CountsWhatFitsAndRefusesWhatWouldCrossIt)
{
    EXPECT_EQ(BitmapDecodedBytes(RleBitmap(4096, -4096)), uint64_t{64} << 20);
    EXPECT_EQ(BitmapDecodedBytes(CoreBitmap(300, 200)), 300u * 200u * 4u);
    EXPECT_EQ(BitmapDecodedBytes("BM"), 0u);
    // One second at 22.05 kHz mono is reckoned at the most a device is opened at.
    EXPECT_EQ(WaveDecodedBytes(Wave(22050, 1, 1)), 48000u * 4u);
    EXPECT_EQ(WaveDecodedBytes(Wave(48000, 2, 2)), 2u * 48000u * 4u);
    EXPECT_EQ(WaveDecodedBytes("RIFF"), 0u);

    MediaBudget budget(10 << 20);
    EXPECT_EQ(budget.Take(6 << 20), "");
    EXPECT_EQ(budget.Take(5 << 20), "its 5 MB decoded would take the data folder's pictures and sounds past 10 MB, "
                                    "the most read");
    EXPECT_EQ(budget.Used(), uint64_t{6} << 20) << "a refused file costs nothing";
    EXPECT_EQ(budget.Take(4 << 20), "") << "a later file that fits is read";
    EXPECT_EQ(budget.Take(1), "its 1 MB decoded would take the data folder's pictures and sounds past 10 MB, "
                              "the most read");
    EXPECT_EQ(budget.Take(UINT64_MAX), "its 17592186044416 MB decoded would take the data folder's pictures and "
                                       "sounds past 10 MB, the most read");
}

// The game's own pictures and sounds stay far inside the budget, reckoned as the game does.
TEST(MediaBudget, TheStandardDataTakesLittleOfIt)
{
    uint64_t total = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZORBO_TEST_DATA_DIR)) {
        const std::string name = entry.path().filename().string();
        const std::string bytes = test::FileBytes(entry.path().string());
        if (name.ends_with(".bmp"))
            total += BitmapDecodedBytes(bytes);
        else if (name.ends_with(".wav"))
            total += WaveDecodedBytes(bytes);
        else if (name.ends_with(".ogg"))
            total += bytes.size();
    }
    EXPECT_GT(total, uint64_t{1} << 20);
    EXPECT_LT(total, kMaxDecodedMediaBytes / 16);
}

// A data folder of 116 legal-size pictures: the game used to decode them all (7.6 GB, a
// minute before the first frame). Now those past the budget are named and left undecoded.
TEST(MediaBudget, ADataFolderOfManyLargePicturesIsRefusedByName)
{
    test::GameData data;
    std::vector<std::string> pictures;
    for (const auto& entry : std::filesystem::directory_iterator(data.path())) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".bmp")) {
            WriteFile(entry.path().string(), RleBitmap(kMaxPictureSide, kMaxPictureSide));
            pictures.push_back(entry.path().string());
        }
    }
    ASSERT_GE(pictures.size(), 100u);
    test::Warnings warnings;
    HeadlessPlatform platform;
    Settings settings;
    settings.DataPath = data.path();
    GameWindow game(platform, settings);
    game.Startup();
    ASSERT_FALSE(game.Failed()) << game.Failure();
    const uint64_t each = BitmapDecodedBytes(RleBitmap(kMaxPictureSide, kMaxPictureSide));
    const size_t fit = static_cast<size_t>(kMaxDecodedMediaBytes / each);
    size_t refused = 0;
    for (const std::string& file : pictures)
        refused += static_cast<size_t>(warnings.Count("bitmap " + file + ": its 64 MB decoded would take"));
    // Pictures the game does not load (the title, the icon) are neither read nor refused.
    EXPECT_GE(refused, pictures.size() - fit - 3);
    EXPECT_LE(refused, pictures.size() - fit);
}
