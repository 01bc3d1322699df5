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

// Legend: '.' background, '#' solid (26), '9' second background, 'H' hero start,
// 'E' level end, '?' coin box, 'M' power-up box, 'm' power-up box (other look), 'c' coin box
// (other look), 'S' several-coins block, 'L' hidden one-up box, 'o' coin, 'O' coin (other
// look), 'W' Wumpel, '=' elevator end, 'F' fire chain, 'f' flame, 'B' brick (28),
// '0'..'3' warp ends of pipes 0..3. Any other character stands for itself.
inline std::string Row(const std::string& pattern)
{
    std::string out;
    for (char ch : pattern) {
        switch (ch) {
        case '.': out += Byte(0); break;
        case '#': out += Byte(26); break;
        case '9': out += Byte(9); break;
        case 'H': out += Byte(44); break;
        case 'E': out += Byte(58); break;
        case '?': out += Byte(45); break;
        case 'M': out += Byte(56); break;
        case 'm': out += Byte(84); break;
        case 'c': out += Byte(82); break;
        case 'S': out += Byte(54); break;
        case 'L': out += Byte(57); break;
        case 'o': out += Byte(53); break;
        case 'O': out += Byte(81); break;
        case 'W': out += Byte(50); break;
        case '=': out += Byte(55); break;
        case 'F': out += Byte(62); break;
        case 'f': out += Byte(67); break;
        case 'B': out += Byte(28); break;
        case '0': case '1': case '2': case '3': out += Byte(76 + (ch - '0')); break;
        default: out += ch; break;
        }
    }
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
