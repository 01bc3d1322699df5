#include "game/Kinds.h"
#include "enemies/Walker.h"
#include "game/GameWindow.h"
#include "world/Objects.h"

namespace zorbo {

namespace {

// A hero landing on a shell springs back up (a rising one rises faster).
void ShellBounce(Sprite& hero)
{
    if (hero.SpeedY > 0)
        hero.SpeedY = -hero.SpeedY;
    else
        hero.SpeedY = hero.SpeedY + hero.SpeedY / 2;
}

} // namespace

// PTurtles walk like Wumpels; stomped, they leave a shell that the hero kicks into a
// sliding weapon and stops again by jumping on it.
void GameWindow::UpdatePTurtles()
{
    for (size_t i = 0; i < sprPTurtles.size(); ++i) {
        Sprite& e = sprPTurtles[i];
        if (Enemy::IsWalking(e.State)) {
            WalkerStep(e, PTurtleKind);
            if (e.State == Enemy::Free)
                continue;
            DrawWithLook(e, PTurtleAlt[i], KindOf(EnemyKind::PTurtles).lookOffset);
        } else if (e.State == Enemy::Shell) {
            ShellStep(i);
            if (e.State == Enemy::Free)
                continue;
        } else if (e.State == Enemy::KnockedOut) {
            ScrollStep(e, ViewX);
            e.CurrentFrame = 5;
            e.Y += e.SpeedY;
            e.SpeedY += 1;
            DrawWithLook(e, PTurtleAlt[i], KindOf(EnemyKind::PTurtles).lookOffset);
            if (e.Y >= 230)
                e.State = Enemy::Free;
            continue;
        } else {
            continue;
        }

        // Counted down before the tests: a fresh shell ignores the hero for two updates.
        if (KickDelay[i] > 0)
            --KickDelay[i];
        if (Enemy::IsWalking(e.State)) {
            if (KickDelay[i] > 0 && Stomps(sprPlayer, e.X, e.Y + 8))
                continue;
            if (WalkerContact(e, PTurtleKind.contactTop, Sound::ShellStomp)) {
                KickDelay[i] = 3;
                e.SpeedX = 0;
            }
        } else if (e.State == Enemy::Shell && KickDelay[i] <= 0) {
            ShellContact(i);
        }
    }
}

void GameWindow::ShellStep(size_t i)
{
    Sprite& e = sprPTurtles[i];
    e.CurrentFrame = KindOf(EnemyKind::PTurtles).squashed.left;
    MoveStep(e, ViewX);
    e.Y += e.SpeedY;
    const int32_t col = CellColumn(e, ViewX);
    const int32_t row = PTurtleKind.Row(e.Y);
    if (col < 1 || row > PTurtleKind.lastRow) {
        e.State = Enemy::Free;
        return;
    }
    auto solid = [this](int32_t r, int32_t c) { return IsSolid(MapCode(r, c)); };
    const bool left = e.SpeedX < 0;
    const bool inAir = e.SpeedY != 0;

    // A wall turns the shell back, snapped to the cell edge: a brick breaks (its fragments
    // start from the shell's column, taken before the snap); anything else bumps, heard only
    // while the shell is on screen.
    auto hitWall = [&](int32_t r, int32_t c) {
        const int32_t brick = BrickKind(MapCode(r, c));
        if (brick >= 0) {
            InitializeBricks((e.X / 16) * 16, row * 16, brick);
            ClearCell(r, c);
            e.SpeedX = -e.SpeedX;
        } else {
            if (e.X > 0)
                PlaySound(Sound::Bump);
            e.SpeedX = inAir ? (left ? 9 : -9) : -e.SpeedX;
        }
        // Kept on purpose: the snap rounds the screen x, not the world x, so where the
        // shell stops depends on the scroll (recordings rely on it).
        e.X = (e.X / 16) * 16 + (left ? 16 : 0);
    };
    auto land = [&]() {
        e.SpeedY = 0;
        e.Y = row * 16 + PTurtleKind.landOffset;
    };

    if (e.SpeedX != 0) {
        const int32_t front = left ? col : col + 1;   // the column it slides into
        const int32_t back = left ? col + 1 : col;    // the other column under it
        if (!inAir) {
            const int32_t code = MapCode(row, front);
            // Kept on purpose: on the ground it passes unmade object cells (levels rely on it).
            if (IsSolid(code) && !PassedOnTheGround(code))
                hitWall(row, front);
            if (!solid(row + 1, col) && !solid(row + 1, col + 1))
                e.SpeedY = 6;
        } else if (solid(row, front)) {
            hitWall(row, front);
        } else if (solid(row + 1, back)) {
            land();
        } else if (solid(row + 1, front)) {
            const int32_t cx = e.X + ViewX + 8, cy = e.Y + PTurtleKind.centreY;
            const int32_t tx = left ? 16 * col - 8 : 16 * col + 8;
            if (LandsOnCorner(cx, cy, tx, 16 * row + 24, !left))
                land();
            else
                hitWall(row + 1, front);
        }
    } else if (!solid(row + 1, col) && !solid(row + 1, col + 1)) {
        // A resting shell falls; one stopped in mid-air keeps its SpeedY on top of this,
        // so it drops 12 pixels an update (kept on purpose).
        e.Y += 6;
    } else {
        land();
    }

    DrawWithLook(e, PTurtleAlt[i], KindOf(EnemyKind::PTurtles).lookOffset);
    if (e.X < -160)
        e.State = Enemy::Free;
}

void GameWindow::ShellContact(size_t i)
{
    Sprite& s = sprPTurtles[i];
    Sprite& h = sprPlayer;
    const int32_t px = h.X, py = h.Y, sx = s.X, sy = s.Y;
    const bool grounded = h.State == Hero::GroundRight || h.State == Hero::GroundLeft;
    const bool airborne = h.State == Hero::AirRight || h.State == Hero::AirLeft;
    const int32_t dy = (py + 8) - (sy + 12);
    const bool level = -6 < dy && dy < 10;
    const bool onTop = sy + 8 < py + 16 && py + 16 < sy + 23;

    if (s.SpeedX == 0) {
        // A resting shell is kicked away from the hero, by a walk into it or a jump onto it.
        if (grounded && px < sx + 15 && px + 15 > sx && level) {
            PlaySound(Sound::Kick);
            s.SpeedX = sx - px > 0 ? 9 : -9;
        } else if (airborne && onTop && px + 15 >= sx && px <= sx + 15) {
            ShellBounce(h);
            PlaySound(Sound::Kick);
            s.SpeedX = px <= sx ? 9 : -9;
        }
        return;
    }
    int32_t shell = static_cast<int32_t>(i);
    PTurtleCollision(shell);
    if (grounded && px < sx + 13 && px + 13 > sx && level) {
        HitHero();
    } else if (airborne && onTop && px + 16 > sx && px < sx + 13) {
        // Jumping on a sliding shell stops it.
        ShellBounce(h);
        h.Y += h.SpeedY;
        PlaySound(Sound::ShellStomp);
        s.SpeedX = 0;
    }
}

// A sliding shell knocks out every enemy in its box, in one call, without slowing down.
void GameWindow::PTurtleCollision(int32_t& shell)
{
    if (shell < 0 || shell >= static_cast<int32_t>(sprPTurtles.size()))
        return;
    const Sprite& s = sprPTurtles[static_cast<size_t>(shell)];
    KnockOut(KnockCause::Shell, s.X, s.Y, &s);
}

// A winged turtle knocked out of the air (by a shell or a fireball) falls off the screen
// as a knocked-out PTurtle, in the lowest free PTurtle slot if there is one.
void GameWindow::KnockOutFTurtle(size_t f)
{
    Sprite& t = sprFTurtles[f];
    t.State = Enemy::Free;
    const int32_t k = PTurtleFromFTurtle(f);
    if (k >= 0) {
        Sprite& p = sprPTurtles[static_cast<size_t>(k)];
        p.SpeedX = 0;
        p.State = Enemy::KnockedOut;
        p.SpeedY = -5;
    }
    t.CurrentFrame = 1;
    t.SpeedX = 0;
}

// The PTurtle a winged turtle leaves: the lowest free PTurtle slot, put where the winged
// turtle is and given its look. -1 when every slot is taken.
int32_t GameWindow::PTurtleFromFTurtle(size_t f)
{
    const int32_t k = FreeSlot(sprPTurtles, Enemy::Free);
    if (k >= 0) {
        const auto slot = static_cast<size_t>(k);
        Sprite& p = sprPTurtles[slot];
        p.X = sprFTurtles[f].X;
        p.Y = sprFTurtles[f].Y;
        p.GlobalX = ViewX;
        PTurtleAlt[slot] = FTurtleAlt[f];
    }
    return k;
}

} // namespace zorbo
