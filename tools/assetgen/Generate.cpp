#include "Generate.h"
#include "Text.h"
#include "game/Sounds.h"
#include "level/Codes.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace zorbo::assets {

namespace fs = std::filesystem;

namespace {

std::string read_text(const fs::path& p) {
    const Bytes b = read_file(p.string());
    return std::string(b.begin(), b.end());
}

// "m007"-style data file stems.
std::string m_name(int n) {
    std::string s = std::to_string(n);
    s.insert(0, 3 - s.size(), '0');
    s.insert(0, 1, 'm');
    return s;
}

}  // namespace

Generated generate(const std::string& assets_dir) {
    const fs::path root(assets_dir);
    Generated g;
    g.palette = parse_palette(read_text(root / "palette.txt"), "palette.txt");

    for (const SheetLayout& l : sheet_layouts()) {
        const std::string stem = std::string(l.file).substr(0, std::string_view(l.file).find('.'));
        if (stem == "game_10") continue;  // drawn in code
        const fs::path p = root / "sprites" / (stem + ".txt");
        g.sheets[stem] = parse_sheet(read_text(p), "sprites/" + stem + ".txt", g.palette);
        add_rim(g.sheets[stem], g.palette.lookup(kRimLetter, "palette.txt"));
    }
    Sheet border;
    border.layout = sheet_layouts()[8];
    border.frames = {draw_border_strip()};
    g.sheets["game_10"] = border;

    Grids grids;
    std::vector<fs::path> grid_files;
    for (const auto& entry : fs::directory_iterator(root / "tiles"))
        if (entry.path().extension() == ".txt" && entry.path().filename() != "catalogue.txt")
            grid_files.push_back(entry.path());
    std::sort(grid_files.begin(), grid_files.end());
    for (const auto& p : grid_files) parse_grids(read_text(p), "tiles/" + p.filename().string(), g.palette, grids);
    g.tiles = parse_catalogue(read_text(root / "tiles" / "catalogue.txt"), "tiles/catalogue.txt", g.palette, grids,
                              g.sheets);
    // The item pictures with see-through pixels are drawn as sprites too.
    for (TileEntry& t : g.tiles)
        if (std::count(t.picture.px.begin(), t.picture.px.end(), kTransparent) > 0) {
            Sheet item;
            item.frames = {t.picture};
            add_rim(item, g.palette.lookup(kRimLetter, "palette.txt"));
            t.picture = item.frames.front();
        }

    // A reached checkpoint's flag, raised and lit over each flag's background.
    const auto lit = grids.find("flag_lit");
    if (lit == grids.end()) fail("tiles", "no tile grid named flag_lit");
    Image flags(16 * static_cast<int>(zorbo::kCheckpointFlags.size()), 16);
    for (std::size_t i = 0; i < zorbo::kCheckpointFlags.size(); ++i) {
        Image cell = g.tiles[static_cast<std::size_t>(zorbo::kCheckpointFlags[i].background)].picture;
        cell.blit(lit->second, 0, 0, true);
        flags.blit(cell, 16 * static_cast<int>(i), 0, false);
    }

    for (int n = 1; n <= zorbo::Sound::Count; ++n) {
        const std::string name = m_name(n);
        g.sounds[n] = parse_recipe(read_text(root / "sounds" / (name + ".txt")), "sounds/" + name + ".txt");
    }

    for (const SheetLayout& l : sheet_layouts()) {
        const std::string stem = std::string(l.file).substr(0, std::string_view(l.file).find('.'));
        g.files.push_back({l.file, encode_bmp(g.sheets.at(stem).strip())});
    }
    for (const TileEntry& t : g.tiles) g.files.push_back({m_name(t.code) + ".bmp", encode_bmp(t.picture)});
    for (const auto& [n, r] : g.sounds) g.files.push_back({m_name(n) + ".wav", encode_wav(render(r), r.rate)});
    g.files.push_back({"checkpoint.bmp", encode_bmp(flags)});
    g.files.push_back({"title.bmp", encode_bmp(draw_title(g))});
    g.files.push_back({"icon.bmp", encode_bmp(draw_icon(g))});
    return g;
}

void write_outputs(const Generated& g, const std::string& out_dir) {
    fs::create_directories(out_dir);
    for (const OutputFile& f : g.files) write_file((fs::path(out_dir) / f.name).string(), f.data);
}

// ---------------------------------------------------------------------------------------

