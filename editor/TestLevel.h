#pragma once
// The level set test play and the prover hand to the game: the level shown, alone. Every
// place of the set holds a copy of it, so that the other levels, empty or unfinished, do not
// keep the game from playing the one being tried.
#include "editor/LevelDocument.h"

#include <string>

namespace zorbo::editor {

struct LevelToTry {
    std::string text;       // the set's file: the level, ten times
    int errors = 0;         // the level's errors, which the game refuses it for
    std::string firstError; // the first of them as a sentence, empty without any
};

// The level (0..9) as such a set, with what the level-set check finds in it.
LevelToTry LevelAlone(const LevelDocument& doc, int32_t level);

} // namespace zorbo::editor
