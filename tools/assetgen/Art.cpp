#include "Art.h"
#include "Text.h"
#include "level/Codes.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>

namespace zorbo::assets {

const std::vector<SheetLayout>& sheet_layouts() {
    static const std::vector<SheetLayout> layouts = {
        {"game_1.bmp", 16, 16, 7, 28},  {"game_2.bmp", 16, 16, 6, 12},  {"game_4.bmp", 16, 24, 6, 12},
        {"game_5.bmp", 16, 24, 19, 19}, {"game_6.bmp", 16, 24, 6, 6},   {"game_7.bmp", 16, 24, 4, 8},
        {"game_8.bmp", 16, 16, 7, 14},  {"game_9.bmp", 16, 16, 6, 12},  {"game_10.bmp", 16, 240, 1, 1},
        {"game_11.bmp", 8, 8, 8, 8},    {"game_12.bmp", 16, 16, 6, 12}, {"game_13.bmp", 8, 8, 4, 4},
        {"game_14.bmp", 16, 16, 5, 5},  {"game_15.bmp", 16, 16, 6, 6},  {"game_16.bmp", 48, 16, 1, 1},
        {"game_17.bmp", 16, 24, 4, 4},  {"game_18.bmp", 16, 16, 6, 12}, {"game_19.bmp", 8, 8, 1, 1},
    };
    return layouts;
}

namespace {

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string cur;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(cur);
            cur.clear();
        } else if (c != '\r') {
            cur += c;
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

bool skippable(const std::string& line) {
    const auto first = line.find_first_not_of(" \t");
    return first == std::string::npos || line[first] == '#';
}

std::string at_line(const std::string& name, std::size_t index) { return name + ":" + std::to_string(index + 1); }

// Reads h rows of w characters starting at lines[i]; advances i past them.
Image read_grid(const std::vector<std::string>& lines, std::size_t& i, int w, int h, const Palette& pal,
                const std::string& name) {
    Image img(w, h);
    for (int y = 0; y < h; ++y, ++i) {
        if (i >= lines.size()) fail(at_line(name, i), "grid ends early");
        const std::string& row = lines[i];
        if (static_cast<int>(row.size()) != w)
            fail(at_line(name, i), "grid row has " + std::to_string(row.size()) + " characters, expected " +
                                       std::to_string(w));
        for (int x = 0; x < w; ++x) img.at(x, y) = pal.lookup(row[static_cast<std::size_t>(x)], at_line(name, i));
    }
    return img;
}

Image shifted(const Image& src, int dx, int dy) {
    Image out(src.w, src.h);
    out.blit(src, dx, dy, false);
    return out;
}

// Modifiers shared by sprite frames and catalogue recipes. Returns false if the word at
// tokens[k] is not a modifier; otherwise applies it and advances k.
bool apply_modifier(Image& img, const std::vector<std::string>& t, std::size_t& k, const Palette& pal,
                    const std::string& where) {
    const std::string& op = t[k];
    if (op == "mirror") {
        img = img.mirrored();
        ++k;
    } else if (op == "flip") {
        img = img.flipped();
        ++k;
    } else if (op == "turnright") {
        Image out(img.h, img.w);
        for (int y = 0; y < img.h; ++y)
            for (int x = 0; x < img.w; ++x) out.at(img.h - 1 - y, x) = img.at(x, y);
        img = out;
        ++k;
    } else if (op == "shift") {
        if (k + 2 >= t.size()) fail(where, "shift needs dx dy");
        img = shifted(img, to_number<int>(t[k + 1], where), to_number<int>(t[k + 2], where));
        k += 3;
    } else if (op == "recolor") {
        ++k;
        std::vector<std::pair<Rgb, Rgb>> swaps;
        while (k < t.size() && t[k].size() == 3 && t[k][1] == ':') {
            swaps.emplace_back(pal.lookup(t[k][0], where), pal.lookup(t[k][2], where));
            ++k;
        }
        if (swaps.empty()) fail(where, "recolor needs pairs like a:b");
        for (Rgb& c : img.px)
            for (const auto& [from, to] : swaps)
                if (c == from) {
                    c = to;
                    break;
                }
    } else {
        return false;
    }
    return true;
}

}  // namespace

Rgb Palette::lookup(char c, const std::string& where) const {
    const auto it = colours.find(c);
    if (it == colours.end()) fail(where, std::string("colour '") + c + "' is not in the palette");
    return it->second;
}

Palette parse_palette(const std::string& text, const std::string& name) {
    Palette pal;
    const auto lines = split_lines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (skippable(lines[i])) continue;
        const auto w = words(lines[i]);
        const std::string where = at_line(name, i);
        if (w.size() < 4 || w[0].size() != 1) fail(where, "expected: CHAR R G B [name]");
        Rgb c{};
        int rgb[3];
        for (int j = 0; j < 3; ++j) {
            rgb[j] = to_number<int>(w[static_cast<std::size_t>(j) + 1], where);
            if (rgb[j] < 0 || rgb[j] > 255) fail(where, "component out of range");
        }
        c = Rgb{static_cast<std::uint8_t>(rgb[0]), static_cast<std::uint8_t>(rgb[1]), static_cast<std::uint8_t>(rgb[2])};
        const char ch = w[0][0];
        if (pal.colours.count(ch)) fail(where, std::string("colour '") + ch + "' defined twice");
        if ((c == kTransparent) != (ch == '.')) fail(where, "'.' and only '.' is pure black (transparent)");
        for (const auto& [other, oc] : pal.colours)
            if (oc == c) fail(where, std::string("same colour as '") + other + "'; recolouring needs unique colours");
        pal.colours[ch] = c;
    }
    if (!pal.colours.count('.')) fail(name, "palette lacks '.' (transparent)");
    return pal;
}

