// Any bytes at all, as a level-set file: reading, storing and checking them must neither
// crash nor touch memory outside the tables, and a file the reader accepts stores only
// codes that have a picture.
#include "level/LevelFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace zorbo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const auto map = std::make_unique<TileMap>();
    static WarpTable warps{};
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const LevelFileSummary summary = ReadLevelSet(bytes);
    if (summary.valid()) {
        int32_t width = 0;
        ReadLevelSet(bytes, [&width](const LevelRow& row) {
            StoreLevelRow(row, *map, warps);
            width = std::max(width, static_cast<int32_t>(row.text.size()));
        });
        for (int32_t level = 0; level < TileMap::Levels; ++level)
            for (int32_t row = 0; row < TileMap::Rows; ++row)
                for (int32_t col = 0; col <= width; ++col) {
                    const int32_t code = map->At(level, row, col);
                    if (code < 0 || code >= Tile::Count) {
                        std::fprintf(stderr, "accepted file stored code %d at %d/%d/%d\n", code, level, row, col);
                        std::abort();
                    }
                }
        for (const auto& level : warps)
            for (const WarpRecord& w : level)
                if (w.WarpState != WarpEnds::None && w.WarpState != WarpEnds::Both && w.WarpState != WarpEnds::First)
                    std::abort();
    }

    const LevelCheckResult check = CheckLevelSetBytes(bytes);
    if (!summary.valid() && check.ok())
        std::abort(); // the check must refuse whatever the loader refuses
    (void)check.Report("fuzz.txt");
    (void)check.FirstError("fuzz.txt");
    return 0;
}
