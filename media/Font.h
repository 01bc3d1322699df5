#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zorbo {

class Surface;

// The face the game writes its heads-up counters in; the pause band speaks in it too.
inline constexpr const char* HudFontFamily = "Tahoma";
inline constexpr int HudFontPoints = 8;

// A font chosen by family name through fontconfig and drawn without anti-aliasing,
// so text stays crisp on the 320 x 240 picture. Faces are cached per process.
class Font {
public:
    Font() = default;
    Font(std::string name, int points, bool bold, bool italic, bool underline);

    // Draws text with its top-left corner at (x, y); pixels outside the surface are clipped.
    void Draw(Surface& dst, int x, int y, std::string_view text, uint32_t pixel) const;
    // Width and height of the text in pixels (0, 0 when no face could be opened).
    std::pair<int, int> Measure(std::string_view text) const;
    bool usable() const { return face_ != nullptr; }

    struct Face;

private:
    std::shared_ptr<Face> face_;
};

// The file fontconfig matches for a family and style; empty when none is found. A lookup
// started ahead for the same family and style gives its answer instead.
std::string MatchFontFile(const std::string& family, bool bold, bool italic);
// Starts that lookup on a thread of its own: reading fontconfig's configuration takes a
// while, which then passes as the window opens.
void MatchFontFileAhead(const std::string& family, bool bold, bool italic);

} // namespace zorbo
