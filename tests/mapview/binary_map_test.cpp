#include "mapview/binary_map_reader.h"
#include "mapview/map_preview.h"

#include "tools/worldgen/map_binary_writer.h"

#include <gtest/gtest.h>

namespace kv::mapview {
namespace {

using worldgen::BinaryMapSpec;
using worldgen::BinaryTile;
using worldgen::writeBinaryMap;

TEST(BinaryMap, TileBitsTable) {
    // Marks 7 and 9 going in show which of them a rule sets and which it keeps.
    const struct {
        int bits, code, markA, markB;
    } cases[] = {{144, 20, 7, 1}, {100, 100, 7, 9}, {0, 0, 7, 9},    {8, 2, 1, 9},
                 {136, 6, 1, 1},  {192, 12, 7, 1},  {200, 14, 1, 1}, {72, 10, 1, 9}};
    for (const auto& c : cases) {
        MapTile t;
        t.tileMarkA = 7;
        t.tileMarkB = 9;
        applyTileBits(t, c.bits);
        EXPECT_EQ(std::tuple(t.tileCode, t.tileMarkA, t.tileMarkB),
                  std::tuple(c.code, c.markA, c.markB))
            << c.bits;
    }
}

TEST(BinaryMap, HeaderTilesRowByRowAndBorder) {
    BinaryMapSpec plan{.width = 3, .height = 2, .version = 2, .tile = [](int x, int y) {
                           return BinaryTile{std::uint8_t(x + 10 * y), std::uint8_t(y ? 144 : 0),
                                             std::uint8_t(200 + x + 10 * y)};
                       }};
    MapModel m;
    readBinaryMap(writeBinaryMap(plan), m);
    EXPECT_EQ(std::tuple(m.sourceMode, m.mapWidth, m.mapHeight, m.versionFlag),
              std::tuple(SourceMode::Kdg, 3, 2, true));
    EXPECT_EQ(m.info, (std::vector<std::string>{"Height:2", "Width:3"}));
    const MapTile& t = m.tiles.at(2, 1);
    EXPECT_EQ(std::tuple(t.height, t.texture, t.tileCode), std::tuple(212, 13, 20));
    EXPECT_EQ(std::pair(m.tiles.at(1, 0).texture, m.tiles.at(1, 0).tileBits), std::pair(2, 0));
    for (int i = -1; i <= 4; ++i) {
        EXPECT_EQ(m.tiles.at(i, -1).height, 0);
        EXPECT_EQ(m.tiles.at(-1, std::min(i, 3)).height, 0);
    }
    plan.version = 1;
    readBinaryMap(writeBinaryMap(plan), m);
    EXPECT_FALSE(m.versionFlag);
}

TEST(BinaryMap, ShortFilesReadAsZeros) {
    MapModel m;
    readBinaryMap(std::string("map \x02\0\0\0\x05", 9), m);
    EXPECT_EQ(m.mapHeight, 5);
    EXPECT_EQ(m.mapWidth, 0);
    const auto tile = [](int, int) { return BinaryTile{1, 2, 3}; };
    const std::string full = writeBinaryMap({.width = 255, .height = 255, .tile = tile});
    readBinaryMap(std::string_view(full).substr(0, full.size() / 2), m);
    EXPECT_EQ(m.tiles.at(0, 0).height, 3);
    EXPECT_EQ(m.tiles.at(254, 254).height, 0);
    readBinaryMap({}, m);
    EXPECT_EQ(m.mapWidth, 0);
}

TEST(BinaryMap, RoundHalfEven) {
    const std::pair<double, int> cases[] = {{2.5, 2},   {3.5, 4},    {-2.5, -2},
                                            {-3.5, -4}, {1.4999, 1}, {-0.6, -1}};
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

TEST(BinaryMap, OilResourcePositionsFromFeatureBytes) {
    MapModel m;
    readBinaryMap(writeBinaryMap({.width = 64, .height = 32}), m);
    // Worked by hand: a = 10, b = 0 gives worldX = -128 * (2 * (16 - 1 - 10) + 2) - 64
    // = -1600, tile X = floor(-12.5) + 32 + 3 = 22; a = 5, b = 64 for Y gives
    // worldY = -128 * (2 * (8 - 1 - 5) + 2) - 64 = -832, tile Y = floor(-6.5) + 16 = 9.
    const std::string features = worldgen::writeFeatures({{10, 0, 5, 64}, {0, 255, 0, 0}});
    readFeatures(features, m);
    ASSERT_EQ(m.oilResources.size(), 2u);
    EXPECT_EQ(std::tuple(m.oilResources[0].name, m.oilResources[0].player, m.oilResources[0].x,
                         m.oilResources[0].y),
              std::tuple("OilResource", 0, 22, 9));
    const std::size_t first = features.find("OilResource");
    EXPECT_EQ(oilWorldPosition(features, first, 64, 32).worldX, -1600);
    EXPECT_EQ(oilWorldPosition(features, first, 64, 32).worldY, -832);
    // a = 0, b = 255: worldX = -128 * 32 - 255 - 64 = -4415, floor(-34.49) + 35 = 0.
    EXPECT_EQ(std::pair(m.oilResources[1].x, m.oilResources[1].y), std::pair(0, 0));
    // The demo writer's inverse lands where it says.
    m.oilResources.clear();
    readFeatures(worldgen::writeFeatures({worldgen::oilOnTile(1, 0), worldgen::oilOnTile(40, 31)}),
                 m);
    EXPECT_EQ(std::pair(m.oilResources[0].x, m.oilResources[0].y), std::pair(1, 0));
    EXPECT_EQ(std::pair(m.oilResources[1].x, m.oilResources[1].y), std::pair(40, 31));
    // An occurrence cut off at the end of the file reads its missing bytes as zero.
    m.oilResources.clear();
    readFeatures("xxOilResource", m);
    EXPECT_EQ(m.oilResources.size(), 1u);
}

TEST(MapPreview, ReadsFromTheFirstMapSignature) {
    const std::string map = writeBinaryMap({.width = 4, .height = 3, .tile = [](int x, int y) {
                                                return BinaryTile{0, 0, std::uint8_t(x * 50 + y)};
                                            }});
    const MapPreview p =
        buildMapPreview("KDG5 some archive bytes" + map + "map " + std::string(20, '\x07'));
    ASSERT_EQ(p.result, MapPreview::Result::Ok);
    EXPECT_EQ(p.sizeLabel(), "4 x 3");
    EXPECT_EQ(std::pair(p.image.width(), p.image.height()), std::pair(4, 3));
    EXPECT_EQ(p.image.at(3, 2), (Rgb{152, 152, 152}));
    EXPECT_EQ(p.image.at(1, 0), (Rgb{50, 50, 50}));
}

TEST(MapPreview, RefusalsAndScaling) {
    EXPECT_EQ(buildMapPreview("no signature here").message(), "No maps found");
    for (const std::string& map : {writeBinaryMap({.width = 256, .height = 10}),
                                   writeBinaryMap({.width = 10, .height = 0}), std::string("map ")})
        EXPECT_EQ(buildMapPreview(map).message(), "Wrong map dimensions.") << map.size();

    const auto columns = [](int x, int) { return BinaryTile{0, 0, std::uint8_t(x)}; };
    const MapPreview p =
        buildMapPreview(writeBinaryMap({.width = 250, .height = 100, .tile = columns}));
    EXPECT_EQ(p.message(), "");
    EXPECT_EQ(p.sizeLabel(), "250 x 100");
    EXPECT_EQ(std::pair(p.image.width(), p.image.height()), std::pair(200, 80));
    EXPECT_EQ(p.image.at(199, 79).r, 248); // the last pixel samples near the last column
    EXPECT_EQ(buildMapPreview(writeBinaryMap({.width = 200, .height = 200})).image.width(), 200);
}

} // namespace
} // namespace kv::mapview
