#pragma once
// Level sets for tests, drawn with a small legend instead of raw bytes.
#include <array>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace zorbo::test {

// The byte of a tile code in a level file.
inline char Byte(int code) { return static_cast<char>(code + 97); }

// The one legend tests draw maps with: a character per tile code. Any other character
// stands for itself, its byte in a level file (code = character - 97).
struct LegendEntry {
    char ch;
    int code;
};
inline constexpr LegendEntry kLegend[] = {
    {'.', 0},  {'#', 26}, {'9', 9},  // background, solid block, second background
    {'H', 44}, {'E', 58},            // hero start, level end
    {'?', 45}, {'c', 82},            // coin box, coin box of the other look
    {'M', 56}, {'m', 84},            // power-up box, power-up box of the other look
    {'S', 54}, {'L', 57},            // several-coins block, hidden one-up box
    {'o', 53}, {'O', 81},            // coin, coin of the other look
    {'B', 28}, {'K', 37},            // two kinds of brick
    {'W', 50}, {'=', 55},            // Wumpel, elevator end
    {'F', 62}, {'f', 67},            // fire chain, flame
    {'0', 76}, {'1', 77}, {'2', 78}, {'3', 79}, // warp ends of pipes 0..3
};

inline int TileCode(char ch)
{
    for (const LegendEntry& e : kLegend)
        if (e.ch == ch)
            return e.code;
    return static_cast<unsigned char>(ch) - 97;
}

inline std::string Row(const std::string& pattern)
{
    std::string out;
    for (char ch : pattern)
        out += Byte(TileCode(ch));
    return out;
}

// Fifteen rows; the given ones from row 0 down, the rest empty.
using Level = std::array<std::string, 15>;

inline Level MakeLevel(std::initializer_list<std::string> patterns)
{
    Level level{};
    size_t r = 0;
    for (const std::string& p : patterns)
        if (r < level.size())
            level[r++] = Row(p);
    return level;
}

// A plain playable level: hero start at column 3, row 12, floor in rows 13 and 14, level
// end at column 40.
inline Level PlainLevel()
{
    Level level{};
    level[12] = Row("..H....................................E");
    level[13] = Row(std::string(60, '#'));
    level[14] = Row(std::string(60, '#'));
    return level;
}

// Ten levels, each opened by "*Level n".
struct LevelSet {
    std::array<Level, 10> levels;
    LevelSet() { levels.fill(PlainLevel()); }

    std::string Text(const std::string& eol = "\n") const
    {
        std::string out;
        for (size_t n = 0; n < levels.size(); ++n) {
            out += "*Level " + std::to_string(n + 1) + eol;
            for (const std::string& row : levels[n])
                out += row + eol;
        }
        return out;
    }
};

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Writes the set into a test game's data folder and loads it as the game's level set.
template <class TestGame>
void UseLevelSet(TestGame& g, const LevelSet& set, const std::string& name = "test.txt")
{
    WriteFile(g.data.path() + name, set.Text());
    g->gLevelSet = name;
    g->LoadLevelData();
}

} // namespace zorbo::test
