#pragma once
// The state hash: what a recording's checkpoints pin the game by, over every field of the
// game state listed in record/StateFields.h.
#include "record/Recording.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zorbo {

struct GameState;

// FNV-1a over a file's bytes: what a recording pins its level set by.
uint64_t HashBytes(std::string_view bytes);

// A hash of the game's state (not of its picture, which depends on the installed fonts).
uint64_t StateHash(const GameState& state);

// What a checkpoint and a replay summary report about a game.
Recording::Checkpoint CheckpointOf(const GameState& state, int64_t poll);
std::string Summary(const GameState& state);

} // namespace zorbo
