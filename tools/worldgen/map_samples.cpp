#include "tools/worldgen/map_samples.h"

#include <cstdint>

namespace kv::worldgen {

LndMapSpec smallLndMapSpec() {
    return {.width = 8,
            .height = 6,
            .seaLevel = 50,
            .tileHeight = [](int x, int y) { return 20 * x + 3 * y; },
            .texture = [](int x, int y) { return 1 + (x + 2 * y) % 30; },
            .objects = {{"\"A0LightFactory\"", 0, worldXOfTile(5, 8), worldYOfTile(1, 6)},
                        {"\"A0PowerGenerator\"", 1, worldXOfTile(6, 8), worldYOfTile(4, 6)}},
            .gateways = {{0, 0, 3, 3}}};
}

std::string patternBinaryMap(int width, int height) {
    const auto tile = [](int x, int y) {
        return BinaryTile{std::uint8_t((x * 7 + y) % 90), std::uint8_t(x % 3 ? 144 : 8),
                          std::uint8_t((x * 13 + y * 5) % 256)};
    };
    return writeBinaryMap(
        {.width = std::uint32_t(width), .height = std::uint32_t(height), .tile = tile});
}

} // namespace kv::worldgen
