#pragma once
// Where the editor may write a level set. The data folder's sets come with the game: they
// are played and recorded as shipped, so the editor never writes them; it opens one as a
// copy, as it does a file the user may not write, and the copy's first save asks for a name
// in the player's own folder (level/LevelSets.h), which new sets and "Save as" start in too.
// A data folder named with --data is the user's choice: its sets are written like any.
#include <cstdint>
#include <string>

namespace zorbo::editor {

enum class CopyReason : uint8_t {
    None,     // the set is saved where it is
    Shipped,  // it lies in the game's own data folder
    ReadOnly, // the user may not write it (or, for a new set, its folder)
};

// How the set at path is edited. shippedFolder is the data folder the editor found by itself,
// empty when --data named one. A link is judged by the file it leads to.
CopyReason EditedAsCopy(const std::string& path, const std::string& shippedFolder);

// Why a set may not be saved at path, as one sentence; empty when it may.
std::string SaveRefusal(const std::string& path, const std::string& shippedFolder);

// The title bar's words for a copy, empty for None: "shipped with the game: saved as a copy".
std::string CopyWords(CopyReason reason);

// Where a first save of the set at path proposes to put it: its file name (Untitled.txt
// for a set without one) in the player's folder.
std::string ProposedSavePath(const std::string& path, const std::string& playerFolder);

} // namespace zorbo::editor
