#pragma once
// Starting a recording, and replaying one: checked against the level set, then played
// without window, sound or clock.
#include "record/Platforms.h"
#include "record/Recording.h"

#include <cstdint>
#include <string>

namespace zorbo {

struct Settings;

// Reads a recording for replay and checks it against its level set: the file of the
// recorded name in the data folder, else in playerFolder (the player's own level sets,
// when given), that is a regular file whose contents hash as recorded and pass the
// level-set check. Fills the game settings it must be started with. False with a clear
// message when the recording cannot be used.
bool PrepareReplay(const std::string& file, const std::string& dataPath, Recording& rec, Settings& settings,
                   std::string& error, const std::string& playerFolder = {});

// Starts a recording with the settings of the game about to be played; false when its
// level set cannot be read or named in a recording.
bool StartRecording(const Settings& settings, Recording& rec, std::string& error);

struct ReplayResult {
    bool ok = false;           // every checkpoint matched and the inputs were used up exactly
    ReplayEnd end = ReplayEnd::Diverged;
    std::string message;       // the verdict, when not ok
    std::string summary;       // where the game ended (Summary)
    int64_t polls = 0;
    int checkpoints = 0;
};

// Replays a recording without window, sound or clock, as fast as possible; with
// stopAfterFrames >= 0 it stops after that many pictures.
ReplayResult ReplayHeadless(const Recording& rec, const Settings& settings, int stopAfterFrames = -1);

// The line a headless replay prints: where the game ended (its state hash among it), the
// polls read and the checkpoints matched. Scripts compare these lines between builds.
std::string ReplayLine(const ReplayResult& result);

} // namespace zorbo
