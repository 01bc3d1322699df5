// The generated Data folder: names, layouts, pictures, and that the generator
// turns the same sources into the same bytes.
#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <tuple>
#include <utility>
#include <string>
#include <vector>

#include "assetgen/Art.h"
#include "assetgen/Generate.h"
#include "assetgen/Image.h"
#include "assetgen/Synth.h"
#include "level/Codes.h"

namespace {

using namespace zorbo::assets;
namespace fs = std::filesystem;

const std::string kData = ZORBO_TEST_DATA_DIR;
const std::string kSources = ZORBO_ASSETS_SOURCE_DIR;

std::string m_file(int n, const char* ext) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "m%03d.%s", n, ext);
    return buf;
}

// Loads a bitmap the way the game does (SDL) and returns its pixels as an Image.
Image load_with_sdl(const std::string& name) {
    SDL_Surface* raw = SDL_LoadBMP((kData + "/" + name).c_str());
    if (!raw) {
        ADD_FAILURE() << name << ": " << SDL_GetError();
        return Image();
    }
    EXPECT_EQ(raw->format->BitsPerPixel, 24) << name;
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(raw, SDL_PIXELFORMAT_RGB24, 0);
    SDL_FreeSurface(raw);
    Image img(rgb->w, rgb->h);
    const auto* bytes = static_cast<const std::uint8_t*>(rgb->pixels);
    for (int y = 0; y < rgb->h; ++y)
        for (int x = 0; x < rgb->w; ++x) {
            const std::uint8_t* p = bytes + y * rgb->pitch + x * 3;
            img.at(x, y) = Rgb{p[0], p[1], p[2]};
        }
    SDL_FreeSurface(rgb);
    return img;
}

Image frame_of(const Image& strip, const SheetLayout& l, int f) {
    return strip.crop(f % l.columns * l.frame_w, f / l.columns * l.frame_h, l.frame_w, l.frame_h);
}

const SheetLayout& layout(const std::string& file) {
    const auto& all = sheet_layouts();
    return *std::find_if(all.begin(), all.end(), [&](const SheetLayout& l) { return file == l.file; });
}

int top_row(const Image& img) {
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x)
            if (!(img.at(x, y) == kTransparent)) return y;
    return img.h;
}

bool has_black(const Image& img) {
    return std::any_of(img.px.begin(), img.px.end(), [](Rgb c) { return c == kTransparent; });
}