namespace {

Rgb mix(Rgb a, Rgb b, double t) {
    const auto m = [t](int x, int y) { return static_cast<std::uint8_t>(std::lround(x + (y - x) * t)); };
    return Rgb{m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

// 3 x 5 glyphs, one string of 15 cells per character ('#' = ink).
const char* glyph(char c) {
    switch (c) {
        case '0': return "####.##.##.####";
        case '1': return ".#.##..#..#.###";
        case '2': return "###..#####..###";
        case '3': return "###..####..####";
        case '4': return "#.##.####..#..#";
        case '5': return "####..###..####";
        case '6': return "####..####.####";
        case '7': return "###..#..#..#..#";
        case '8': return "####.#####.####";
        case '9': return "####.####..####";
        case 'G': return "####..#.##.####";
        case 'A': return "####.#####.##.#";
        case 'M': return "#.####.##.##.##";
        case 'E': return "####..##.#..###";
        case 'T': return "###.#..#..#..#.";
        case 'I': return "###.#..#..#.###";
        case 'L': return "#..#..#..#..###";
        case 'S': return "####..###..####";
        case 'O': return "####.##.##.####";
        case 'U': return "#.##.##.##.####";
        case 'N': return "####.##.##.##.#";
        case 'D': return "##.#.##.##.###.";
        case '_': return "............###";
        case '-': return "......###......";
        default: return "...............";
    }
}

// 5 x 7 capitals for the title logo.
const char* big_glyph(char c) {
    switch (c) {
        case 'Z': return "#####....#...#...#...#...#....#####";
        case 'O': return ".###.#...##...##...##...##...#.###.";
        case 'R': return "####.#...##...#####.#..#.#...##...#";
        case 'B': return "####.#...##...#####.#...##...#####.";
        default: return "...................................";
    }
}

}  // namespace

void draw_label(Image& img, int x, int y, const std::string& text, Rgb colour) {
    for (char c : text) {
        const char* gl = glyph(c);
        for (int i = 0; i < 15; ++i)
            if (gl[i] == '#') img.fill_rect(x + i % 3, y + i / 3, 1, 1, colour);
        x += 4;
    }
}

Image draw_border_strip() {
    // A carved frame column: dark violet stone with a lit left edge, a shadowed right
    // edge and a gold stud every 16 rows, so the view looks framed rather than cut off.
    const Rgb face{52, 40, 92}, light{96, 80, 150}, shade{30, 22, 56}, groove{40, 30, 74};
    const Rgb gold{250, 200, 60}, gold_lt{255, 246, 170}, gold_dk{170, 110, 30};
    Image img(16, 240, face);
    for (int y = 0; y < 240; ++y) {
        img.at(0, y) = shade;
        img.at(1, y) = light;
        img.at(14, y) = shade;
        img.at(15, y) = Rgb{20, 14, 40};
        img.at(4, y) = groove;
        img.at(11, y) = groove;
        const int r = y % 16;
        if (r == 0) img.fill_rect(2, y, 12, 1, shade);
        if (r == 1) img.fill_rect(2, y, 12, 1, light);
        // Diamond stud centred at (7.5, 8.5) of each 16-row block.
        const int dy = std::abs(r - 8);
        if (dy <= 3) {
            const int half = 3 - dy;
            for (int x = 7 - half; x <= 8 + half; ++x) {
                Rgb c = gold;
                if (x < 7 && r < 8) c = gold_lt;
                else if (x > 8 || r > 9) c = gold_dk;
                img.at(x, y) = c;
            }
        }
    }
    return img;
}

Image draw_title(const Generated& g) {
    const int W = 215, H = 181;
    Image img(W, H);
    // Sky: a few flat bands with a dithered seam between them.
    const Rgb top{70, 140, 240}, bottom{170, 220, 255};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double t = std::clamp(y / 140.0, 0.0, 1.0);
            const int band = static_cast<int>(t * 6.0 + ((x + y) % 2) * 0.5);
            img.at(x, y) = mix(top, bottom, band / 6.0);
        }
    const auto tile = [&](int code) -> const Image& { return g.tiles.at(static_cast<std::size_t>(code)).picture; };
    const auto frame = [&](const char* sheet, int f) -> const Image& {
        return g.sheets.at(sheet).frames.at(static_cast<std::size_t>(f));
    };
    // Distant hills as soft green mounds.
    for (int x = 0; x < W; ++x) {
        const double h1 = 30 + 14 * std::sin(x / 23.0) + 8 * std::sin(x / 9.0 + 1.3);
        for (int y = H - 32 - static_cast<int>(h1); y < H - 32; ++y)
            img.at(x, y) = (y == H - 32 - static_cast<int>(h1)) ? Rgb{120, 220, 110} : Rgb{80, 180, 90};
    }
    // Clouds from the cloud tiles, doubled.
    for (int c : {0, 1}) {
        const int cx = c ? 130 : 14, cy = c ? 58 : 62;
        img.blit_scaled(tile(1), cx, cy, 2, false);
        img.blit_scaled(tile(2), cx + 32, cy, 2, false);
        img.blit_scaled(tile(3), cx + 64, cy, 2, false);
    }
    // Ground: two rows of grass and earth across the bottom.
    for (int x = 0; x < W; x += 16) {
        img.blit(tile(26), x, H - 32, false);
        img.blit(tile(27), x, H - 16, false);
    }
    // Boxes, coins, the hero mid-jump and a pair of foes.
    img.blit_scaled(frame("game_8", 0), 20, 92, 2, true);
    img.blit_scaled(frame("game_8", 2), 52, 92, 2, true);
    img.blit_scaled(frame("game_9", 0), 150, 96, 2, true);
    img.blit_scaled(frame("game_9", 1), 178, 96, 2, true);
    img.blit_scaled(frame("game_1", 16), 88, 84, 3, true);
    img.blit_scaled(frame("game_2", 0), 160, H - 64, 2, true);
    img.blit_scaled(frame("game_12", 0), 14, H - 64, 2, true);

    // Logo: "ZORBO" in 5 x 7 capitals, 5 pixels per dot, with an outline and a drop shadow.
    const std::string word = "ZORBO";
    const int scale = 5, gap = 5;
    const int lw = static_cast<int>(word.size()) * 5 * scale + (static_cast<int>(word.size()) - 1) * gap;
    const int x0 = (W - lw) / 2, y0 = 10;
    const Rgb outline{40, 20, 70}, shadow{90, 60, 150}, fill_top{255, 240, 120}, fill_bot{250, 150, 40};
    for (int pass = 0; pass < 3; ++pass)
        for (std::size_t i = 0; i < word.size(); ++i) {
            const char* gl = big_glyph(word[i]);
            const int lx = x0 + static_cast<int>(i) * (5 * scale + gap);
            for (int c = 0; c < 35; ++c) {
                if (gl[c] != '#') continue;
                const int px = lx + c % 5 * scale, py = y0 + c / 5 * scale;
                if (pass == 0) img.fill_rect(px + 3, py + 4, scale, scale, shadow);
                if (pass == 1) img.fill_rect(px - 2, py - 2, scale + 4, scale + 4, outline);
                if (pass == 2)
                    for (int yy = 0; yy < scale; ++yy)
                        img.fill_rect(px, py + yy, scale, 1, mix(fill_top, fill_bot, (c / 5 * scale + yy) / 35.0));
            }
        }
    return img;
}

std::vector<OutputFile> desktop_icons(const Generated& g) {
    const Image icon = draw_icon(g);
    std::vector<OutputFile> files;
    auto add = [&](const Image& img) {
        files.push_back({std::to_string(img.w) + "x" + std::to_string(img.h) + "/zorbo.png", encode_png(img, true)});
    };
    add(shrink(icon, 3));
    add(shrink(icon, 2));
    add(icon);
    for (int scale : {2, 4}) {
        Image big(icon.w * scale, icon.h * scale);
        big.blit_scaled(icon, 0, 0, scale, false);
        add(big);
    }
    return files;
}

Image draw_icon(const Generated& g) {
    // The powered-up hero on a round badge; black corners stay transparent.
    Image img(48, 48);
    const Rgb ring{60, 36, 110}, disc{120, 200, 255}, disc_lt{180, 232, 255};
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x) {
            const double d = std::hypot(x - 23.5, y - 23.5);
            if (d < 22.0) img.at(x, y) = (y < 20 && d < 19.0) ? disc_lt : disc;
            if (d >= 22.0 && d < 24.0) img.at(x, y) = ring;
        }
    img.blit_scaled(g.sheets.at("game_1").frames.at(14), 8, 6, 2, true);
    return img;
}

}  // namespace zorbo::assets
