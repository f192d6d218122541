#include "tools/worldgen/map_demo.h"

#include "tools/worldgen/map_binary_writer.h"
#include "tools/worldgen/map_lnd_writer.h"

#include <algorithm>
#include <cstdlib>

namespace kv::worldgen {

namespace {

// Texture IDs of the standard set by ground kind.
constexpr int kSand = 3, kGrass = 1, kRock = 22, kWater = 15, kCliff = 20;

int textureForHeight(int h, int seaLevel) {
    if (h < seaLevel)
        return kWater;
    if (h < seaLevel + 20)
        return kSand;
    if (h > 200)
        return kCliff;
    if (h > 170)
        return kRock;
    return kGrass;
}

LndObjectSpec object(const char* name, int player, int x, int y, int w, int h) {
    return {std::string("\"") + name + "\"", player, worldXOfTile(x, w), worldYOfTile(y, h)};
}

} // namespace

std::vector<DemoFile> demoLndMaps() {
    LndMapSpec high;
    high.width = 64;
    high.height = 64;
    high.seaLevel = 70;
    high.tileHeight = [](int x, int y) { return hillHeight(x, y, 64, 64); };
    high.texture = [](int x, int y) { return textureForHeight(hillHeight(x, y, 64, 64), 70); };
    high.objects = {object("A0LightFactory", 0, 20, 30, 64, 64),
                    object("A0FacMod1", 0, 20, 30, 64, 64),
                    object("A0PowerGenerator", 0, 24, 30, 64, 64),
                    object("A0PowMod1", 0, 24, 30, 64, 64),
                    object("A0CommandCentre", 0, 22, 34, 64, 64),
                    object("A0LightFactory", 1, 44, 30, 64, 64),
                    object("A0ResearchFacility", 1, 46, 34, 64, 64),
                    object("A0ResearchModule1", 1, 46, 34, 64, 64)};
    high.gateways = {{10, 40, 18, 40}, {40, 12, 40, 20}};

    LndMapSpec river;
    river.width = 48;
    river.height = 32;
    river.seaLevel = 90;
    const auto riverHeight = [](int x, int y) {
        return std::min(std::abs(y - 16 - (x % 12 < 6 ? x % 6 : 6 - x % 6)) * 10 + 40, 180);
    };
    river.tileHeight = riverHeight;
    river.texture = [riverHeight](int x, int y) { return textureForHeight(riverHeight(x, y), 90); };
    river.objects = {object("A0LightFactory", 0, 8, 6, 48, 32),
                     object("A0LightFactory", 0, 8, 6, 48, 32), // two factories on one tile
                     object("OilResource", 0, 24, 16, 48, 32),  // in the river
                     object("A0PowerGenerator", 1, 40, 26, 48, 32)};

    return {{"Highlands.lnd", writeLndMap(high)}, {"Rivermouth.lnd", writeLndMap(river)}};
}

std::vector<DemoFile> demoBinaryMap() {
    BinaryMapSpec map;
    map.width = 96;
    map.height = 64;
    map.tile = [](int x, int y) {
        const int h = hillHeight(x, y, 96, 64);
        BinaryTile t;
        t.height = std::uint8_t(h);
        t.texture = std::uint8_t(textureForHeight(h, 70) - 1);
        t.bits = std::uint8_t((x + y) % 7 == 0 ? 144 : 0);
        return t;
    };
    const std::vector<OilFeature> oil = {oilOnTile(10, 10), oilOnTile(11, 50), oilOnTile(48, 32),
                                         oilOnTile(80, 12), oilOnTile(85, 55)};
    return {{"Game.map", writeBinaryMap(map)}, {"Feat.bjo", writeFeatures(oil)}};
}

} // namespace kv::worldgen