Image Sheet::strip() const {
    Image out(layout.width(), layout.height());
    for (int f = 0; f < layout.frames; ++f)
        out.blit(frames[static_cast<std::size_t>(f)], f % layout.columns * layout.frame_w,
                 f / layout.columns * layout.frame_h, false);
    return out;
}

void add_rim(Sheet& sheet, Rgb rim) {
    for (Image& frame : sheet.frames) {
        const Image figure = frame;
        const auto opaque = [&figure](int x, int y) { return figure.inside(x, y) && !(figure.at(x, y) == kTransparent); };
        for (int y = 0; y < figure.h; ++y)
            for (int x = 0; x < figure.w; ++x)
                if (!opaque(x, y) && (opaque(x - 1, y) || opaque(x + 1, y) || opaque(x, y - 1) || opaque(x, y + 1)))
                    frame.at(x, y) = rim;
    }
}

Sheet parse_sheet(const std::string& text, const std::string& name, const Palette& pal) {
    const auto lines = split_lines(text);
    Sheet sheet;
    std::vector<bool> defined;
    std::map<std::string, Image> parts;  // scratch grids that frames can be made from
    std::size_t i = 0;
    bool have_header = false;
    while (i < lines.size()) {
        if (skippable(lines[i])) {
            ++i;
            continue;
        }
        const auto t = words(lines[i]);
        const std::string where = at_line(name, i);
        if (!have_header) {
            if (t.size() != 6 || t[0] != "sheet") fail(where, "expected: sheet FILE W H COLUMNS FRAMES");
            const auto& all = sheet_layouts();
            const auto it = std::find_if(all.begin(), all.end(), [&](const SheetLayout& l) { return t[1] == l.file; });
            if (it == all.end()) fail(where, "the game loads no strip named " + t[1]);
            sheet.layout = *it;
            if (to_number<int>(t[2], where) != it->frame_w || to_number<int>(t[3], where) != it->frame_h ||
                to_number<int>(t[4], where) != it->columns || to_number<int>(t[5], where) != it->frames)
                fail(where, "layout differs from the one the game loads for " + t[1]);
            sheet.frames.assign(static_cast<std::size_t>(it->frames), Image());
            defined.assign(static_cast<std::size_t>(it->frames), false);
            have_header = true;
            ++i;
            continue;
        }
        if (t.size() == 2 && t[0] == "part") {
            ++i;
            parts[t[1]] = read_grid(lines, i, sheet.layout.frame_w, sheet.layout.frame_h, pal, name);
            continue;
        }
        if (t.size() < 2 || t[0] != "frame") fail(where, "expected: frame N [from M modifiers...]");
        const int n = to_number<int>(t[1], where);
        if (n < 0 || n >= sheet.layout.frames) fail(where, "frame number out of range");
        if (defined[static_cast<std::size_t>(n)]) fail(where, "frame defined twice");
        ++i;
        Image img;
        if (t.size() == 2) {
            img = read_grid(lines, i, sheet.layout.frame_w, sheet.layout.frame_h, pal, name);
        } else {
            if (t[2] != "from" || t.size() < 4) fail(where, "expected: from M");
            if (parts.count(t[3])) {
                img = parts[t[3]];
            } else {
                const int m = to_number<int>(t[3], where);
                if (m < 0 || m >= sheet.layout.frames || !defined[static_cast<std::size_t>(m)])
                    fail(where, "frame " + t[3] + " is not defined above");
                img = sheet.frames[static_cast<std::size_t>(m)];
            }
            for (std::size_t k = 4; k < t.size();)
                if (!apply_modifier(img, t, k, pal, where)) fail(where, "unknown modifier " + t[k]);
        }
        sheet.frames[static_cast<std::size_t>(n)] = img;
        defined[static_cast<std::size_t>(n)] = true;
    }
    if (!have_header) fail(name, "no sheet header");
    for (std::size_t f = 0; f < defined.size(); ++f)
        if (!defined[f]) fail(name, "frame " + std::to_string(f) + " missing");
    return sheet;
}

