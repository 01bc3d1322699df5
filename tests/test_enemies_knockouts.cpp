#include "EnemyWorld.h"
#include "game/Kinds.h"

#include <set>
#include <vector>

using namespace zorbo;

namespace {

// Strikes at (x, y) by a hero fireball (arriving there in this update) or a sliding shell
// (PTurtle slot 23, lying there).
struct KnockOuts : test::EnemyWorld, testing::WithParamInterface<KnockCause> {
    bool fireball() const { return GetParam() == KnockCause::Fireball; }
    void Strike(int32_t x, int32_t y)
    {
        if (fireball()) {
            Sprite& f = Put(g->sprHeroFire[0], Ball::Right, x, y + 1);
            f.SpeedY = -1;
            g->ZorboFireBall();
        } else {
            Shell(23, x, y, 9);
            int32_t shell = 23;
            g->PTurtleCollision(shell);
        }
    }
    std::vector<int> SoundList() const
    {
        std::vector<int> list;
        for (const auto& e : g.platform.sounds)
            list.push_back(e.number);
        return list;
    }
};

std::string CauseName(const testing::TestParamInfo<KnockCause>& info)
{
    return info.param == KnockCause::Fireball ? "Fireball" : "Shell";
}

} // namespace

TEST_P(KnockOuts, EveryKindInTheBoxIsHitOnceKindByKindWithItsOwnPictureAndSound)
{
    Sprite& turtle = Put(g->sprTurtles[0], Enemy::Left, 100, 56);
    turtle.SpeedX = -2;
    Sprite& winged = Put(g->sprFTurtles[0], Enemy::Right, 100, 56, 2);
    g->FTurtleAlt[0] = true;
    Sprite& walker = Put(g->sprPTurtles[0], Enemy::Left, 100, 56);
    Sprite& wumpel = Put(g->sprWumpels[0], Enemy::Right, 100, 56, 3);
    Sprite& greenie = Put(g->sprGreenies[0], Enemy::Right, 100, 56, 1);
    Sprite& bird = Put(g->sprBirds[0], Bird::DiveLeft, 100, 56, 2);
    Sprite& black = Put(g->sprBlacks[0], Enemy::Left, 100, 56, 1);
    Sprite& brownLeft = Put(g->sprBrowns[0], Enemy::Left, 100, 56, 2);
    Sprite& brownRight = Put(g->sprBrowns[1], Enemy::Right, 100, 56, 8);
    Sprite& plantOut = Put(g->sprPPlants[0], Plant::Out, 100, 56, 9);
    Sprite& plantHidden = Put(g->sprPPlants[1], Plant::Hidden, 100, 56);
    g.platform.sounds.clear();

    Strike(98, 60);
    const std::vector<int> once{Sound::Stomp, Sound::Kick,  Sound::Kick,  Sound::Stomp, Sound::Stomp,
                                Sound::Stomp, Sound::Stomp, Sound::Stomp, Sound::Stomp};
    EXPECT_EQ(SoundList(), once) << "turtle, winged turtle, PTurtle, Wumpel, Greenie, Black, two Browns, plant";
    EXPECT_EQ(turtle.State, Enemy::Shell);
    EXPECT_EQ(turtle.CurrentFrame, 4) << "was heading left";
    EXPECT_EQ(winged.State, Enemy::Free);
    EXPECT_EQ(winged.CurrentFrame, 1);
    EXPECT_EQ(g->FTurtleAlt[0], fireball()) << "only a shell clears the flag";
    EXPECT_EQ(g->sprPTurtles[1].State, Enemy::KnockedOut) << "the winged turtle's PTurtle";
    EXPECT_TRUE(g->PTurtleAlt[1]);
    EXPECT_EQ(walker.State, Enemy::KnockedOut);
    EXPECT_EQ(walker.SpeedY, -5);
    EXPECT_EQ(wumpel.State, Enemy::Squashed);
    EXPECT_EQ(wumpel.CurrentFrame, fireball() ? 2 : 3);
    EXPECT_EQ(wumpel.SpeedX, 0);
    EXPECT_EQ(greenie.CurrentFrame, 5);
    EXPECT_EQ(bird.State, Bird::DiveLeft) << "nothing knocks a Bird out";
    EXPECT_EQ(black.State, Enemy::Squashed);
    EXPECT_EQ(black.CurrentFrame, 1) << "frame 5 lies past its five-frame strip: kept";
    EXPECT_EQ(brownLeft.CurrentFrame, 5);
    EXPECT_EQ(brownRight.CurrentFrame, 11);
    EXPECT_EQ(plantOut.State, Enemy::Free);
    EXPECT_EQ(plantOut.CurrentFrame, 0);
    EXPECT_EQ(plantHidden.State, Plant::Hidden);
    if (fireball()) {
        EXPECT_EQ(g->sprHeroFire[0].State, Ball::Free);
    } else {
        EXPECT_EQ(g->sprPTurtles[23].State, Enemy::Shell) << "the shell never hits itself";
    }

    // Squashed, knocked out or gone, none is hit again.
    Strike(98, 60);
    EXPECT_EQ(SoundList(), once);
}

