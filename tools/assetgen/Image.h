// Plain RGB images and the two file formats the asset tools write: 24-bit BMP (what the
// game loads) and PNG (for contact sheets a reviewer opens in any viewer).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorbo::assets {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Pure black is the colour key of every surface in the game.
inline constexpr Rgb kTransparent{0, 0, 0};

struct Image {
    int w = 0;
    int h = 0;
    std::vector<Rgb> px;

    Image() = default;
    Image(int width, int height, Rgb fill = kTransparent);

    Rgb& at(int x, int y) { return px[static_cast<std::size_t>(y * w + x)]; }
    const Rgb& at(int x, int y) const { return px[static_cast<std::size_t>(y * w + x)]; }
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }

    // Copies src into this image with its top-left at (dx, dy), clipped. With keyed set,
    // black source pixels are skipped, as the game's colour-keyed blit does.
    void blit(const Image& src, int dx, int dy, bool keyed);
    // Same, each source pixel drawn as a scale x scale block.
    void blit_scaled(const Image& src, int dx, int dy, int scale, bool keyed);
    void fill_rect(int x, int y, int width, int height, Rgb c);
    Image crop(int x, int y, int width, int height) const;
    Image mirrored() const;
    Image flipped() const;
    bool all_transparent() const;

    friend bool operator==(const Image&, const Image&) = default;
};

using Bytes = std::vector<std::uint8_t>;

// 24-bit uncompressed BI_RGB, bottom-up rows padded to four bytes.
Bytes encode_bmp(const Image& img);
// Reads the 24-bit BMPs written above (and any bottom-up or top-down 24-bit BI_RGB file).
Image decode_bmp(const Bytes& data);
// Truecolour PNG with stored (uncompressed) deflate blocks: no compression library needed.
// With keyed set, black is marked transparent (for icons on any background).
Bytes encode_png(const Image& img, bool keyed = false);
// Each factor x factor block becomes one pixel: the mean of its coloured pixels, or
// transparent when fewer than half of them are coloured.
Image shrink(const Image& img, int factor);

Bytes read_file(const std::string& path);
void write_file(const std::string& path, const Bytes& data);

}  // namespace zorbo::assets
