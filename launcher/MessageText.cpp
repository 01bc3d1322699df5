#include "launcher/MessageText.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <algorithm>

namespace zorbo {

namespace {

constexpr double kScreenShare = 0.6;
constexpr size_t kFewestChars = 20;
// Measured on a mix of the characters messages hold, with room for wide ones.
constexpr std::string_view kSample = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-";
constexpr double kWideMargin = 1.15;

bool StartsCharacter(char b) { return (static_cast<unsigned char>(b) & 0xC0) != 0x80; }

size_t Characters(std::string_view s)
{
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), StartsCharacter));
}

// The bytes of s's first n characters.
size_t BytesOf(std::string_view s, size_t n)
{
    size_t at = 0, seen = 0;
    while (at < s.size()) {
        if (StartsCharacter(s[at]) && seen++ == n)
            break;
        ++at;
    }
    return at;
}

// Only ever adds line breaks: the blanks before a break stay at the end of its line, where
// they show as nothing, so every blank of the text is kept, and so is its meaning.
void WrapLine(std::string_view line, size_t maxChars, std::string& out)
{
    size_t width = 0;
    size_t at = 0;
    while (at < line.size()) {
        const size_t wordAt = line.find_first_not_of(' ', at);
        if (wordAt == std::string_view::npos) {
            out.append(line.substr(at));
            return;
        }
        const size_t blanks = wordAt - at;
        out.append(line.substr(at, blanks));
        const size_t end = std::min(line.find(' ', wordAt), line.size());
        std::string_view word = line.substr(wordAt, end - wordAt);
        at = end;
        size_t length = Characters(word);
        if (width > 0 && width + blanks + length > maxChars) {
            out += '\n';
            width = 0;
        } else {
            width += blanks;
        }
        if (width >= maxChars && width > 0) { // blanks that fill a line of their own
            out += '\n';
            width = 0;
        }
        while (length > maxChars - width) {
            size_t cut = BytesOf(word, maxChars - width);
            const size_t slash = word.substr(0, cut).rfind('/');
            if (slash != std::string_view::npos && slash > 0)
                cut = slash + 1;
            out.append(word.substr(0, cut));
            out += '\n';
            width = 0;
            word.remove_prefix(cut);
            length = Characters(word);
        }
        out.append(word);
        width += length;
    }
}

} // namespace

std::string WrapMessage(std::string_view text, size_t maxChars)
{
    maxChars = std::max<size_t>(maxChars, 1);
    std::string out;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        WrapLine(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start), maxChars,
                 out);
        if (end == std::string_view::npos)
            return out;
        out += '\n';
        start = end + 1;
    }
}

std::string FitToScreen(std::string_view text)
{
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE); // the message boxes' own font
    const double charWidth = fl_width(kSample.data(), static_cast<int>(kSample.size())) / kSample.size() * kWideMargin;
    const auto chars = static_cast<size_t>(Fl::w() * kScreenShare / std::max(charWidth, 1.0));
    return WrapMessage(text, std::max(chars, kFewestChars));
}

} // namespace zorbo
