// The level editor's map view: one redraw of what a 1280 x 800 view shows at 4x zoom.
#include "editor/LevelDocument.h"
#include "editor/MapRenderer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace zorbo::editor;

const std::string kData = std::string(ZORBO_BENCH_DATA_DIR) + "/";

// A redraw of the Standard set's first level, scrolled one screen further each time, as
// when the scrollbar is dragged along it; the picture is packed for the window too.
void BM_EditorRedraw(benchmark::State& state)
{
    std::string error;
    const std::optional<LevelDocument> doc = LevelDocument::Load(kData + "Standard.txt", error);
    Pictures pictures;
    std::vector<std::string> missing;
    if (!doc || !pictures.Load(kData, missing) || !missing.empty()) {
        state.SkipWithError(("the Standard set or its pictures cannot be read: " + error).c_str());
        return;
    }
    const MapRenderer renderer(pictures);
    zorbo::Surface view;
    view.Create(1280, 800);
    std::vector<uint8_t> rgb;
    ViewState v;
    v.zoom = 4;
    v.scrollY = 2 * Cell * v.zoom; // 800 pixels show 12 of the 15 rows at 4x
    v.hover = CellPos{0, 12, 30};
    const int32_t step = zorbo::ScreenColumns * Cell * v.zoom;
    const int32_t end = doc->Length(0) * Cell * v.zoom - view.Width();
    for (auto _ : state) {
        renderer.Render(*doc, v, view);
        PackRgb(view, rgb);
        benchmark::DoNotOptimize(rgb.data());
        v.scrollX = v.scrollX + step > end ? 0 : v.scrollX + step;
    }
}
BENCHMARK(BM_EditorRedraw)->Unit(benchmark::kMillisecond);

} // namespace
