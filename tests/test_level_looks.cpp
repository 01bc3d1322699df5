// A level's look, read from its tiles: the shipped levels look as their titles say, and each
// rule of the reading holds at its edge.
#include "level/LevelFile.h"
#include "level/Looks.h"
#include "media/RegularFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace zorbo;

namespace {

// A level of `width` columns: sky above row 12, `floor` in rows 13 and 14.
std::unique_ptr<TileMap> Level(int32_t width, int32_t background, int32_t floor)
{
    auto map = std::make_unique<TileMap>();
    for (int32_t col = 1; col <= width; ++col)
        for (int32_t row = 0; row < TileMap::Rows; ++row)
            map->Set(0, row, col, row < 13 ? background : floor);
    return map;
}

} // namespace

TEST(LevelLooks, TheStandardLevelsLookAsTheirTitlesSay)
{
    std::string bytes, reason;
    ASSERT_EQ(ReadRegularFile(std::string(ZORBO_TEST_DATA_DIR) + "/Standard.txt", LevelFormat::MaxFileBytes, bytes,
                              reason),
              FileError::None)
        << reason;
    auto map = std::make_unique<TileMap>();
    WarpTable warps{};
    const LevelFileSummary summary = ReadLevelSet(bytes, [&](const LevelRow& row) { StoreLevelRow(row, *map, warps); });
    ASSERT_TRUE(summary.valid());
    // Turtle Creek has a stream in a few of its pits and a cave passage, Pipeland a few
    // more: both are open sky; Sandstone Heights has a ledge or two of cloud.
    const std::pair<const char*, Look> expected[] = {
        {"Green Meadow", Look::OpenSky},         {"Turtle Creek", Look::OpenSky},
        {"Glowworm Cave", Look::Cave},           {"Lily Lagoon", Look::Lagoon},
        {"Sandstone Heights", Look::OpenSky},    {"Ember Keep", Look::Castle},
        {"Pipeland", Look::OpenSky},             {"Crystal Depths", Look::Cave},
        {"Cloudtop Causeway", Look::CloudCauseway}, {"Fortress of Flames", Look::Castle},
    };
    for (int32_t level = 0; level < TileMap::Levels; ++level) {
        const auto& [title, look] = expected[level];
        ASSERT_EQ(summary.titles[static_cast<size_t>(level)], title);
        EXPECT_EQ(LookName(LevelLook(*map, level)), LookName(look)) << title;
    }
}

TEST(LevelLooks, NightGroundCloudsAndWaterEachDecideAtTheirEdge)
{
    constexpr int32_t Night = 9, Ground = 26, CaveGround = 38, CastleStone = 40, Cloud = 94, Water = 16;
    // By night: castle stone or cave ground, whichever there is more of; by day, plain ground.
    EXPECT_EQ(LevelLook(*Level(60, Night, CaveGround), 0), Look::Cave);
    EXPECT_EQ(LevelLook(*Level(60, Night, CastleStone), 0), Look::Castle);
    EXPECT_EQ(LevelLook(*Level(60, 0, CastleStone), 0), Look::OpenSky) << "castle stone by day";
    auto mixed = Level(60, Night, CaveGround);
    for (int32_t col = 1; col <= 31; ++col)
        for (int32_t row = 13; row < TileMap::Rows; ++row)
            mixed->Set(0, row, col, CastleStone);
    EXPECT_EQ(LevelLook(*mixed, 0), Look::Castle) << "more castle than cave";
    // Night is weighed against the sky of the level's own columns, not of the empty map
    // after its end: a night of plain ground is underground too.
    EXPECT_EQ(LevelLook(*Level(60, Night, Ground), 0), Look::Cave);

    // Clouds decide when more of the ground is cloud than anything else solid.
    auto clouds = Level(60, 0, Cloud);
    EXPECT_EQ(LevelLook(*clouds, 0), Look::CloudCauseway);
    for (int32_t col = 1; col <= 30; ++col)
        for (int32_t row = 13; row < TileMap::Rows; ++row)
            clouds->Set(0, row, col, Ground);
    EXPECT_EQ(LevelLook(*clouds, 0), Look::OpenSky) << "half cloud, half ground";

    // Water under a sixth of the columns makes a lagoon; one column fewer does not.
    auto lagoon = Level(60, 0, Ground);
    for (int32_t col = 1; col <= 9; ++col)
        lagoon->Set(0, 14, col, Water);
    EXPECT_EQ(LevelLook(*lagoon, 0), Look::OpenSky);
    lagoon->Set(0, 14, 10, Water);
    EXPECT_EQ(LevelLook(*lagoon, 0), Look::Lagoon);

    EXPECT_EQ(LevelLook(TileMap(), 0), Look::OpenSky) << "an empty level";
}