TEST_P(KnockOuts, EachKindHasItsOwnBoxPerCause)
{
    struct Box {
        int32_t left, right, top, bottom; // x within X + left .. X + right (exclusive), y inclusive
    };
    struct Case {
        EnemyKind kind;
        int32_t state;
        Box fireball, shell;
    };
    const Box walker{-7, 13, -7, 12};
    const Box shell{-13, 13, -16, 16};
    const Case cases[] = {
        {EnemyKind::Turtles, Enemy::Left, {-7, 13, 0, 23}, shell},
        {EnemyKind::FTurtles, Enemy::Left, {-7, 13, 0, 20}, shell},
        {EnemyKind::PTurtles, Enemy::Shell, {-7, 13, 0, 20}, shell},
        {EnemyKind::Wumpels, Enemy::Left, walker, shell},
        {EnemyKind::Greenies, Enemy::Left, walker, shell},
        {EnemyKind::Blacks, Enemy::Left, walker, shell},
        {EnemyKind::Browns, Enemy::Left, walker, shell},
        {EnemyKind::Plants, Plant::Out, {-7, 13, 0, 16}, {-13, 13, -16, 8}},
    };
    for (const Case& c : cases) {
        const Box& box = fireball() ? c.fireball : c.shell;
        auto hits = [&](int32_t dx, int32_t dy) {
            g->KillAllEnemies();
            Sprite& e = Put(KindOf(c.kind).slots(*g)[0], c.state, 100, 100);
            Strike(100 + dx, 100 + dy);
            return e.State != c.state;
        };
        const int kind = static_cast<int>(c.kind);
        EXPECT_FALSE(hits(box.left, 0)) << kind;
        EXPECT_TRUE(hits(box.left + 1, 0)) << kind;
        EXPECT_TRUE(hits(box.right - 1, 0)) << kind;
        EXPECT_FALSE(hits(box.right, 0)) << kind;
        EXPECT_FALSE(hits(0, box.top - 1)) << kind;
        EXPECT_TRUE(hits(0, box.top)) << kind;
        EXPECT_TRUE(hits(0, box.bottom)) << kind;
        EXPECT_FALSE(hits(0, box.bottom + 1)) << kind;
    }
}

INSTANTIATE_TEST_SUITE_P(Causes, KnockOuts, testing::Values(KnockCause::Fireball, KnockCause::Shell), CauseName);

// Every kind's row names a slot array of its own, look flags as many as its slots, and
// pictures its strip has: a wrong row reads or writes past an array or draws nothing.
TEST(KindRows, EachRowHasItsOwnSlotsMatchingLooksAndPicturesInItsStrip)
{
    GameState g;
    std::set<const Sprite*> arrays;
    for (const KindRow& kind : kKinds) {
        const std::span<Sprite> slots = kind.slots(g);
        EXPECT_TRUE(arrays.insert(slots.data()).second) << "shared: " << static_cast<int>(kind.kind);
        const int32_t frames = kind.strip->frames;
        if (kind.looks != nullptr) {
            EXPECT_EQ(kind.looks(g).size(), slots.size()) << static_cast<int>(kind.kind);
            EXPECT_GT(kind.lookOffset, 0);
            EXPECT_LE(2 * kind.lookOffset, frames) << "both looks lie in the strip";
        }
        // (Not the knock-out frames: a Black's 5 lies past its strip on purpose.)
        for (int32_t frame : {kind.squashed.left, kind.squashed.right})
            EXPECT_LT(frame, frames) << static_cast<int>(kind.kind);
    }
    const std::set<const Sprite*> enemies{g.sprTurtles.data(), g.sprFTurtles.data(), g.sprPTurtles.data(),
                                          g.sprWumpels.data(), g.sprGreenies.data(), g.sprBirds.data(),
                                          g.sprBlacks.data(),  g.sprBrowns.data(),   g.sprPPlants.data()};
    EXPECT_EQ(arrays, enemies);
    // A code drawn in the alternate look needs a kind that has one.
    for (const SpawnRow& row : kSpawns) {
        if (row.alternate) {
            EXPECT_NE(KindOf(row.kind).looks, nullptr) << row.code;
        }
    }
}
