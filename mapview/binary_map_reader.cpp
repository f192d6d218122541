#include "mapview/binary_map_reader.h"

#include "mapview/lnd_text.h"

#include <cmath>

namespace kv::mapview {

namespace {

int byteAt(std::string_view bytes, std::size_t offset) {
    return offset < bytes.size() ? int(static_cast<unsigned char>(bytes[offset])) : 0;
}

} // namespace

void applyTileBits(MapTile& tile, int bits) {
    struct Rule {
        int bits, code, markA, markB; // -1: the mark stays as it is
    };
    static constexpr Rule rules[] = {
        {8, 2, 1, -1},    {24, 18, 1, -1},  {40, 34, 1, -1},  {56, 50, 1, -1},
        {72, 10, 1, -1},  {136, 6, 1, 1},   {144, 20, -1, 1}, {160, 36, -1, 1},
        {176, 52, -1, 1}, {192, 12, -1, 1}, {200, 14, 1, 1},
    };
    tile.tileBits = bits;
    if (bits == 0)
        return;
    for (const Rule& rule : rules) {
        if (rule.bits != bits)
            continue;
        tile.tileCode = rule.code;
        if (rule.markA >= 0)
            tile.tileMarkA = rule.markA;
        if (rule.markB >= 0)
            tile.tileMarkB = rule.markB;
        return;
    }
    tile.tileCode = bits;
}

void readBinaryMap(std::string_view bytes, MapModel& model) {
    model = MapModel{};
    model.sourceMode = SourceMode::Kdg;
    model.mapHeight = byteAt(bytes, 8);
    model.mapWidth = byteAt(bytes, 12);
    model.numTiles = model.mapWidth * model.mapHeight;
    model.versionFlag = byteAt(bytes, 4) == 2;
    model.info = {"Height:" + std::to_string(model.mapHeight),
                  "Width:" + std::to_string(model.mapWidth)};
    model.tiles.resize(model.mapWidth, model.mapHeight);
    for (int y = 0; y < model.mapHeight; ++y) {
        for (int x = 0; x < model.mapWidth; ++x) {
            const std::size_t at = 16 + 3 * (std::size_t(y) * std::size_t(model.mapWidth) + x);
            MapTile* tile = model.tiles.find(x, y);
            tile->height = byteAt(bytes, at + 2);
            tile->texture = byteAt(bytes, at) + 1;
            applyTileBits(*tile, byteAt(bytes, at + 1));
        }
    }
}

double roundHalfEven(double value) {
    const double down = std::floor(value);
    const double diff = value - down;
    if (diff < 0.5)
        return down;
    if (diff > 0.5)
        return down + 1;
    return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

OilWorldPosition oilWorldPosition(std::string_view features, std::size_t s, int width, int height) {
    const double w = width, h = height;
    OilWorldPosition p;
    double a = byteAt(features, s + 44), b = byteAt(features, s + 43);
    p.worldX = roundHalfEven(-128.0 * (2.0 * (w / 4.0 - 1.0 - a) + 2.0) - b - 64.0);
    a = byteAt(features, s + 48);
    b = byteAt(features, s + 49);
    p.worldY = roundHalfEven(-128.0 * (2.0 * (h / 4.0 - 1.0 - a) + 2.0) - b);
    return p;
}

void readFeatures(std::string_view features, MapModel& model) {
    static constexpr std::string_view kOil = "OilResource";
    const double w = model.mapWidth, h = model.mapHeight;
    for (std::size_t s = features.find(kOil); s != std::string_view::npos;
         s = features.find(kOil, s + 1)) {
        const OilWorldPosition p = oilWorldPosition(features, s, model.mapWidth, model.mapHeight);
        MapObject oil;
        oil.name = std::string(kOil);
        oil.player = 0;
        oil.worldX = p.worldX;
        oil.worldY = p.worldY;
        oil.x = clampToInt(roundHalfEven(std::floor(p.worldX / 128.0) + w / 2.0 + 3.0));
        oil.y = clampToInt(roundHalfEven(std::floor(p.worldY / 128.0) + h / 2.0));
        model.oilResources.push_back(oil);
    }
}

} // namespace kv::mapview
