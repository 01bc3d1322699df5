// Any bytes at all, as a level set opened in the editor: an accepted file writes back byte
// for byte, reads the same cells as the game, and survives edits that are undone again.
#include "editor/LevelDocument.h"
#include "level/LevelFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace zorbo;

namespace {
[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    std::optional<editor::LevelDocument> doc = editor::LevelDocument::FromBytes(bytes, error);
    if (!doc)
        return 0;
    if (doc->ToBytes() != bytes)
        Fail("an untouched file does not write back byte for byte");

    static const auto map = std::make_unique<TileMap>();
    static WarpTable warps{};
    *map = TileMap();
    // Where the game plays the file (a level of the wrong height shifts the game's later
    // rows, and such a file is refused before play), both read the same cells.
    if (CheckLevelSetBytes(bytes).ok()) {
        ReadLevelSet(bytes, [](const LevelRow& row) { StoreLevelRow(row, *map, warps); });
        for (int32_t level = 0; level < editor::Levels; ++level)
            for (int32_t row = 0; row < editor::Rows; ++row)
                for (int32_t col = 1; col <= 40; ++col) {
                    const int32_t code = map->At(level, row, col);
                    // The loader stores every warp end as the marker code.
                    const int32_t seen = doc->Code(level, row, col);
                    const bool warp = seen >= Tile::FirstWarp && seen <= Tile::WarpMarker;
                    if (code != (warp ? Tile::WarpMarker : seen))
                        Fail("the editor reads another cell than the game");
                }
    }

    // A few edits picked from the bytes themselves, then undone: the file comes back.
    const uint8_t a = size > 0 ? data[0] : 0, b = size > 1 ? data[1] : 0;
    doc->Paint(a % 10, b % 15, 1 + a % 50, b % Tile::Count);
    doc->Fill(editor::CellRect{b % 10, a % 15, 1 + b % 40, 1 + a % 3, 1 + b % 5}, a % Tile::Count);
    std::string insertError;
    doc->InsertColumns(a % 10, 1 + b % 30, 1 + a % 4, insertError);
    doc->DeleteColumns(b % 10, 1 + a % 30, 1 + b % 4);
    doc->Move(editor::CellRect{a % 10, 0, 1, 3, 4}, 1, 2);
    while (doc->Undo()) {
    }
    if (doc->ToBytes() != bytes)
        Fail("undoing every edit does not give the file back");
    (void)doc->Check();
    return 0;
}
