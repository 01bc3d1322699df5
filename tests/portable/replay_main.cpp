// zorbo_replay DATA_DIR FILE...: replays each recording headless and prints the line
// `zorbo --play FILE --headless` ends with, so builds by other compilers or for other
// processors can be compared with the game's own. Exits 1 when any replay does not match.
#include "game/Settings.h"
#include "record/Replay.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    using namespace zorbo;
    if (argc < 3) {
        std::fprintf(stderr, "usage: zorbo_replay DATA_DIR RECORDING...\n");
        return 2;
    }
    std::string dataPath = argv[1];
    if (dataPath.back() != '/')
        dataPath += '/';
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        Recording rec;
        Settings settings;
        std::string error;
        if (!PrepareReplay(argv[i], dataPath, rec, settings, error)) {
            std::fprintf(stderr, "zorbo_replay: %s\n", error.c_str());
            status = 1;
            continue;
        }
        const ReplayResult result = ReplayHeadless(rec, settings);
        std::printf("%s\n", ReplayLine(result).c_str());
        if (!result.ok) {
            std::fprintf(stderr, "zorbo_replay: %s: %s\n", argv[i], result.message.c_str());
            status = 1;
        }
    }
    return status;
}
