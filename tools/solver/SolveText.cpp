#include "SolveText.h"

#include <cstdio>

namespace zorbo {

std::string SolveUsageText()
{
    return "Usage: zorbo_solve --data DIR [options] (--each | --game --out FILE)\n"
           "\n"
           "Searches the game, played without a window, for keys that take a small hero from a\n"
           "level's start to its level end without losing a life, walking, jumping and going down\n"
           "warp pipes. A level it finishes can certainly be finished; one it does not finish\n"
           "may still be.\n"
           "\n"
           "  --data DIR          read the game's files from DIR\n"
           "  --level-set NAME    the level set NAME.txt in DIR, else in your own level sets\n"
           "                      folder (default Standard); a NAME holding a '/' is the file\n"
           "  --difficulty D      easy, normal, difficult or crazy (default normal)\n"
           "  --each              solve every level from its own start; report frames\n"
           "  --level N           with --each: only level N\n"
           "  --start-column N    with --each and --level: begin at map column N, as the level\n"
           "                      editor's test play does\n"
           "  --checkpoints       with --each: also solve each level from every checkpoint\n"
           "  --game              play one whole game from level 1 to the win\n"
           "  --out FILE          write the game found as a recording (with --game, or with\n"
           "                      --each and --level from the level's start)\n"
           "  --route FILE        write the hero's route: a header line, then one line per frame:\n"
           "                      proof number, frame, level, world x and y in pixels, and the\n"
           "                      pipe he went through in that frame (or -)\n"
           "  --progress          print machine-readable lines: after every search step\n"
           "                      progress level=L start-column=C search=1|2 frames=F\n"
           "                      max-frames=M best-column=B states=S (a level is searched in\n"
           "                      up to two ways, the second only when the first fails: of\n"
           "                      2*M frames, (search-1)*M+F are done), and after every proof\n"
           "                      result level=L start-column=C outcome=solved|not-found|cancelled\n"
           "                      frames=F best-column=B states=S warps=none|PIPE@FROM>TO,...\n"
           "  --beam N            states kept after each search step (default 48)\n"
           "  --max-frames N      give up on a level after N frames (default 4000)\n"
           "  --help              print this text\n"
           "\n"
           "Output: the report, and with --progress the progress and result lines, go to standard\n"
           "output, one whole line at a time; problems go to standard error.\n"
           "\n"
           "Cancel: SIGINT or SIGTERM stops the search between two of its steps (within a\n"
           "second); files are written only after every proof is done, each whole or not at all.\n"
           "\n"
           "Exit status: 0 when every proof was found, 1 when a level was not finished or a file\n"
           "could not be written, 2 when the command line was refused, 3 when cancelled.\n";
}

std::string WarpList(const std::vector<WarpTaken>& warps, bool machine)
{
    std::string text;
    for (const WarpTaken& w : warps) {
        if (!text.empty())
            text += machine ? "," : ", ";
        text += machine ? std::to_string(w.pipe) + "@" + std::to_string(w.fromColumn) + ">" +
                              std::to_string(w.toColumn)
                        : "warp " + std::to_string(w.pipe) + " at column " + std::to_string(w.fromColumn) +
                              " -> column " + std::to_string(w.toColumn);
    }
    return text.empty() && machine ? "none" : text;
}

std::string ProgressLine(const SearchProgress& p)
{
    char line[200];
    std::snprintf(line, sizeof line, "progress level=%d start-column=%d search=%d frames=%d max-frames=%d best-column=%d states=%lld",
                  p.level, p.startColumn, p.search, p.frames, p.maxFrames, p.bestColumn, static_cast<long long>(p.statesTried));
    return line;
}

std::string ResultLine(const LevelResult& r)
{
    char line[200];
    std::snprintf(line, sizeof line, "result level=%d start-column=%d outcome=%s frames=%d best-column=%d states=%lld warps=",
                  r.level, r.startColumn, r.solved ? "solved" : r.cancelled ? "cancelled" : "not-found", r.frames,
                  r.furthestColumn, static_cast<long long>(r.statesTried));
    return line + WarpList(r.warps, true);
}

} // namespace zorbo
