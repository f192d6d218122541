#pragma once
// Writes binary maps ("Game.map") and their features files ("Feat.bjo") for tests,
// benchmarks and the demo world.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kv::worldgen {

struct BinaryTile {
    std::uint8_t texture = 0; // stored texture index (the viewer adds 1)
    std::uint8_t bits = 0;
    std::uint8_t height = 0;
};

struct BinaryMapSpec {
    std::uint32_t width = 16; // header values are 32-bit; readers look at the low byte
    std::uint32_t height = 16;
    std::uint32_t version = 2;
    std::function<BinaryTile(int x, int y)> tile = [](int, int) { return BinaryTile{}; };
};

// "map " + version + height + width (each 32-bit little-endian), then 3 bytes a tile,
// row by row. Sizes above 255 are written as given but only 255 x 255 tiles at most.
std::string writeBinaryMap(const BinaryMapSpec& plan);

// One feature record: the bytes the viewer reads for an oil resource's position.
struct OilFeature {
    std::uint8_t xCoarse = 0, xFine = 0; // offsets 44 and 43 after "OilResource"
    std::uint8_t yCoarse = 0, yFine = 0; // offsets 48 and 49
};

// A features file of 64-byte records: a leading non-oil record, then one per oil.
std::string writeFeatures(const std::vector<OilFeature>& oil);

// The record that puts an oil resource on tile (x, y) of a map with even width and
// height (x from 1, y from 0).
OilFeature oilOnTile(int x, int y);

} // namespace kv::worldgen
