// zorbo_contactsheet DATA_DIR OUT.png: every strip frame with its index and every tile with
// its code on one sheet, for reviewing the artwork at a glance.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

#include "assetgen/Art.h"
#include "assetgen/Generate.h"
#include "assetgen/Image.h"

using namespace zorbo::assets;

namespace {

constexpr int kScale = 2;
const Rgb kPaper{232, 232, 240}, kInk{40, 36, 60}, kCell{150, 160, 185}, kHead{120, 40, 90};

// Frames sit on a chequer so that transparent (black) pixels read as "nothing".
// Two 320 x 240 views built from the generated files, as the game would compose them: the
// truest check of whether everything reads at 1x and sits well together.
Image scene(const std::string& dir, bool night) {
    const auto tile = [&](int code) {
        std::string n = std::to_string(code);
        n.insert(0, 3 - n.size(), '0');
        return decode_bmp(read_file(dir + "/m" + n + ".bmp"));
    };
    const auto frame = [&](int sheet, int f) {
        const SheetLayout& l = *std::find_if(sheet_layouts().begin(), sheet_layouts().end(), [&](const SheetLayout& x) {
            return std::string(x.file) == "game_" + std::to_string(sheet) + ".bmp";
        });
        const Image strip = decode_bmp(read_file(dir + "/" + l.file));
        return strip.crop(f % l.columns * l.frame_w, f / l.columns * l.frame_h, l.frame_w, l.frame_h);
    };
    // One character per cell; codes by letter below.
    const char* day[15] = {
        "....................", "....................", "...123........123...", "....................",
        "....................", "............ww......", "....................", "..........bb........",
        "....hBhh.....H......", "....................", "....................", "....456.....780..pq.",
        "...........7fff0.rs.", "GGGGGGGGG^^GGGGGGGGG", "DDDDDDDDDvvDDDDDDDDD"};
    const char* dark[15] = {
        "KKKKKKKKKKKKKKKKKKKK", "####################", "#..t.......t......c#", "#..................#",
        "#.........i........#", "#.....ccc..........#", "#..................#", "#.........bb.......#",
        "#......ccXcc.......#", "#..................#", "#..................#", "#.........P.....Z..#",
        "#..............Z...#", "FFFFFF~~~~FFFFFFFFFF", "CCCCCC%%%%CCCCCCCCCC"};
    const auto code_of = [&](char c) -> int {
        switch (c) {
            case '1': return 1; case '2': return 2; case '3': return 3; case '4': return 4; case '5': return 5;
            case '6': return 6; case '7': return 7; case '8': return 8; case '0': return 10; case 'h': return 28;
            case 'B': return 33; case 'H': return 33; case 'G': return 26; case 'D': return 27; case '^': return 15;
            case 'v': return 16; case '~': return 24; case '%': return 25; case '#': return 9; case 'F': return 72;
            case 'C': return 40; case 'c': return 39; case 't': return 19; case 'X': return 75; case 'K': return 41;
            case 'i': return 22; case 'f': return 11; case 'p': return 30; case 'q': return 31; case 'r': return 32; case 's': return 34;
            default: return night ? 9 : 0;
        }
    };
    Image img(320, 240);
    for (int r = 0; r < 15; ++r)
        for (int c = 0; c < 20; ++c) {
            const char ch = (night ? dark : day)[r][c];
            img.blit(tile(code_of(ch)), c * 16, r * 16, false);
        }
    const auto put = [&](int sheet, int f, int x, int y) { img.blit(frame(sheet, f), x, y, true); };
    if (!night) {
        put(8, 0, 80, 128);
        put(8, 9, 208, 128);
        put(9, 0, 192, 80);
        put(9, 2, 208, 80);
        put(9, 6, 160, 112);
        put(1, 0, 48, 192);
        put(1, 16, 120, 96);
        put(2, 0, 176, 192);
        put(6, 1, 112, 184);
        put(4, 9, 230, 184);
        put(7, 1, 40, 120);
        put(5, 13, 280, 152);
        put(16, 0, 144, 112);
        put(15, 1, 250, 40);
        put(19, 0, 140, 100);
    } else {
        put(18, 2, 96, 176);
        put(14, 1, 240, 176);
        put(12, 6, 270, 192);
        put(17, 1, 48, 184);
        put(17, 2, 64, 184);
        put(1, 21, 130, 192);
        put(19, 0, 118, 170);
        put(11, 0, 200, 120);
        put(11, 2, 212, 100);
        put(11, 4, 224, 130);
        put(11, 6, 236, 110);
        for (int m = 0; m < 6; ++m) put(13, m % 4, 160 + 4 + m * 8, 128 + 4 - m * 5);
        put(2, 7, 200, 144);
    }
    const Image border = decode_bmp(read_file(dir + "/game_10.bmp"));
    img.blit(border, 0, 0, false);
    img.blit(border, 304, 0, false);
    return img;
}

void chequer(Image& img, int x, int y, int w, int h) {
    for (int yy = 0; yy < h; ++yy)
        for (int xx = 0; xx < w; ++xx)
            img.fill_rect(x + xx, y + yy, 1, 1, ((xx / 4 + yy / 4) % 2) ? kCell : Rgb{170, 180, 205});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR OUT.png\n", argv[0]);
        return 2;
    }
    try {
        const std::string dir = argv[1];
        const int W = 1000;
        Image sheet(W, 3200, kPaper);
        int y = 4;
        for (const SheetLayout& l : sheet_layouts()) {
            const Image strip = decode_bmp(read_file(dir + "/" + l.file));
            draw_label(sheet, 4, y, std::string(l.file).substr(5, std::string(l.file).find('.') - 5), kHead);
            y += 8;
            const int cw = l.frame_w * kScale + 6, ch = l.frame_h * kScale + 10;
            const int per_row = std::max(1, (W - 8) / cw);
            for (int f = 0; f < l.frames; ++f) {
                const int cx = 4 + (f % per_row) * cw, cy = y + (f / per_row) * ch;
                const Image fr = strip.crop(f % l.columns * l.frame_w, f / l.columns * l.frame_h, l.frame_w, l.frame_h);
                chequer(sheet, cx, cy, l.frame_w * kScale, l.frame_h * kScale);
                sheet.blit_scaled(fr, cx, cy, kScale, true);
                draw_label(sheet, cx, cy + l.frame_h * kScale + 2, std::to_string(f), kInk);
            }
            y += (l.frames + per_row - 1) / per_row * ch + 4;
            if (l.frame_h == 240) y += 0;
        }
        draw_label(sheet, 4, y, "TILES", kHead);
        y += 8;
        const int cw = 16 * kScale + 8, ch = 16 * kScale + 10;
        for (int code = 0; code < 96; ++code) {
            std::string name = std::to_string(code);
            name.insert(0, 3 - name.size(), '0');
            name.insert(0, 1, 'm');
            name += ".bmp";
            const Image t = decode_bmp(read_file(dir + "/" + name));
            const int cx = 4 + (code % 24) * cw, cy = y + (code / 24) * ch;
            sheet.blit_scaled(t, cx, cy, kScale, false);
            draw_label(sheet, cx, cy + 16 * kScale + 2, std::to_string(code), kInk);
        }
        y += 4 * ch + 4;
        const Image title = decode_bmp(read_file(dir + "/title.bmp"));
        const Image icon = decode_bmp(read_file(dir + "/icon.bmp"));
        sheet.blit(title, 4, y, false);
        chequer(sheet, 230, y, 48, 48);
        sheet.blit(icon, 230, y, true);
        sheet.blit_scaled(icon, 290, y, 2, false);
        y += title.h + 4;
        for (int n = 0; n < 2; ++n) {
            const Image v = scene(dir, n == 1);
            sheet.blit(v, 4 + n * 330, y, false);
        }
        y += 244;
        for (int n = 0; n < 2; ++n) sheet.blit_scaled(scene(dir, n == 1), 4, y + n * 484, 2, false);
        y += 968;
        write_file(argv[2], encode_png(sheet.crop(0, 0, W, y)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorbo_contactsheet: %s\n", e.what());
        return 1;
    }
    return 0;
}
