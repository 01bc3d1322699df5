// The enemies' share of a frame on a busy screen: every slot of every kind in play (half of
// the PTurtles sliding shells, half of the plants out of their pipes, the Birds diving, all
// six fire chains turning and all sixteen flames burning), over a floor with gaps, walls
// and bricks.
#include "game/Kinds.h"
#include "game/GameWindow.h"
#include "media/HeadlessPlatform.h"
#include "world/Objects.h"

#include <benchmark/benchmark.h>

namespace {

// The kinds' own busy states, where standing on the floor in the walkers' states is not
// the busiest: slot i of the kind, already placed.
void MakeBusy(zorbo::GameWindow& game, zorbo::EnemyKind kind, size_t i, zorbo::Sprite& e)
{
    using zorbo::EnemyKind;
    switch (kind) {
    case EnemyKind::PTurtles:
        if (i % 2 == 1) {
            e.State = zorbo::Enemy::Shell;
            e.SpeedX = i % 4 == 1 ? 9 : -9;
        }
        break;
    case EnemyKind::FTurtles:
        e.Y = 96;
        break;
    case EnemyKind::Browns:
        e.Y = 144;
        break;
    case EnemyKind::Plants:
        e.Y = 136;
        e.State = i % 2 == 0 ? zorbo::Plant::Hidden : zorbo::Plant::Out;
        e.AnimDir = 1;
        e.CurrentFrame = static_cast<int32_t>(i);
        game.PlantTimer[i] = static_cast<int32_t>(i);
        break;
    case EnemyKind::Birds:
        e.Y = 8;
        e.State = e.State == zorbo::Enemy::Left ? zorbo::Bird::DiveLeft : zorbo::Bird::DiveRight;
        break;
    default:
        break;
    }
}

// The Y offset a kind is started with from its cell (its first map code's).
int32_t SpawnDy(zorbo::EnemyKind kind)
{
    for (const zorbo::SpawnRow& row : zorbo::kSpawns)
        if (row.kind == kind)
            return row.dy;
    return 0;
}

void Populate(zorbo::GameWindow& game)
{
    using zorbo::Enemy::Left;
    using zorbo::Enemy::Right;
    game.gLevel = 0;
    game.ViewX = 0;
    for (int32_t col = 0; col <= 1000; ++col) {
        // A floor in row 12 with a gap every 13 columns, a wall every 17, bricks every 23.
        game.SetMapCode(12, col, col % 13 == 0 ? 0 : 26);
        game.SetMapCode(11, col, col % 17 == 0 ? 26 : (col % 23 == 0 ? 37 : 0));
        game.SetMapCode(13, col, 26);
    }
    int32_t n = 0;
    auto place = [&](zorbo::Sprite& e, int32_t y) {
        e.State = n % 2 == 0 ? Left : Right;
        e.X = 8 + (n * 37) % 300;
        e.Y = y;
        e.GlobalX = 0;
        e.SpeedY = 0;
        e.AnimRate = 3;
        ++n;
    };
    // Every slot of every kind, walking over the floor unless its kind is busier otherwise.
    for (const zorbo::KindRow& kind : zorbo::kKinds) {
        const std::span<zorbo::Sprite> slots = kind.slots(game);
        for (size_t i = 0; i < slots.size(); ++i) {
            place(slots[i], 160 + SpawnDy(kind.kind));
            MakeBusy(game, kind.kind, i, slots[i]);
        }
    }
    for (auto& f : game.sprFireballs) {
        place(f, 100);
        f.SpeedX = f.State == Left ? -3 : 3;
        f.SpeedY = -9;
    }
    for (size_t c = 0; c < game.sprFires.size(); ++c) {
        zorbo::FireChain& chain = game.sprFires[c];
        chain.ChainActive = true;
        chain.CenterX = static_cast<float>(30 + 50 * c);
        chain.CenterY = 120.0F;
        chain.Angle = 0.3F * static_cast<float>(c);
        chain.LastViewX = 0;
        game.FireTick[c] = 1;
    }
    for (auto& f : game.sprFlames) {
        place(f, 168);
        f.Active = true;
    }
    // The hero stands apart: every contact is tested, none is made.
    game.sprPlayer.X = 0;
    game.sprPlayer.Y = 16;
    game.sprPlayer.State = zorbo::Hero::GroundRight;
    game.HurtTimer = 0;
}

void BM_UpdateEnemies(benchmark::State& state)
{
    zorbo::HeadlessPlatform platform;
    platform.keepPictures = false;
    zorbo::Settings settings;
    settings.DataPath = ZORBO_BENCH_DATA_DIR;
    settings.gSoundOn = false;
    zorbo::GameWindow game(platform, settings);
    game.Startup();
    Populate(game);
    const zorbo::GameState start = game;
    int frames = 0;
    for (auto _ : state) {
        // Shells knock the others out and Birds dive off the screen within a few dozen
        // frames; start the scene again.
        if (++frames == 32) {
            state.PauseTiming();
            static_cast<zorbo::GameState&>(game) = start;
            frames = 0;
            state.ResumeTiming();
        }
        game.UpdateEnemies();
        benchmark::DoNotOptimize(game.sprWumpels[0].X);
    }
}
BENCHMARK(BM_UpdateEnemies);

} // namespace