// WCAG relative luminance and contrast ratio.
double luminance(Rgb c) {
    const auto lin = [](std::uint8_t v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}

double contrast(Rgb a, Rgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colours that cover at least a sixth of a tile: what a sprite in front of it meets.
std::vector<Rgb> dominant_colours(const Image& tile) {
    std::map<std::tuple<int, int, int>, int> counts;
    for (Rgb c : tile.px) ++counts[{c.r, c.g, c.b}];
    std::vector<Rgb> out;
    for (const auto& [c, n] : counts)
        if (n * 6 >= static_cast<int>(tile.px.size()))
            out.push_back(Rgb{static_cast<std::uint8_t>(std::get<0>(c)), static_cast<std::uint8_t>(std::get<1>(c)),
                              static_cast<std::uint8_t>(std::get<2>(c))});
    return out;
}

// How a figure's edge meets one background colour: of its ring pixels (opaque, beside a
// see-through one), the share that reach 3 : 1 themselves, and the share where the ring or
// the pixel just inside it does (a two-tone ring: a pale rim that fades on the sky still
// has the dark line inside it).
struct EdgeContrast {
    double own = 0, two_tone = 0;
    int ring = 0;
};

EdgeContrast edge_contrast(const std::vector<Image>& figures, Rgb ground) {
    int own = 0, two_tone = 0, ring = 0;
    for (const Image& f : figures) {
        const auto opaque = [&f](int x, int y) { return f.inside(x, y) && !(f.at(x, y) == kTransparent); };
        const auto clear = [&f](int x, int y) { return f.inside(x, y) && f.at(x, y) == kTransparent; };
        const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
        for (int y = 0; y < f.h; ++y)
            for (int x = 0; x < f.w; ++x) {
                if (!opaque(x, y)) continue;
                bool edge = false;
                for (int d = 0; d < 4; ++d) edge = edge || clear(x + dx[d], y + dy[d]);
                if (!edge) continue;
                ++ring;
                const bool self = contrast(f.at(x, y), ground) >= 3.0;
                bool inner = false;
                for (int d = 0; d < 4; ++d)
                    inner = inner || (opaque(x + dx[d], y + dy[d]) && contrast(f.at(x + dx[d], y + dy[d]), ground) >= 3.0);
                own += self;
                two_tone += self || inner;
            }
    }
    return {ring ? double(own) / ring : 1.0, ring ? double(two_tone) / ring : 1.0, ring};
}

}  // namespace

TEST(AssetFiles, EveryBitmapExistsWithTheSizeOfItsLayout) {
    // The game loads exactly these strips; a wrong size shifts every frame.
    ASSERT_EQ(sheet_layouts().size(), 18u);
    for (const SheetLayout& l : sheet_layouts()) {
        const Image img = load_with_sdl(l.file);
        EXPECT_EQ(img.w, l.width()) << l.file;
        EXPECT_EQ(img.h, l.height()) << l.file;
    }
    const Image border = load_with_sdl("game_10.bmp");
    EXPECT_EQ(border.w, 16);
    EXPECT_EQ(border.h, 240);
    for (int n = 0; n < zorbo::Tile::Count; ++n) {
        const Image t = load_with_sdl(m_file(n, "bmp"));
        EXPECT_EQ(t.w, 16) << n;
        EXPECT_EQ(t.h, 16) << n;
    }
    const Image title = load_with_sdl("title.bmp");
    EXPECT_EQ(title.w, 215);
    EXPECT_EQ(title.h, 181);
    const Image icon = load_with_sdl("icon.bmp");
    EXPECT_EQ(icon.w, 48);
    EXPECT_EQ(icon.h, 48);
    EXPECT_FALSE(fs::exists(kData + "/game_3.bmp")) << "the game loads no game_3.bmp";
}

TEST(AssetPictures, NoFrameIsEmptyAndOpaquePicturesHaveNoHoles) {
    for (const SheetLayout& l : sheet_layouts()) {
        const Image strip = load_with_sdl(l.file);
        for (int f = 0; f < l.frames; ++f)
            EXPECT_FALSE(frame_of(strip, l, f).all_transparent()) << l.file << " frame " << f;
    }
    // The border strip and the tiles are copied without the colour key: black would show
    // as black. Only the item pictures that double as sprites are see-through.
    EXPECT_FALSE(has_black(load_with_sdl("game_10.bmp")));
    EXPECT_FALSE(has_black(load_with_sdl("title.bmp")));
    const std::set<int> sprite_pictures = {56, 57, 84};
    for (int n = 0; n < zorbo::Tile::Count; ++n) {
        const Image t = load_with_sdl(m_file(n, "bmp"));
        if (sprite_pictures.count(n)) {
            EXPECT_TRUE(has_black(t)) << n << " is drawn as a sprite and needs a see-through background";
            EXPECT_FALSE(t.all_transparent()) << n;
        } else {
            EXPECT_FALSE(has_black(t)) << "tile " << n;
        }
    }
}

TEST(AssetPictures, PoweredUpHeroDiffersAndStandsTaller) {
    const SheetLayout& l = layout("game_1.bmp");
    const Image strip = load_with_sdl(l.file);
    for (int f = 0; f < 14; ++f) {
        const Image small = frame_of(strip, l, f), big = frame_of(strip, l, f + 14);
        EXPECT_FALSE(small == big) << "frame " << f;
        EXPECT_LT(top_row(big), top_row(small)) << "frame " << f << " should look taller powered up";
    }
    // Facing matters: standing right and standing left must not be the same picture.
    EXPECT_FALSE(frame_of(strip, l, 0) == frame_of(strip, l, 7));
    // The three running frames are three different poses.
    EXPECT_FALSE(frame_of(strip, l, 4) == frame_of(strip, l, 5));
    EXPECT_FALSE(frame_of(strip, l, 5) == frame_of(strip, l, 6));
}

TEST(AssetPictures, AnimationsAndAlternateLooksAreDistinct) {
    struct Pair {
        const char* file;
        int a, b;
    };
    // Frames the game shows in turn, and each kind's alternate look.
    const Pair pairs[] = {{"game_2.bmp", 0, 1},  {"game_2.bmp", 0, 6},  {"game_4.bmp", 0, 6},  {"game_4.bmp", 4, 5},
                          {"game_7.bmp", 0, 1},  {"game_7.bmp", 0, 4},  {"game_8.bmp", 0, 7},  {"game_8.bmp", 0, 6},
                          {"game_8.bmp", 0, 3},  {"game_9.bmp", 0, 6},  {"game_9.bmp", 0, 3},  {"game_5.bmp", 17, 18},
                          {"game_12.bmp", 0, 1}, {"game_14.bmp", 0, 1}, {"game_15.bmp", 1, 2}, {"game_17.bmp", 0, 1},
                          {"game_18.bmp", 3, 4}, {"game_11.bmp", 0, 2}, {"game_11.bmp", 4, 6}, {"game_13.bmp", 0, 1}};
    for (const Pair& p : pairs) {
        const SheetLayout& l = layout(p.file);
        const Image strip = load_with_sdl(p.file);
        EXPECT_FALSE(frame_of(strip, l, p.a) == frame_of(strip, l, p.b)) << p.file << " " << p.a << "/" << p.b;
    }
    // The plant rises: each frame shows at least as much of it as the one before.
    const SheetLayout& pl = layout("game_5.bmp");
    const Image plant = load_with_sdl(pl.file);
    for (int f = 1; f < pl.frames; ++f)
        EXPECT_LE(top_row(frame_of(plant, pl, f)), top_row(frame_of(plant, pl, f - 1))) << "plant frame " << f;
    EXPECT_EQ(top_row(frame_of(plant, pl, 18)), 0);
    // The power-up's two looks are different pictures.
    EXPECT_FALSE(load_with_sdl("m056.bmp") == load_with_sdl("m084.bmp"));
}

TEST(AssetPictures, EverySpriteStandsOutOnEveryBackground) {
    // The grounds a sprite is seen against: open sky, night, and the castle and cave
    // scenery drawn on night.
    std::vector<Rgb> grounds;
    for (int code : {0, 9, 17, 18, 20, 21, 22})
        for (Rgb c : dominant_colours(load_with_sdl(m_file(code, "bmp"))))
            if (std::find(grounds.begin(), grounds.end(), c) == grounds.end()) grounds.push_back(c);
    ASSERT_GE(grounds.size(), 3u);
    // Every strip but the border, and the item pictures the game draws as sprites.
    std::vector<std::pair<std::string, std::vector<Image>>> sprites;
    for (const SheetLayout& l : sheet_layouts()) {
        if (std::string(l.file) == "game_10.bmp") continue;
        const Image strip = load_with_sdl(l.file);
        std::vector<Image> frames;
        for (int f = 0; f < l.frames; ++f) frames.push_back(frame_of(strip, l, f));
        sprites.emplace_back(l.file, frames);
    }
    for (int n : {56, 57, 84}) sprites.emplace_back(m_file(n, "bmp"), std::vector<Image>{load_with_sdl(m_file(n, "bmp"))});
    // Nine in ten, not all: a spark or a fragment's corner may blend in without losing the
    // shape, while an outline in the ground's own colour fails nearly every ring pixel.
    constexpr double kShare = 0.9;
    for (const auto& [name, frames] : sprites)
        for (Rgb g : grounds) {
            const EdgeContrast e = edge_contrast(frames, g);
            if (e.ring == 0) continue;  // a box fills its cell: nothing shows round it
            const std::string where =
                name + " on (" + std::to_string(g.r) + "," + std::to_string(g.g) + "," + std::to_string(g.b) + ")";
            EXPECT_GE(e.two_tone, kShare) << where << ": the edge is lost";
            // On a dark ground the rim itself must show: the figure must not shrink to its
            // lit inside (that is how the night swallowed every outline).
            if (luminance(g) < 0.1) {
                EXPECT_GE(e.own, kShare) << where << ": the outline vanishes";
            }
        }
}

TEST(AssetPictures, TheBlackIsNotDrawnInCastleStone) {
    // The Black hops in castles; a body in the stone's own colours hides it on the walls.
    const Image stone = load_with_sdl(m_file(40, "bmp"));
    const std::set<std::tuple<int, int, int>> stone_colours = [&] {
        std::set<std::tuple<int, int, int>> s;
        for (Rgb c : stone.px) s.insert({c.r, c.g, c.b});
        return s;
    }();
    const Image black = load_with_sdl("game_14.bmp");
    std::map<std::tuple<int, int, int>, int> counts;
    for (Rgb c : black.px)
        if (!(c == kTransparent)) ++counts[{c.r, c.g, c.b}];
    int in_stone = 0, total = 0;
    for (const auto& [c, n] : counts) total += n, in_stone += stone_colours.count(c) ? n : 0;
    EXPECT_LT(in_stone * 5, total) << in_stone << " of " << total << " pixels share the castle stone's colours";
}

TEST(AssetTiles, NoTwoTilesAreTheSame) {
    std::vector<Image> tiles;
    for (int n = 0; n < zorbo::Tile::Count; ++n) tiles.push_back(load_with_sdl(m_file(n, "bmp")));
    for (int a = 0; a < zorbo::Tile::Count; ++a)
        for (int b = a + 1; b < zorbo::Tile::Count; ++b) EXPECT_FALSE(tiles[a] == tiles[b]) << "tiles " << a << " and " << b;
}

TEST(AssetTiles, CatalogueClassesFollowTheMapRules) {
    const Generated g = generate(kSources);
    ASSERT_EQ(g.tiles.size(), zorbo::kCodes.size());
    for (const TileEntry& t : g.tiles) {
        EXPECT_EQ(t.code, &t - g.tiles.data());
        EXPECT_FALSE(t.description.empty()) << t.code;
        // The generator's reading of each class is the game's.
        EXPECT_EQ(to_string(t.cls), zorbo::ClassName(zorbo::kCodes[static_cast<std::size_t>(t.code)].cls)) << "code " << t.code;
    }
    // Each breakable brick flies apart in pieces of its own colour: the commonest colour of
    // its fragment frame's inside (within the outline and the rim every sprite has) must be
    // one of the brick tile's colours.
    const std::map<int, int> fragment_frame = {{39, 0}, {37, 2}, {28, 4}, {80, 6}};
    const Sheet& frags = g.sheets.at("game_11");
    for (const auto& [code, f] : fragment_frame) {
        std::map<std::tuple<int, int, int>, int> counts;
        const Image& piece = frags.frames[static_cast<std::size_t>(f)];
        const Rgb rim = g.palette.lookup(kRimLetter, "palette");
        const auto rimmed = [&](int x, int y) { return piece.inside(x, y) && piece.at(x, y) == rim; };
        for (int y = 0; y < piece.h; ++y)
            for (int x = 0; x < piece.w; ++x) {
                const Rgb c = piece.at(x, y);
                const bool outline = rimmed(x - 1, y) || rimmed(x + 1, y) || rimmed(x, y - 1) || rimmed(x, y + 1);
                if (!(c == kTransparent) && !(c == rim) && !outline) ++counts[{c.r, c.g, c.b}];
            }
        const auto top = std::max_element(counts.begin(), counts.end(),
                                          [](const auto& a, const auto& b) { return a.second < b.second; });
        const auto [r, gr, b] = top->first;
        const auto& tile = g.tiles[static_cast<std::size_t>(code)].picture.px;
        EXPECT_TRUE(std::find(tile.begin(), tile.end(), Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(gr),
                                                            static_cast<std::uint8_t>(b)}) != tile.end())
            << "brick " << code << " and fragment frame " << f;
    }
}

