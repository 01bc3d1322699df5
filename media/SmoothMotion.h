#pragma once
// Pictures between two game frames. The game thinks at its own rate (18 to 38 frames a
// second); a display shows 60 or more pictures a second. Between two frames the latest
// frame's draws are painted again with the view and each sprite moved part of the way
// from where the frame before drew them, so motion looks smooth while every game frame,
// and every composed picture, stays exactly what it is.
#include "media/DrawList.h"
#include "media/Surface.h"

#include <cstdint>
#include <vector>

namespace zorbo {

// The most the view or a sprite moves in one frame by running, walking or falling. One
// that moves further was put somewhere (a warp, a restart, a slot used again): it is shown
// where it is, not on a way it never went.
constexpr int32_t MaxBlendStep = 32;

// Whether pictures between these two frames can be blended: both drew the tile map, and
// the latest drew a picture of its own (not over the last one: the dying hero's trail, the
// prompts and the winning sequence are shown as they are).
bool Blendable(const DrawList& previous, const DrawList& latest);

// The latest frame's draws with the view and each sprite drawn once in both frames moved
// `fraction` (0..1) of the way from the previous frame's place to the latest one's,
// rounded to picture pixels. Everything else (a sprite that appears or jumps, texts,
// borders) is drawn as the latest frame drew it.
DrawList Blend(const DrawList& previous, const DrawList& latest, double fraction);

// The draws of the two latest game frames and the pictures between them.
class InBetweens {
public:
    // A game frame has ended (at `now`, in milliseconds).
    void FrameShown(const DrawList& frame, uint32_t now);
    // The picture to show at `now`, given the latest frame's composed picture; `fraction`
    // says how far it is blended (1: the composed picture itself). The frame's overlay is
    // painted over it.
    const Surface& PictureAt(uint32_t now, const Surface& composed, double& fraction);
    uint32_t LatestNumber() const { return latest_.number; }
    // Whether the last picture given is the one given before it (nothing moved a whole
    // pixel in between), so a display that shows it already need not take it again.
    bool SameAsBefore() const { return same_; }

private:
    DrawList previous_;
    DrawList latest_;
    Surface between_;
    Surface overlaid_; // the picture with the latest frame's overlay over it
    uint32_t shownAt_ = 0;
    uint32_t betweenOf_ = 0; // the frame whose composed picture between_ was last reset to
    // What the last picture was: the frame, whether blended, and where things went.
    uint32_t lastFrame_ = 0;
    bool lastBlended_ = false;
    std::vector<int32_t> lastPlaces_;
    bool same_ = false;
};

} // namespace zorbo
