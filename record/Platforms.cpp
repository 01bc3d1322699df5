#include "record/Platforms.h"

#include "game/GameState.h"
#include "record/RecordingWriter.h"
#include "record/StateHash.h"

#include <cinttypes>
#include <cstdio>

namespace zorbo {

// ---- recording

uint32_t RecordingPlatform::GetTickCount()
{
    const uint32_t t = inner_.GetTickCount();
    rec_.inputs.push_back(Recording::Input{false, t, {}});
    return t;
}

uint64_t RecordingPlatform::ClockSeed()
{
    rec_.seed = inner_.ClockSeed();
    if (writer_ != nullptr)
        writer_->Write(rec_);
    return rec_.seed;
}

void RecordingPlatform::CheckLevel()
{
    if (game_ == nullptr)
        return;
    if (game_->gLevel != lastLevel_ || game_->gGameWon != lastWon_) {
        rec_.checkpoints.push_back(CheckpointOf(*game_, polls_));
        lastLevel_ = game_->gLevel;
        lastWon_ = game_->gGameWon;
    }
}

void RecordingPlatform::ReadKeyboard(KeyState& keys)
{
    CheckLevel();
    inner_.ReadKeyboard(keys);
    Recording::Input poll{true, 0, {}};
    for (size_t code = 0; code < keys.size(); ++code)
        if (keys[code] != 0)
            poll.held.push_back(static_cast<uint8_t>(code));
    rec_.inputs.push_back(std::move(poll));
    ++polls_;
    if (writer_ != nullptr)
        writer_->Write(rec_);
}

void RecordingPlatform::Finish()
{
    if (game_ != nullptr)
        rec_.checkpoints.push_back(CheckpointOf(*game_, polls_));
}

// ---- replay

ReplayPlatform::ReplayPlatform(Platform& inner, const Recording& recording, bool realTime)
    : ForwardingPlatform(inner), rec_(recording), realTime_(realTime)
{
    for (const Recording::Input& in : rec_.inputs)
        recordedPolls_ += in.keys ? 1 : 0;
}

uint32_t ReplayPlatform::GetTickCount()
{
    if (next_ < rec_.inputs.size() && !rec_.inputs[next_].keys) {
        lastTick_ = rec_.inputs[next_++].tick;
        return lastTick_;
    }
    if (!exhausted_ && next_ < rec_.inputs.size() && divergence_.empty())
        divergence_ = "after poll " + std::to_string(polls_) + " the game read the clock where the recording polls the keyboard";
    exhausted_ = true;
    return lastTick_;
}

void ReplayPlatform::WaitUntil(uint32_t tick)
{
    // Watching in a window: wait as long as the game would have waited.
    if (realTime_ && tick > lastTick_ && tick - lastTick_ < 60000)
        inner_.WaitUntil(inner_.GetTickCount() + (tick - lastTick_));
    else
        inner_.DoEvents();
}

bool ReplayPlatform::CloseRequested() const
{
    return exhausted_ || next_ >= rec_.inputs.size() || inner_.CloseRequested();
}

void ReplayPlatform::Check(const Recording::Checkpoint& expected)
{
    if (game_ == nullptr || !divergence_.empty())
        return;
    const Recording::Checkpoint seen = CheckpointOf(*game_, expected.poll);
    if (seen == expected) {
        ++matched_;
        return;
    }
    char buf[256];
    std::snprintf(buf, sizeof buf,
                  "at poll %" PRId64 " the recording expects level %d%s with state %s but the game is at level %d%s with state %s",
                  expected.poll, expected.level + 1, expected.won ? " (won)" : "", HashText(expected.hash).c_str(),
                  seen.level + 1, seen.won ? " (won)" : "", HashText(seen.hash).c_str());
    divergence_ = buf;
}

void ReplayPlatform::ReadKeyboard(KeyState& keys)
{
    while (nextCheck_ < rec_.checkpoints.size() && rec_.checkpoints[nextCheck_].poll == polls_)
        Check(rec_.checkpoints[nextCheck_++]);
    keys.fill(0);
    if (next_ < rec_.inputs.size() && rec_.inputs[next_].keys) {
        for (uint8_t code : rec_.inputs[next_].held)
            keys[code] = 0x80;
        ++next_;
    } else {
        if (!exhausted_ && next_ < rec_.inputs.size() && divergence_.empty())
            divergence_ = "at poll " + std::to_string(polls_) + " the game polled the keyboard where the recording reads the clock";
        exhausted_ = true;
    }
    ++polls_;
}

void ReplayPlatform::ShowMessage(const std::string& title, const std::string& text)
{
    // Only an error that ends the game shows a message box, so a replay that meets one
    // cannot have matched.
    if (message_.empty())
        message_ = text;
    inner_.ShowMessage(title, text);
}

void ReplayPlatform::Finish()
{
    const bool usedUp = next_ >= rec_.inputs.size();
    const std::string where = std::to_string(polls_) + " of " + std::to_string(recordedPolls_);
    if (usedUp && !rec_.cutOff)
        while (nextCheck_ < rec_.checkpoints.size())
            Check(rec_.checkpoints[nextCheck_++]);
    if (!divergence_.empty()) {
        end_ = ReplayEnd::Diverged;
        verdict_ = "the replay went its own way: " + divergence_;
    } else if (!message_.empty()) {
        end_ = ReplayEnd::Diverged;
        verdict_ = "the game ended on an error at poll " + where + ": " + message_;
    } else if (!usedUp && inner_.CloseRequested()) {
        end_ = ReplayEnd::Stopped;
        verdict_ = "stopped at poll " + where;
    } else if (!usedUp) {
        end_ = ReplayEnd::Diverged;
        verdict_ = "the replay went its own way: the game ended at poll " + std::to_string(polls_) +
                   ", but the recording goes on to poll " + std::to_string(recordedPolls_);
    } else if (rec_.cutOff) {
        end_ = ReplayEnd::CutOff;
        verdict_ = "the recording was cut off at poll " + std::to_string(recordedPolls_) +
                   " (the game that made it was killed); the replay matched up to there";
    } else if (rec_.checkpoints.empty() || rec_.checkpoints.back().poll != recordedPolls_) {
        // Without a checkpoint where the game ended, an edited game would pass unseen.
        end_ = ReplayEnd::Diverged;
        verdict_ = "the recording has no final checkpoint to compare the game's end with";
    } else if (exhausted_) {
        end_ = ReplayEnd::Diverged;
        verdict_ = "the replay went its own way: the game read on past the recording's end (poll " +
                   std::to_string(recordedPolls_) + ")";
    } else {
        end_ = ReplayEnd::Matched;
        verdict_.clear();
    }
}

} // namespace zorbo