void parse_grids(const std::string& text, const std::string& name, const Palette& pal, Grids& into) {
    const auto lines = split_lines(text);
    std::size_t i = 0;
    while (i < lines.size()) {
        if (skippable(lines[i])) {
            ++i;
            continue;
        }
        const auto t = words(lines[i]);
        const std::string where = at_line(name, i);
        if (t.size() != 2 || t[0] != "tile") fail(where, "expected: tile NAME");
        if (into.count(t[1])) fail(where, "grid " + t[1] + " defined twice");
        ++i;
        if (i >= lines.size()) fail(where, "grid missing");
        const int w = static_cast<int>(lines[i].size());
        std::size_t end = i;
        while (end < lines.size() && !lines[end].empty() && lines[end].find(' ') == std::string::npos) ++end;
        into[t[1]] = read_grid(lines, i, w, static_cast<int>(end - i), pal, name);
    }
}

const char* to_string(TileClass c) {
    switch (c) {
        case TileClass::Background: return "background";
        case TileClass::Scenery: return "scenery";
        case TileClass::Solid: return "solid";
        case TileClass::Brick: return "brick";
        case TileClass::BoxBase: return "boxbase";
        case TileClass::Goal: return "goal";
        case TileClass::Object: return "object";
        case TileClass::WarpEnd: return "warp";
    }
    return "?";
}

std::vector<TileEntry> parse_catalogue(const std::string& text, const std::string& name, const Palette& pal,
                                       const Grids& grids, const std::map<std::string, Sheet>& sheets) {
    constexpr int count = zorbo::Tile::Count; // one picture per row of the game's code table
    const std::string range = "0.." + std::to_string(count - 1);
    std::vector<TileEntry> entries(count);
    const auto lines = split_lines(text);
    const auto grid = [&](const std::string& g, const std::string& where) -> const Image& {
        const auto it = grids.find(g);
        if (it == grids.end()) fail(where, "no tile grid named " + g);
        return it->second;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (skippable(lines[i])) continue;
        const std::string where = at_line(name, i);
        const auto bar = lines[i].find('|');
        if (bar == std::string::npos) fail(where, "expected: CODE CLASS THEME RECIPE | description");
        const auto t = words(lines[i].substr(0, bar));
        if (t.size() < 5) fail(where, "expected: CODE CLASS THEME RECIPE | description");
        const int code = to_number<int>(t[0], where);
        if (code < 0 || code >= count) fail(where, "code out of range " + range);
        TileEntry& e = entries[static_cast<std::size_t>(code)];
        if (e.code != -1) fail(where, "code listed twice");
        e.code = code;
        static const std::map<std::string, TileClass> classes = {
            {"background", TileClass::Background}, {"scenery", TileClass::Scenery}, {"solid", TileClass::Solid},
            {"brick", TileClass::Brick},           {"boxbase", TileClass::BoxBase}, {"goal", TileClass::Goal},
            {"object", TileClass::Object},         {"warp", TileClass::WarpEnd}};
        const auto cls = classes.find(t[1]);
        if (cls == classes.end()) fail(where, "unknown class " + t[1]);
        e.cls = cls->second;
        e.theme = t[2];
        std::string desc = lines[i].substr(bar + 1);
        desc.erase(0, desc.find_first_not_of(" \t"));
        e.description = desc;

        Image img;
        std::size_t k = 3;
        if (t[k] == "tile" && k + 1 < t.size()) {
            img = grid(t[k + 1], where);
            k += 2;
        } else if (t[k] == "sprite" && k + 3 < t.size()) {
            // A strip frame as an editor would show it: 16 x 16 cut from row dy, or a
            // smaller frame centred.
            const auto s = sheets.find(t[k + 1]);
            if (s == sheets.end()) fail(where, "no sheet " + t[k + 1]);
            const int f = to_number<int>(t[k + 2], where);
            if (f < 0 || f >= s->second.layout.frames) fail(where, "frame out of range");
            const Image& fr = s->second.frames[static_cast<std::size_t>(f)];
            const int dy = to_number<int>(t[k + 3], where);
            img = Image(16, 16);
            img.blit(fr, (16 - fr.w) / 2, fr.h <= 16 ? (16 - fr.h) / 2 - dy : -dy, false);
            k += 4;
        } else {
            fail(where, "recipe must start with 'tile NAME' or 'sprite SHEET FRAME DY'");
        }
        while (k < t.size()) {
            if (t[k] == "on" && k + 1 < t.size()) {
                Image bg = grid(t[k + 1], where);
                bg.blit(img, 0, 0, true);
                img = bg;
                k += 2;
            } else if (t[k] == "over" && k + 3 < t.size()) {
                img.blit(grid(t[k + 1], where), to_number<int>(t[k + 2], where), to_number<int>(t[k + 3], where), true);
                k += 4;
            } else if (!apply_modifier(img, t, k, pal, where)) {
                fail(where, "unknown recipe word " + t[k]);
            }
        }
        if (img.w != 16 || img.h != 16) fail(where, "tile picture is not 16 x 16");
        e.picture = img;
    }
    for (const TileEntry& e : entries)
        if (e.code == -1) fail(name, "a code of " + range + " is missing");
    return entries;
}

}  // namespace zorbo::assets