TEST(AssetGeneration, SameSourcesGiveTheSameBytes) {
    const Generated a = generate(kSources);
    const fs::path dir = fs::temp_directory_path() / ("zorbo_assets_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    write_outputs(a, dir.string());
    const Generated b = generate(kSources);
    // A picture per map code, 18 strips, 16 sounds, the raised flags, the title and the icon.
    ASSERT_EQ(a.files.size(), zorbo::kCodes.size() + 37u);
    ASSERT_EQ(b.files.size(), a.files.size());
    for (std::size_t i = 0; i < a.files.size(); ++i) {
        EXPECT_EQ(a.files[i].name, b.files[i].name);
        EXPECT_TRUE(a.files[i].data == b.files[i].data) << a.files[i].name;
        EXPECT_TRUE(read_file((dir / a.files[i].name).string()) == a.files[i].data) << a.files[i].name;
        // The build's Data folder holds what the current sources make.
        EXPECT_TRUE(read_file(kData + "/" + a.files[i].name) == a.files[i].data) << a.files[i].name << " is stale";
    }
    fs::remove_all(dir);
}

TEST(AssetFormats, BitmapRowsArePaddedAndReadBackBySdl) {
    // Odd widths need row padding; a mistake there shears the picture.
    Image img(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            img.at(x, y) = Rgb{static_cast<std::uint8_t>(x * 50), static_cast<std::uint8_t>(y * 100), 7};
    const Bytes bmp = encode_bmp(img);
    EXPECT_EQ(bmp.size(), 54u + 16u * 3u);
    EXPECT_TRUE(decode_bmp(bmp) == img);
    SDL_Surface* s = SDL_LoadBMP_RW(SDL_RWFromConstMem(bmp.data(), static_cast<int>(bmp.size())), 1);
    ASSERT_NE(s, nullptr) << SDL_GetError();
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB24, 0);
    const auto* p = static_cast<const std::uint8_t*>(rgb->pixels) + 2 * rgb->pitch + 4 * 3;
    EXPECT_EQ(p[0], 200);
    EXPECT_EQ(p[1], 200);
    EXPECT_EQ(p[2], 7);
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(s);
}

TEST(AssetSources, MistakesAreReportedWithFileAndLine) {
    const Palette pal = parse_palette(". 0 0 0\nk 36 28 52\nw 255 255 255\n", "pal");
    const auto error_of = [](auto&& f) {
        try {
            f();
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    const std::string grid16(16, 'k');
    std::string sheet = "sheet game_19.bmp 8 8 1 1\nframe 0\n";
    for (int i = 0; i < 8; ++i) sheet += (i == 3 ? std::string("kkkkkkk") : std::string("kkkkkkkk")) + "\n";
    EXPECT_EQ(error_of([&] { parse_sheet(sheet, "s.txt", pal); }), "s.txt:6: grid row has 7 characters, expected 8");
    EXPECT_NE(error_of([&] { parse_sheet("sheet game_19.bmp 8 8 1 2\n", "s.txt", pal); }).find("layout differs"),
              std::string::npos);
    EXPECT_NE(error_of([&] { parse_sheet("sheet game_3.bmp 8 8 1 1\n", "s.txt", pal); }).find("no strip"),
              std::string::npos);
    Grids grids;
    EXPECT_EQ(error_of([&] { parse_grids("tile a\nkq\n", "t.txt", pal, grids); }),
              "t.txt:2: colour 'q' is not in the palette");
    EXPECT_NE(error_of([&] { parse_palette(". 0 0 0\nk 0 0 0\n", "p"); }).find("pure black"), std::string::npos);
    EXPECT_NE(error_of([&] { parse_palette(". 0 0 0\nk 1 2 3\nj 1 2 3\n", "p"); }).find("same colour"),
              std::string::npos);
    EXPECT_NE(error_of([&] { parse_recipe("length 0.1\nvoice square at 0.05 for 0.1 freq 440\n", "r"); })
                  .find("past the length"),
              std::string::npos);
    EXPECT_EQ(error_of([&] { parse_recipe("length 1\nmelody square notes H4\n", "r"); }), "r:2: bad note H4");
}

TEST(AssetSources, ModifiersTransformFrames) {
    const Palette pal = parse_palette(". 0 0 0\nk 36 28 52\nw 255 255 255\nr 200 0 0\n", "pal");
    const std::string text =
        "sheet game_13.bmp 8 8 4 4\nframe 0\nkw......\nr.......\n........\n........\n........\n........\n"
        "........\n........\nframe 1 from 0 mirror\nframe 2 from 0 recolor w:r r:w shift 1 1\nframe 3 from 0 flip\n";
    const Sheet s = parse_sheet(text, "t", pal);
    const Rgb k{36, 28, 52}, w{255, 255, 255}, r{200, 0, 0};
    EXPECT_TRUE(s.frames[1].at(7, 0) == k);
    EXPECT_TRUE(s.frames[1].at(6, 0) == w);
    EXPECT_TRUE(s.frames[2].at(2, 1) == r);  // moved one right and down, w became r
    EXPECT_TRUE(s.frames[2].at(1, 2) == w);  // and r became w, not r again
    EXPECT_TRUE(s.frames[2].at(0, 0) == kTransparent);
    EXPECT_TRUE(s.frames[3].at(0, 7) == k);
    EXPECT_TRUE(s.frames[3].at(0, 6) == r);
}
