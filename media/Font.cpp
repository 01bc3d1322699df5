#include "media/Font.h"

#include "media/Surface.h"
#include "media/Warn.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <future>
#include <cctype>
#include <map>
#include <mutex>
#include <tuple>
#include <vector>

namespace zorbo {

struct Font::Face {
    TTF_Font* font = nullptr;
    // The last text drawn and its ink mask: the heads-up text is the same most frames.
    std::string lastText;
    int maskW = 0, maskH = 0;
    std::vector<uint8_t> mask;
    ~Face()
    {
        if (font != nullptr)
            TTF_CloseFont(font);
    }
};

namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// Families of the original look that Linux desktops do not have, and what fontconfig
// should be asked for instead. Others go to fontconfig as they are.
std::string LinuxFamily(const std::string& family)
{
    const std::string f = Lower(family);
    if (f == "fixedsys")
        return "DejaVu Sans Mono";
    if (f == "tahoma" || f == "ms sans serif" || f == "arial")
        return "DejaVu Sans";
    return family;
}

using FaceKey = std::tuple<std::string, int, bool, bool, bool>;

std::mutex& CacheMutex()
{
    static std::mutex m;
    return m;
}

std::map<FaceKey, std::shared_ptr<Font::Face>>& Cache()
{
    static std::map<FaceKey, std::shared_ptr<Font::Face>> cache;
    return cache;
}

using LookupKey = std::tuple<std::string, bool, bool>;

std::mutex& AheadMutex()
{
    static std::mutex m;
    return m;
}

std::map<LookupKey, std::shared_future<std::string>>& Ahead()
{
    static std::map<LookupKey, std::shared_future<std::string>> ahead;
    return ahead;
}

std::string LookUpFontFile(const std::string& family, bool bold, bool italic)
{
    if (!FcInit())
        return {};
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(LinuxFamily(family).c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pat, &result);
    std::string file;
    if (match != nullptr) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr)
            file = reinterpret_cast<const char*>(path);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pat);
    return file;
}

} // namespace

void MatchFontFileAhead(const std::string& family, bool bold, bool italic)
{
    std::lock_guard lock(AheadMutex());
    auto& slot = Ahead()[LookupKey{family, bold, italic}];
    if (!slot.valid())
        slot = std::async(std::launch::async, LookUpFontFile, family, bold, italic).share();
}

std::string MatchFontFile(const std::string& family, bool bold, bool italic)
{
    std::shared_future<std::string> ahead;
    {
        std::lock_guard lock(AheadMutex());
        if (auto it = Ahead().find(LookupKey{family, bold, italic}); it != Ahead().end())
            ahead = it->second;
    }
    return ahead.valid() ? ahead.get() : LookUpFontFile(family, bold, italic);
}

Font::Font(std::string name, int points, bool bold, bool italic, bool underline)
{
    std::lock_guard lock(CacheMutex());
    FaceKey key{Lower(name), points, bold, italic, underline};
    auto& slot = Cache()[key];
    if (!slot) {
        slot = std::make_shared<Face>();
        if (TTF_WasInit() == 0 && TTF_Init() != 0) {
            Warn(std::string("cannot start the font renderer: ") + TTF_GetError() + "; text is not drawn");
            return;
        }
        const std::string file = MatchFontFile(name, bold, italic);
        if (file.empty()) {
            Warn("no installed font matches \"" + name + "\"; text is not drawn");
            return;
        }
        // Sizes are points at 96 dots per inch, as on the desktop the game was designed for.
        slot->font = TTF_OpenFontDPI(file.c_str(), std::max(1, points), 96, 96);
        if (slot->font == nullptr) {
            Warn("font file " + file + ": " + TTF_GetError() + "; text is not drawn");
            return;
        }
        TTF_SetFontHinting(slot->font, TTF_HINTING_MONO);
        int style = TTF_STYLE_NORMAL;
        const std::string lowerFile = Lower(file);
        if (bold && lowerFile.find("bold") == std::string::npos)
            style |= TTF_STYLE_BOLD;
        if (italic && lowerFile.find("oblique") == std::string::npos &&
            lowerFile.find("italic") == std::string::npos)
            style |= TTF_STYLE_ITALIC;
        if (underline)
            style |= TTF_STYLE_UNDERLINE;
        TTF_SetFontStyle(slot->font, style);
    }
    if (slot->font != nullptr)
        face_ = slot;
}

std::pair<int, int> Font::Measure(std::string_view text) const
{
    if (!face_ || text.empty())
        return {0, 0};
    int w = 0, h = 0;
    const std::string s(text);
    std::lock_guard lock(CacheMutex());
    if (TTF_SizeUTF8(face_->font, s.c_str(), &w, &h) != 0)
        return {0, 0};
    return {w, h};
}

void Font::Draw(Surface& dst, int x, int y, std::string_view text, uint32_t pixel) const
{
    if (!face_ || text.empty())
        return;
    std::lock_guard lock(CacheMutex());
    Face& f = *face_;
    if (f.lastText != text || f.mask.empty()) {
        const std::string s(text);
        SDL_Surface* glyphs = TTF_RenderUTF8_Solid(f.font, s.c_str(), SDL_Color{255, 255, 255, 255});
        if (glyphs == nullptr)
            return;
        // Solid rendering gives an 8-bit picture: index 0 is the background, anything else ink.
        f.mask.assign(static_cast<size_t>(glyphs->w) * glyphs->h, 0);
        f.maskW = glyphs->w;
        f.maskH = glyphs->h;
        if (SDL_LockSurface(glyphs) == 0) {
            const auto* base = static_cast<const uint8_t*>(glyphs->pixels);
            for (int gy = 0; gy < glyphs->h; ++gy)
                for (int gx = 0; gx < glyphs->w; ++gx)
                    f.mask[static_cast<size_t>(gy) * glyphs->w + gx] =
                        base[static_cast<ptrdiff_t>(gy) * glyphs->pitch + gx] != 0 ? 1 : 0;
            SDL_UnlockSurface(glyphs);
        }
        SDL_FreeSurface(glyphs);
        f.lastText = s;
    }
    for (int gy = 0; gy < f.maskH; ++gy) {
        const int ty = y + gy;
        if (ty < 0 || ty >= dst.Height())
            continue;
        const uint8_t* row = &f.mask[static_cast<size_t>(gy) * f.maskW];
        for (int gx = 0; gx < f.maskW; ++gx) {
            const int tx = x + gx;
            if (row[gx] != 0 && tx >= 0 && tx < dst.Width())
                dst.SetPixel(tx, ty, pixel);
        }
    }
}

} // namespace zorbo
