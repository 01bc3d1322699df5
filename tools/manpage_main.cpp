// zorbo_manpage OUT [solve]: writes the manual page zorbo(6), or zorbo_solve(6), from the
// program's own --help text, so the two never disagree.
#include "SolveText.h"
#include "app/CommandLine.h"

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

// One program's page: its name and title, what it is, the roff after its name in the
// synopsis, the section a paragraph without a "Heading:" goes under, and its --help text.
struct Page {
    const char* name;
    const char* title;
    const char* whatItIs;
    const char* afterSynopsis;
    const char* untitled;
    std::string usage;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && !(argc == 3 && std::string(argv[2]) == "solve")) {
        std::fprintf(stderr, "usage: %s OUT [solve]\n", argv[0]);
        return 2;
    }
    const Page page =
        argc == 2 ? Page{"zorbo", "ZORBO", "side\\-scrolling platform game", "[\\fIoptions\\fR]\n"
                         ".SH DESCRIPTION\nWithout game options a launcher dialog opens, where the level set, "
                         "the start level, the screen size, the difficulty and the sound are chosen.\n",
                         "NOTES", zorbo::UsageText()}
                  : Page{"zorbo_solve", "ZORBO_SOLVE", "proves levels of Zorbo finishable",
                         "\\fB\\-\\-data\\fR \\fIDIR\\fR [\\fIoptions\\fR] (\\fB\\-\\-each\\fR | "
                         "\\fB\\-\\-game \\-\\-out\\fR \\fIFILE\\fR)\n",
                         "DESCRIPTION", zorbo::SolveUsageText()};
    std::ostringstream out;
    out << ".TH " << page.title << " 6 \"\" \"Zorbo " << ZORBO_VERSION << "\" \"Games\"\n"
        << ".SH NAME\n" << Escape(page.name) << " \\- " << page.whatItIs << "\n";
    for (const auto& para : Paragraphs(page.usage)) {
        const std::string& first = para.front();
        if (first.rfind("Usage: ", 0) == 0) {
            out << ".SH SYNOPSIS\n.B " << Escape(page.name) << "\n" << page.afterSynopsis;
        } else if (first.rfind("  -", 0) == 0) {
            Options(out, para);
        } else {
            // "Heading: text ..." becomes a section of that name.
            const size_t colon = first.find(':');
            std::string heading = colon == std::string::npos ? page.untitled : first.substr(0, colon);
            for (char& c : heading)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            out << ".SH \"" << heading << "\"\n";
            std::string text = colon == std::string::npos ? first : Trim(first.substr(colon + 1));
            for (size_t i = 1; i < para.size(); ++i) {
                text += '\n';
                text += Trim(para[i]);
            }
            out << Escape(text) << "\n";
        }
    }
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << out.str();
    if (!file) {
        std::fprintf(stderr, "zorbo_manpage: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
