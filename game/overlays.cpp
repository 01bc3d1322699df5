// What smooth motion adds over the game's pictures: the level's number and title for the
// first seconds of a level, and the flag of each checkpoint reached raised and lit, with a
// chime when it is reached. Nothing here touches the game's state: classic presentation,
// headless runs and recordings play exactly as without it.
#include "game/GameWindow.h"

#include <algorithm>

namespace zorbo {

void GameWindow::InitOverlays()
{
    overlays.on = platform.ShowsOverlays();
    if (!overlays.on)
        return;
    const int32_t count = static_cast<int32_t>(kCheckpointFlags.size());
    overlays.flags = Surface{};
    overlays.flags.Create(ddMain, 16 * count, 16);
    // A missing picture is warned about by the loader, and the flags stay as the map has them.
    overlays.flags.Load(ddMain, DataPath + "checkpoint.bmp");
}

void GameWindow::StartLevelCard()
{
    if (!overlays.on || gLevel < 0 || gLevel >= TileMap::Levels)
        return;
    overlays.card = LevelName(gLevel, LevelTitles[static_cast<size_t>(gLevel)]);
    overlays.cardMs = 0;
    overlays.reached.clear();
    overlays.checkpoints.clear();
    for (const Checkpoint& c : LevelCheckpoints(LevelCodes(), LastMapColumn))
        overlays.checkpoints.push_back(c.cell);
}

void GameWindow::CheckpointTaken(MapCell start)
{
    if (!overlays.on)
        return;
    const auto& cps = overlays.checkpoints;
    // The level's own start, and a checkpoint met again after a restart there, say nothing.
    if (std::find(cps.begin(), cps.end(), start) == cps.end() ||
        std::find(overlays.reached.begin(), overlays.reached.end(), start) != overlays.reached.end())
        return;
    overlays.reached.push_back(start);
    PlaySound(Sound::Checkpoint);
}

Overlay GameWindow::FrameOverlay()
{
    Overlay o;
    if (!overlays.on)
        return o;
    if (!overlays.card.empty() && overlays.cardMs < CardMs) {
        o.card = overlays.card;
        const uint32_t left = CardMs - overlays.cardMs;
        o.cardOpacity = static_cast<uint8_t>(left >= CardFadeMs ? 255 : 255 * left / CardFadeMs);
        overlays.cardMs += static_cast<uint32_t>(FrameDelay + 1);
    }
    if (overlays.flags.valid())
        for (const MapCell& start : overlays.reached) {
            const MapCell flag = CheckpointFlagCell(start);
            const int32_t code = MapCode(flag.row, flag.col);
            for (size_t i = 0; i < kCheckpointFlags.size(); ++i)
                if (kCheckpointFlags[i].code == code) {
                    const int32_t left = 16 * static_cast<int32_t>(i);
                    o.cells.push_back({flag.col, flag.row, &overlays.flags, Rect{left, 0, left + 16, 16}});
                }
        }
    return o;
}

} // namespace zorbo
