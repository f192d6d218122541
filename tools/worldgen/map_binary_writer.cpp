#include "tools/worldgen/map_binary_writer.h"

#include <algorithm>

namespace kv::worldgen {

namespace {
void putU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}

std::string record(const std::string& name) {
    std::string r(64, '\0');
    r.replace(0, name.size(), name);
    return r;
}
} // namespace

std::string writeBinaryMap(const BinaryMapSpec& plan) {
    std::string out = "map ";
    putU32(out, plan.version);
    putU32(out, plan.height);
    putU32(out, plan.width);
    const int w = int(std::min<std::uint32_t>(plan.width, 255));
    const int h = int(std::min<std::uint32_t>(plan.height, 255));
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const BinaryTile t = plan.tile(x, y);
            out += char(t.texture);
            out += char(t.bits);
            out += char(t.height);
        }
    }
    return out;
}

std::string writeFeatures(const std::vector<OilFeature>& oil) {
    std::string out = record("Tree1"); // features other than oil are skipped by name
    for (const OilFeature& f : oil) {
        std::string r = record("OilResource");
        r[43] = char(f.xFine);
        r[44] = char(f.xCoarse);
        r[48] = char(f.yCoarse);
        r[49] = char(f.yFine);
        out += r;
    }
    return out;
}

OilFeature oilOnTile(int x, int y) {
    // Two tiles per coarse step; the fine byte picks the odd tile of the pair.
    OilFeature f;
    f.xCoarse = std::uint8_t(x % 2 == 0 ? (x - 2) / 2 : (x - 1) / 2);
    f.xFine = x % 2 == 0 ? 0 : 128;
    f.yCoarse = std::uint8_t(y % 2 == 0 ? y / 2 : (y + 1) / 2);
    f.yFine = y % 2 == 0 ? 0 : 64;
    return f;
}

} // namespace kv::worldgen
