// zorbo_manpage: writes the manual pages of the game, the level editor and the solver from
// their own --help texts, so the pages and the programs never disagree.
#include "app/CommandLine.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Roff treats a leading dot or quote as a request and a backslash as an escape.
std::string Escape(const std::string& text)
{
    std::string out;
    if (!text.empty() && (text[0] == '.' || text[0] == '\''))
        out = "\\&";
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

std::string Trim(const std::string& s)
{
    const size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a);
}

std::vector<std::vector<std::string>> Paragraphs(const std::string& text)
{
    std::vector<std::vector<std::string>> paras(1);
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) {
            if (!paras.back().empty())
                paras.emplace_back();
        } else {
            paras.back().push_back(line);
        }
    }
    if (paras.back().empty())
        paras.pop_back();
    return paras;
}

// "  --opt ARG   what it does" and its indented continuation lines.
void Options(std::ostream& out, const std::vector<std::string>& lines)
{
    out << ".SH OPTIONS\n";
    for (const std::string& line : lines) {
        const std::string body = Trim(line);
        // Deeper indented lines carry on the description above them.
        if (line.rfind("  -", 0) != 0) {
            out << Escape(body) << "\n";
            continue;
        }
        const size_t gap = body.find("  ");
        const std::string name = body.substr(0, gap);
        out << ".TP\n.B " << Escape(name) << "\n";
        if (gap != std::string::npos)
            out << Escape(Trim(body.substr(gap))) << "\n";
    }
}

bool IsOptionLine(const std::string& line)
{
    return line.rfind("  -", 0) == 0;
}

// A manual page in section 6 from a program's help text: the usage line is the synopsis,
// the text under it the description (unless one is given), option lists the options and a
// "Heading: text" paragraph a section of that name.
std::string Page(const std::string& name, const std::string& summary, const std::string& help,
                 std::string description)
{
    std::string title = name;
    for (char& c : title)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::ostringstream out;
    out << ".TH " << Escape(title) << " 6 \"\" \"Zorbo " << ZORBO_VERSION << "\" \"Games\"\n"
        << ".SH NAME\n" << Escape(name) << " \\- " << Escape(summary) << "\n";
    bool described = false;
    for (const auto& para : Paragraphs(help)) {
        auto optionsAt = para.begin();
        while (optionsAt != para.end() && !IsOptionLine(*optionsAt))
            ++optionsAt;
        std::vector<std::string> text(para.begin(), optionsAt);
        const std::string usage = "Usage: " + name;
        if (!text.empty() && text.front().rfind(usage, 0) == 0) {
            out << ".SH SYNOPSIS\n.B " << Escape(name) << "\n" << Escape(Trim(text.front().substr(usage.size()))) << "\n";
            text.erase(text.begin());
            if (!description.empty()) {
                out << ".SH DESCRIPTION\n" << Escape(description) << "\n";
                described = true;
            }
        }
        if (!text.empty()) {
            // "Heading: text ..." becomes a section of that name; the first other text the
            // description.
            const std::string& first = text.front();
            const size_t colon = first.find(':');
            std::string heading = colon == std::string::npos ? (described ? "NOTES" : "DESCRIPTION")
                                                              : first.substr(0, colon);
            described = true;
            for (char& c : heading)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            out << ".SH \"" << heading << "\"\n";
            std::string body = colon == std::string::npos ? first : Trim(first.substr(colon + 1));
            for (size_t i = 1; i < text.size(); ++i)
                body += '\n' + Trim(text[i]);
            out << Escape(body) << "\n";
        }
        if (optionsAt != para.end())
            Options(out, std::vector<std::string>(optionsAt, para.end()));
    }
    return out.str();
}

} // namespace

// zorbo_manpage OUT                      zorbo(6), from the game's own usage text
// zorbo_manpage OUT NAME SUMMARY HELP   NAME(6), from another program's --help output
//                                      saved in the file HELP
int main(int argc, char** argv)
{
    if (argc != 2 && argc != 5) {
        std::fprintf(stderr, "usage: %s OUT [NAME SUMMARY HELP]\n", argv[0]);
        return 2;
    }
    std::string page;
    if (argc == 2) {
        page = Page("zorbo", "side-scrolling platform game", zorbo::UsageText(),
                    "Without game options a launcher dialog opens, where the level set, the start level, "
                    "the screen size, the difficulty and the sound are chosen.");
    } else {
        std::ifstream in(argv[4], std::ios::binary);
        std::ostringstream help;
        help << in.rdbuf();
        if (!in || help.str().empty()) {
            std::fprintf(stderr, "zorbo_manpage: cannot read %s\n", argv[4]);
            return 1;
        }
        page = Page(argv[2], argv[3], help.str(), "");
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << page;
    if (!file) {
        std::fprintf(stderr, "zorbo_manpage: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
