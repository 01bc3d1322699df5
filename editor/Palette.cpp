#include "editor/Palette.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace zorbo::editor {

namespace {

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool Contains(std::string_view text, std::string_view word)
{
    return std::search(text.begin(), text.end(), word.begin(), word.end(),
                       [](char a, char b) { return Lower(a) == Lower(b); }) != text.end();
}

} // namespace

bool Matches(const CodeRow& row, std::string_view search)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == ','; };
    size_t i = 0;
    while (i < search.size()) {
        while (i < search.size() && isSpace(search[i]))
            ++i;
        size_t end = i;
        while (end < search.size() && !isSpace(search[end]))
            ++end;
        if (end == i)
            break;
        const std::string_view word = search.substr(i, end - i);
        i = end;
        int number = -1;
        const auto [rest, ec] = std::from_chars(word.data(), word.data() + word.size(), number);
        const bool isNumber = ec == std::errc() && rest == word.data() + word.size();
        if (!(isNumber && number == row.code) && !Contains(row.name, word) && !Contains(GroupName(row.group), word))
            return false;
    }
    return true;
}

std::vector<int32_t> PaletteCodes(std::string_view search)
{
    std::vector<int32_t> codes;
    for (int g = 0; g < PaletteGroupCount; ++g)
        for (const CodeRow& row : kCodes)
            if (static_cast<int>(row.group) == g && Matches(row, search))
                codes.push_back(row.code);
    return codes;
}

} // namespace zorbo::editor
