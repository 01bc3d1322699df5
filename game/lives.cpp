#include "game/Kinds.h"
#include "game/GameWindow.h"
#include "game/Turning.h"

#include <cmath>

namespace zorbo {

namespace {
constexpr int32_t QuestionYellow = RGB(255, 255, 83);
constexpr int32_t QuestionBlack = RGB(0, 0, 0);

struct ParadeStep {
    EnemyKind kind;
    size_t slot;
    int32_t frame;
    bool alternate; // the frame in the kind's alternate look
    int32_t x, y;
};

// The enemy kinds along the bottom of the screen while the game is won.
constexpr ParadeStep kParade[] = {
    {EnemyKind::Wumpels, 0, 0, false, 0, 224},    {EnemyKind::Wumpels, 0, 1, true, 16, 224},
    {EnemyKind::Turtles, 0, 1, false, 32, 216},   {EnemyKind::FTurtles, 0, 1, false, 48, 216},
    {EnemyKind::PTurtles, 0, 1, false, 64, 216},  {EnemyKind::FTurtles, 0, 1, true, 80, 216},
    {EnemyKind::PTurtles, 0, 1, true, 96, 216},   {EnemyKind::Blacks, 0, 1, false, 112, 224},
    {EnemyKind::Greenies, 0, 6, false, 128, 224}, {EnemyKind::Birds, 0, 1, false, 144, 224},
    {EnemyKind::Birds, 0, 3, false, 160, 224},    {EnemyKind::Wumpels, 1, 1, false, 304, 224},
    {EnemyKind::Wumpels, 1, 2, true, 288, 224},   {EnemyKind::Turtles, 1, 2, false, 272, 216},
    {EnemyKind::FTurtles, 1, 2, false, 256, 216}, {EnemyKind::PTurtles, 1, 2, false, 240, 216},
    {EnemyKind::FTurtles, 1, 2, true, 224, 216},  {EnemyKind::PTurtles, 1, 2, true, 208, 216},
    {EnemyKind::Blacks, 1, 3, false, 192, 224},   {EnemyKind::Greenies, 1, 0, false, 176, 224},
};

// The spiral keeps its values in single precision while the steps are double constants.
void SpiralStep(TimerRecord& t, Sprite& hero, double radiusStep, double angleStep)
{
    t.SpiralRadius = static_cast<float>(t.SpiralRadius + radiusStep);
    t.SpiralAngle = static_cast<float>(t.SpiralAngle + angleStep);
    hero.X = 152 + static_cast<int32_t>(std::nearbyint(SpiralDX(t.SpiralRadius, t.SpiralAngle)));
    hero.Y = 112 + static_cast<int32_t>(std::nearbyint(SpiralDY(t.SpiralRadius, t.SpiralAngle)));
}
} // namespace

// The invulnerability count and the resolution of a hit. A hit while the hero is still
// blinking waits in the Hit state until the count has run out.
bool GameWindow::HurtAndHit()
{
    if (HurtTimer > 0) {
        ++HurtTimer;
        if (HurtTimer == 2 * gDifficulty)
            HurtTimer = 0;
    }
    Sprite& h = sprPlayer;
    if (h.State != Hero::Hit)
        return false;
    // A hero fallen into a pit dies even when powered up.
    if (h.Y < 224 && HeroBig) {
        HeroBig = false;
        PlaySound(Sound::Shrink);
        HurtTimer = 1;
        h.State = Hero::GroundRight;
        return false;
    }
    // Kept on purpose: a hit while he still blinks waits here (recordings rely on it).
    if (HurtTimer != 0)
        return false;
    h.SpeedY = -12;
    h.State = Hero::Dying;
    return true;
}

void GameWindow::KillZorboAnimate()
{
    Sprite& h = sprPlayer;
    h.CurrentFrame = 1;
    h.SpeedY += 1;
    h.Y += h.SpeedY;
    // Kept on purpose: drawn over the last picture without the map, so the rising and
    // falling hero leaves a trail of poses until the level restarts.
    ddsBack.KeepPicture();
    h.Draw(ddsBack);
    if (h.Y <= 239)
        return;

    // Off the bottom of the screen: back to the restart point with a life fewer.
    HeroBig = false;
    h.CurrentFrame = 0;
    h.State = Hero::AirRight;
    h.SpeedY = 0;
    h.SpeedX = 0;
    h.X = StartX;
    h.Y = StartY;
    ViewX = StartViewX;
    --Lives;
    // Trying a level out with looping: no question, the level begins again at once.
    if (Lives == 0 && gLoopLevel) {
        ContinueGame();
        return;
    }
    if (Lives == 0)
        gGameOver = true;
    // The level comes back as it was loaded, drawn at once at the restart view.
    KillAllEnemies();
    if (!LoadLevelData())
        return;
    PlaceTestStart(false);
    DrawTiles();
}

void GameWindow::DrawQuestion(const char* first, const char* second, int32_t& blink)
{
    ++blink;
    ddsBack.KeepPicture();
    if (blink <= 6) {
        ddsBack.SetFont("FixedSys", 18, true, false, false, QuestionYellow);
        ddsBack.DrawText(80, 75, first);
        ddsBack.DrawText(32, 130, second);
    } else if (blink <= 12) {
        ddsBack.SetFont("FixedSys", 18, true, false, false, QuestionBlack);
        ddsBack.DrawText(80, 75, first);
        ddsBack.DrawText(32, 130, second);
        if (blink == 12)
            blink = 0;
    }
    ddsBack.SetFont(HudFont, HudFontPoints, true, false, false, HudColor);
}

void GameWindow::GameOverPrompt()
{
    DrawQuestion("GAME OVER", "CONTINUE (Y/N)?", Timers.GameOverBlink);
}

// One frame of the winning sequence. The back buffer is never cleared, so the hero leaves
// a trail over the last picture of the game. Kept on purpose: its phase and counters are
// never reset, so a second win in the same run goes straight to the question.
void GameWindow::Game_Won(int32_t /*MS*/)
{
    ddsBack.KeepPicture();
    DrawBorders();
    Sprite& h = sprPlayer;
    h.CurrentFrame = 1;
    TimerRecord& t = Timers;
    switch (t.WonPhase) {
    case 0:
        if (t.SpiralCX < 1) {
            t.SpiralCX = 152;
            t.SpiralRadius = SpiralStartRadius;
        }
        SpiralStep(t, h, SpiralRadiusStep, SpiralAngleStep);
        if (h.X > 320 || h.X < 0)
            t.WonPhase = 1;
        break;
    case 1:
        SpiralStep(t, h, -SpiralRadiusStep, -SpiralAngleStep);
        if (h.X == 152 && h.Y == 112) {
            t.WonPhase = 2;
            t.SpiralRadius = SpiralStartRadius;
            h.X = 152;
            h.Y = 112;
        }
        break;
    case 2:
        ++t.ParadeCount;
        for (const ParadeStep& step : kParade) {
            const KindRow& kind = KindOf(step.kind);
            Sprite& s = kind.slots(*this)[step.slot];
            s.CurrentFrame = step.frame + (step.alternate ? kind.lookOffset : 0);
            s.X = step.x;
            s.Y = step.y;
            s.Draw(ddsBack);
        }
        if (t.ParadeCount == 3 * gDifficulty)
            t.WonPhase = 3;
        break;
    case 3:
        DrawQuestion("YOU WON!!", "NEW GAME (Y/N)?", t.WonBlink);
        break;
    default:
        break;
    }
    h.Draw(ddsBack);
    ddMain.Draw(ddsBack);
    bKeyDown = false;
    bDownKey = false;
}

} // namespace zorbo
