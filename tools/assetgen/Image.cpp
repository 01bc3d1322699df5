#include "Image.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zorbo::assets {

Image::Image(int width, int height, Rgb fill)
    : w(width), h(height), px(static_cast<std::size_t>(width * height), fill) {}

void Image::blit(const Image& src, int dx, int dy, bool keyed) { blit_scaled(src, dx, dy, 1, keyed); }

void Image::blit_scaled(const Image& src, int dx, int dy, int scale, bool keyed) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) {
            const Rgb c = src.at(x, y);
            if (keyed && c == kTransparent) continue;
            fill_rect(dx + x * scale, dy + y * scale, scale, scale, c);
        }
}

void Image::fill_rect(int x, int y, int width, int height, Rgb c) {
    for (int yy = std::max(y, 0); yy < std::min(y + height, h); ++yy)
        for (int xx = std::max(x, 0); xx < std::min(x + width, w); ++xx) at(xx, yy) = c;
}

Image Image::crop(int x, int y, int width, int height) const {
    Image out(width, height);
    for (int yy = 0; yy < height; ++yy)
        for (int xx = 0; xx < width; ++xx)
            if (inside(x + xx, y + yy)) out.at(xx, yy) = at(x + xx, y + yy);
    return out;
}

Image Image::mirrored() const {
    Image out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.at(w - 1 - x, y) = at(x, y);
    return out;
}

Image Image::flipped() const {
    Image out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) out.at(x, h - 1 - y) = at(x, y);
    return out;
}

bool Image::all_transparent() const {
    return std::all_of(px.begin(), px.end(), [](Rgb c) { return c == kTransparent; });
}

namespace {

void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xff));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}
void put32be(Bytes& b, std::uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>((v >> s) & 0xff));
}
std::uint32_t get16(const Bytes& b, std::size_t o) {
    if (o + 2 > b.size()) throw std::runtime_error("bmp: truncated");
    return static_cast<std::uint32_t>(b[o] | (b[o + 1] << 8));
}
std::uint32_t get32(const Bytes& b, std::size_t o) { return get16(b, o) | (get16(b, o + 2) << 16); }

}  // namespace

Bytes encode_bmp(const Image& img) {
    const std::uint32_t row = static_cast<std::uint32_t>((img.w * 3 + 3) & ~3);
    const std::uint32_t data_size = row * static_cast<std::uint32_t>(img.h);
    Bytes b;
    b.reserve(54 + data_size);
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + data_size);
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(img.w));
    put32(b, static_cast<std::uint32_t>(img.h));
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);  // BI_RGB
    put32(b, data_size);
    put32(b, 2835);  // 72 dpi
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = img.h - 1; y >= 0; --y) {
        std::uint32_t n = 0;
        for (int x = 0; x < img.w; ++x, n += 3) {
            const Rgb c = img.at(x, y);
            b.push_back(c.b);
            b.push_back(c.g);
            b.push_back(c.r);
        }
        for (; n < row; ++n) b.push_back(0);
    }
    return b;
}

Image decode_bmp(const Bytes& d) {
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') throw std::runtime_error("bmp: not a BMP file");
    const std::uint32_t offset = get32(d, 10);
    const int w = static_cast<int>(get32(d, 18));
    const int raw_h = static_cast<int>(get32(d, 22));
    if (get16(d, 28) != 24 || get32(d, 30) != 0) throw std::runtime_error("bmp: only 24-bit BI_RGB is read");
    const bool bottom_up = raw_h > 0;
    const int h = bottom_up ? raw_h : -raw_h;
    if (w <= 0 || h <= 0 || w > 16384 || h > 16384) throw std::runtime_error("bmp: bad size");
    const std::size_t row = static_cast<std::size_t>((w * 3 + 3) & ~3);
    if (offset + row * static_cast<std::size_t>(h) > d.size()) throw std::runtime_error("bmp: truncated pixels");
    Image img(w, h);
    for (int y = 0; y < h; ++y) {
        const std::size_t base = offset + row * static_cast<std::size_t>(bottom_up ? h - 1 - y : y);
        for (int x = 0; x < w; ++x) {
            const std::size_t p = base + static_cast<std::size_t>(x) * 3;
            img.at(x, y) = Rgb{d[p + 2], d[p + 1], d[p]};
        }
    }
    return img;
}

namespace {

std::uint32_t crc32(const std::uint8_t* p, std::size_t n, std::uint32_t crc = 0) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xff] ^ (crc >> 8);
    return ~crc;
}

void png_chunk(Bytes& out, const char* type, const Bytes& body) {
    put32be(out, static_cast<std::uint32_t>(body.size()));
    Bytes tagged(type, type + 4);
    tagged.insert(tagged.end(), body.begin(), body.end());
    out.insert(out.end(), tagged.begin(), tagged.end());
    put32be(out, crc32(tagged.data(), tagged.size()));
}

}  // namespace

Image shrink(const Image& img, int factor) {
    Image out(img.w / factor, img.h / factor);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            int r = 0, g = 0, b = 0, n = 0;
            for (int dy = 0; dy < factor; ++dy)
                for (int dx = 0; dx < factor; ++dx) {
                    const Rgb c = img.at(x * factor + dx, y * factor + dy);
                    if (c == kTransparent) continue;
                    r += c.r, g += c.g, b += c.b, ++n;
                }
            if (2 * n < factor * factor) continue;
            Rgb mean{static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n), static_cast<std::uint8_t>(b / n)};
            // A mean of dark pixels must not turn into the transparent colour.
            if (mean == kTransparent) mean = Rgb{1, 1, 1};
            out.at(x, y) = mean;
        }
    return out;
}

Bytes encode_png(const Image& img, bool keyed) {
    Bytes raw;
    raw.reserve(static_cast<std::size_t>(img.h * (img.w * 3 + 1)));
    for (int y = 0; y < img.h; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < img.w; ++x) {
            raw.push_back(img.at(x, y).r);
            raw.push_back(img.at(x, y).g);
            raw.push_back(img.at(x, y).b);
        }
    }
    Bytes z{0x78, 0x01};
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t v : raw) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - pos);
        z.push_back(pos + n == raw.size() ? 1 : 0);
        put16(z, static_cast<std::uint32_t>(n));
        put16(z, static_cast<std::uint32_t>(~n & 0xffff));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                 raw.begin() + static_cast<std::ptrdiff_t>(pos + n));
        pos += n;
    } while (pos < raw.size());
    put32be(z, (b << 16) | a);

    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    Bytes ihdr;
    put32be(ihdr, static_cast<std::uint32_t>(img.w));
    put32be(ihdr, static_cast<std::uint32_t>(img.h));
    ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
    png_chunk(out, "IHDR", ihdr);
    if (keyed) png_chunk(out, "tRNS", Bytes(6, 0));  // 16-bit samples of the colour black
    png_chunk(out, "IDAT", z);
    png_chunk(out, "IEND", {});
    return out;
}

Bytes read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void write_file(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!out) throw std::runtime_error("write failed: " + path);
}

}  // namespace zorbo::assets
