#include "media/SmoothMotion.h"

#include "media/OverlayPainter.h"
#include "media/Rasteriser.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

namespace zorbo {

namespace {

const TileView& ViewOf(const DrawList& f, int command)
{
    return f.tileViews[std::get<Draw::Tiles>(f.commands[static_cast<size_t>(command)]).view];
}

bool Near(int32_t a, int32_t b)
{
    return std::abs(a - b) <= MaxBlendStep;
}

int32_t Between(int32_t from, int32_t to, double fraction)
{
    return from + static_cast<int32_t>(std::lround((to - from) * fraction));
}

// The view at `view` pixels: each column's codes from whichever frame drew that column
// (the latest first); a column neither drew is left out.
TileView ViewAt(int32_t view, const TileView& latest, const TileView& previous)
{
    TileView v;
    v.first = view / TileView::Size;
    v.shift = view % TileView::Size;
    for (size_t i = 0; i < TileView::Columns; ++i) {
        const int32_t col = v.first + static_cast<int32_t>(i);
        const TileView* from = nullptr;
        if (col >= latest.first && col < latest.first + TileView::Columns)
            from = &latest;
        else if (col >= previous.first && col < previous.first + TileView::Columns)
            from = &previous;
        for (size_t r = 0; r < TileView::Rows; ++r)
            v.codes[r][i] = from != nullptr ? from->codes[r][static_cast<size_t>(col - from->first)] : int16_t{-1};
    }
    return v;
}

// Where each sprite drawn exactly once in a frame was drawn, sorted by its owner.
using Places = std::vector<std::pair<const void*, const Draw::Sprite*>>;
Places SpritesDrawnOnce(const DrawList& f)
{
    Places all;
    for (const DrawCommand& c : f.commands)
        if (const auto* s = std::get_if<Draw::Sprite>(&c))
            all.emplace_back(s->owner, s);
    std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return std::less<>()(a.first, b.first); });
    Places once;
    for (size_t i = 0; i < all.size(); ++i) {
        const bool twice = (i > 0 && all[i - 1].first == all[i].first) ||
                           (i + 1 < all.size() && all[i + 1].first == all[i].first);
        if (!twice)
            once.push_back(all[i]);
    }
    return once;
}

const Draw::Sprite* Find(const Places& places, const void* owner)
{
    const auto it = std::lower_bound(places.begin(), places.end(), owner,
                                     [](const auto& p, const void* o) { return std::less<>()(p.first, o); });
    return it != places.end() && it->first == owner ? it->second : nullptr;
}

} // namespace

bool Blendable(const DrawList& previous, const DrawList& latest)
{
    const bool keeps = std::any_of(latest.commands.begin(), latest.commands.end(),
                                   [](const DrawCommand& c) { return std::holds_alternative<Draw::KeepPicture>(c); });
    return !keeps && FirstTiles(previous) >= 0 && FirstTiles(latest) >= 0;
}

DrawList Blend(const DrawList& previous, const DrawList& latest, double fraction)
{
    DrawList out = latest;
    if (!Blendable(previous, latest))
        return out;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const int at = FirstTiles(latest);
    const TileView& from = ViewOf(previous, FirstTiles(previous));
    const TileView& to = ViewOf(latest, at);
    if (Near(from.View(), to.View()))
        out.tileViews[std::get<Draw::Tiles>(out.commands[static_cast<size_t>(at)]).view] =
            ViewAt(Between(from.View(), to.View(), fraction), to, from);

    const Places before = SpritesDrawnOnce(previous);
    const Places now = SpritesDrawnOnce(latest);
    for (DrawCommand& c : out.commands) {
        auto* s = std::get_if<Draw::Sprite>(&c);
        if (s == nullptr || Find(now, s->owner) == nullptr)
            continue;
        const Draw::Sprite* was = Find(before, s->owner);
        if (was == nullptr || !Near(was->x, s->x) || !Near(was->y, s->y))
            continue;
        s->x = Between(was->x, s->x, fraction);
        s->y = Between(was->y, s->y, fraction);
    }
    return out;
}

void InBetweens::FrameShown(const DrawList& frame, uint32_t now)
{
    previous_ = std::move(latest_);
    latest_ = frame;
    shownAt_ = now;
}

const Surface& InBetweens::PictureAt(uint32_t now, const Surface& composed, double& fraction)
{
    fraction = 1.0;
    const bool blendable = latest_.periodMs != 0 && Blendable(previous_, latest_);
    if (blendable)
        fraction = std::min(1.0, static_cast<double>(now - shownAt_) / latest_.periodMs);
    const bool blended = fraction < 1.0;
    DrawList draws;
    std::vector<int32_t> places;
    if (blended) {
        draws = Blend(previous_, latest_, fraction);
        for (const DrawCommand& c : draws.commands)
            if (const auto* s = std::get_if<Draw::Sprite>(&c))
                places.insert(places.end(), {s->x, s->y});
        for (const TileView& v : draws.tileViews)
            places.push_back(v.View());
    }
    same_ = lastFrame_ == latest_.number && lastBlended_ == blended && lastPlaces_ == places;
    lastFrame_ = latest_.number;
    lastBlended_ = blended;
    lastPlaces_ = std::move(places);
    const bool overlaid = !latest_.overlay.empty();
    if (same_)
        return overlaid ? overlaid_ : blended ? between_ : composed;
    const Surface* picture = &composed;
    if (blended) {
        // The blended tile map covers the picture; what it leaves out (a tile picture that
        // could not be loaded) keeps the latest picture's pixels, copied once per frame.
        if (betweenOf_ != latest_.number || !between_.valid()) {
            between_.Assign(composed);
            betweenOf_ = latest_.number;
        }
        Paint(draws, between_);
        picture = &between_;
    }
    if (!overlaid)
        return *picture;
    overlaid_.Assign(*picture);
    PaintOverlay(blended ? draws : latest_, overlaid_);
    return overlaid_;
}

} // namespace zorbo
