#include "level/Rules.h"

#include <algorithm>

namespace zorbo {

std::optional<MapCell> FirstViewStart(const CodeAt& codeAt)
{
    for (int32_t row = 0; row < MapRows; ++row)
        for (int32_t col = 1; col <= ScreenColumns; ++col)
            if (codeAt(row, col) == Tile::HeroStart)
                return MapCell{row, col};
    return std::nullopt;
}

std::vector<Checkpoint> LevelCheckpoints(const CodeAt& codeAt, int32_t lastCol)
{
    const std::optional<MapCell> first = FirstViewStart(codeAt);
    // The view's column as the level begins.
    const int32_t startView = first ? FirstScreenColumn(first->col) - 1 : 0;
    std::vector<Checkpoint> found;
    for (int32_t col = 1; col <= lastCol; ++col)
        for (int32_t row = 0; row < MapRows; ++row) {
            const MapCell cell{row, col};
            if (codeAt(row, col) != Tile::HeroStart || cell == first)
                continue;
            found.push_back(Checkpoint{cell, ViewColumnShowing(col) <= startView ? 0 : CheckpointTakenFrom(col)});
        }
    return found;
}

int32_t FirstLevelEndColumn(const CodeAt& codeAt, int32_t lastCol)
{
    for (int32_t col = 1; col <= lastCol; ++col)
        for (int32_t row = 0; row < MapRows; ++row)
            if (codeAt(row, col) == Tile::LevelEnd)
                return col;
    return 0;
}

std::vector<Stretch> LongStretches(const CodeAt& codeAt, int32_t lastCol)
{
    const std::optional<MapCell> first = FirstViewStart(codeAt);
    const int32_t end = FirstLevelEndColumn(codeAt, lastCol);
    std::vector<int32_t> points;
    if (first)
        points.push_back(first->col);
    for (const Checkpoint& c : LevelCheckpoints(codeAt, end > 0 ? end : lastCol))
        if (points.empty() || c.cell.col != points.back())
            points.push_back(c.cell.col);
    std::sort(points.begin(), points.end());
    std::vector<Stretch> longOnes;
    for (size_t i = 0; i < points.size(); ++i) {
        const bool last = i + 1 == points.size();
        if (last && end == 0)
            break;
        const Stretch s{points[i], last ? end : points[i + 1], last};
        if (s.to - s.from > MaxRestartStretch)
            longOnes.push_back(s);
    }
    return longOnes;
}

int32_t EmptiedCode(const CodeAt& codeAt, int32_t row, int32_t col, EmptiedBy by, int32_t rows, int32_t cols)
{
    auto night = [&](int32_t r, int32_t c) { return codeAt(r, c) == Tile::Background2; };
    if (by == EmptiedBy::HeroHead) {
        for (int32_t c = col; c < col + cols; ++c)
            if (night(row + rows, c))
                return Tile::Background2;
        return Tile::Background;
    }
    for (int32_t r = row; r < row + rows; ++r)
        if (night(r, col - 1) || night(r, col + cols))
            return Tile::Background2;
    for (int32_t c = col; c < col + cols; ++c)
        if (night(row - 1, c))
            return Tile::Background2;
    return Tile::Background;
}

int32_t BecomesCode(int32_t code, const CodeAt& codeAt, int32_t row, int32_t col, EmptiedBy by)
{
    const CodeRow* info = FindCode(code);
    if (info == nullptr)
        return code;
    switch (info->becomes) {
    case Becomes::Stays: return code;
    case Becomes::Emptied: return EmptiedCode(codeAt, row, col, by);
    case Becomes::BoxBase: return Tile::BoxBase;
    case Becomes::BoxBaseAlt: return Tile::BoxBaseAlt;
    }
    return code;
}

std::vector<MapCell> ElevatorEndsInOrder(const CodeAt& codeAt, int32_t lastCol)
{
    std::vector<MapCell> ends;
    for (int32_t row = 0; row < MapRows; ++row)
        for (int32_t col = 1; col <= std::min(ScreenColumns, lastCol); ++col)
            if (codeAt(row, col) == Tile::Elevator)
                ends.push_back({row, col});
    for (int32_t col = ScreenColumns + 1; col <= std::min(lastCol, LastMapColumn); ++col)
        for (int32_t row = 0; row < MapRows; ++row)
            if (codeAt(row, col) == Tile::Elevator)
                ends.push_back({row, col});
    return ends;
}

ElevatorPairs PairElevatorEnds(const std::vector<MapCell>& ends)
{
    ElevatorPairs result;
    for (const MapCell& end : ends) {
        if (!result.waiting) {
            result.waiting = end;
            continue;
        }
        if (LinkElevatorEnds(result.waiting->col, result.waiting->row, end.col, end.row) == ElevatorLink::Dropped) {
            result.dropped.push_back({end, *result.waiting});
        } else {
            result.pairs.push_back({*result.waiting, end});
            result.waiting.reset();
        }
    }
    return result;
}

std::string_view LineEndBytes(LineEnd end)
{
    switch (end) {
    case LineEnd::None: return "";
    case LineEnd::LF: return "\n";
    case LineEnd::CRLF: return "\r\n";
    case LineEnd::CR: return "\r";
    }
    return "";
}

std::string_view SeparatorTitle(std::string_view line)
{
    if (!IsSeparator(line))
        return {};
    line.remove_prefix(1);
    const auto skip = [&line](auto pred) {
        while (!line.empty() && pred(static_cast<unsigned char>(line.front())))
            line.remove_prefix(1);
    };
    const auto blank = [](unsigned char c) { return c == ' ' || c == '\t'; };
    skip(blank);
    skip([](unsigned char c) { return c >= '0' && c <= '9'; });
    skip(blank);
    while (!line.empty() && blank(static_cast<unsigned char>(line.back())))
        line.remove_suffix(1);
    return line;
}

namespace {

// The length of the well-formed UTF-8 sequence at the start of bytes, 0 when there is none
// (overlong forms, surrogates and code points past U+10FFFF are not well-formed).
size_t Utf8SequenceAt(std::string_view bytes)
{
    const auto byte = [&bytes](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (bytes.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    return length;
}

} // namespace

std::string TitleText(std::string_view title)
{
    std::string text;
    while (!title.empty()) {
        size_t length = Utf8SequenceAt(title);
        if (length > 0) {
            text.append(title.substr(0, length));
        } else {
            const auto c = static_cast<unsigned char>(title.front());
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
            length = 1;
        }
        title.remove_prefix(length);
    }
    return text;
}

std::string LevelName(int32_t level, std::string_view title)
{
    std::string name = std::to_string(level + 1);
    if (!title.empty())
        name += " \u00b7 " + TitleText(title);
    return name;
}

LineSplitter::LineSplitter(std::string_view bytes) : bytes_(bytes)
{
    if (bytes_.starts_with("\xEF\xBB\xBF")) {
        bom_ = true;
        pos_ = 3;
    }
}

bool LineSplitter::Next(FileLine& line)
{
    if (pos_ >= bytes_.size())
        return false;
    const size_t end = bytes_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) {
        line = FileLine{bytes_.substr(pos_), LineEnd::None};
        pos_ = bytes_.size();
        return true;
    }
    line.text = bytes_.substr(pos_, end - pos_);
    if (bytes_[end] == '\r' && end + 1 < bytes_.size() && bytes_[end + 1] == '\n')
        line.end = LineEnd::CRLF;
    else
        line.end = bytes_[end] == '\r' ? LineEnd::CR : LineEnd::LF;
    pos_ = end + (line.end == LineEnd::CRLF ? 2 : 1);
    return true;
}

} // namespace zorbo
