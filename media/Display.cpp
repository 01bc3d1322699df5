#include "media/Display.h"

#include "media/BitmapFile.h"
#include "media/Warn.h"
#include "media/WhileLoading.h"

namespace zorbo {

bool Display::Startup(int32_t /*lWidth*/, int32_t /*lHeight*/, int32_t lBPP, bool bFullscreen)
{
    if (bFullscreen) {
        if (lBPP < 1 || lBPP > 32)
            lBPP = 32;
        bpp_ = lBPP;
    }
    started_ = platform_.StartDisplay();
    return started_;
}

void Display::Shutdown()
{
    if (started_)
        platform_.StopDisplay();
    started_ = false;
}

void Display::Draw(Canvas& canvas)
{
    canvas.EndFrame();
    platform_.Present(canvas);
}

const Surface* Display::LoadBitmap(const std::string& file)
{
    auto it = bitmaps_.find(file);
    if (it == bitmaps_.end()) {
        auto surface = std::make_unique<Surface>();
        std::string error;
        if (!WhileLoading(file, [&] { return DecodeBitmap(file, *surface, error, &budget_); })) {
            Warn("bitmap " + file + ": " + error + "; it is not drawn");
            surface.reset();
        }
        it = bitmaps_.emplace(file, std::move(surface)).first;
    }
    return it->second.get();
}

} // namespace zorbo
