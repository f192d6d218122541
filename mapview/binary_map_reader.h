#pragma once
// The binary map reader ("Game.map" as stored in archives) and its features file
// ("Feat.bjo"), from which the oil resources are taken.
#include "mapview/map_model.h"

#include <string_view>

namespace kv::mapview {

// Derives TileCode and the two marks from a tile's bits.
void applyTileBits(MapTile& tile, int bits);

// Reads a binary map into `model` (replacing it): header, tiles with their one-tile
// border, the information list. Bytes past the end of a short file read as 0.
void readBinaryMap(std::string_view bytes, MapModel& model);

// Adds one oil resource per "OilResource" in the features file. The map's header gives
// the width and height the positions are computed against.
void readFeatures(std::string_view features, MapModel& model);

// Rounding to the nearest integer, halves to the even neighbour.
double roundHalfEven(double value);

// The world position of an oil resource as the features file gives it.
struct OilWorldPosition {
    double worldX = 0;
    double worldY = 0;
};
OilWorldPosition oilWorldPosition(std::string_view features, std::size_t start, int width,
                                  int height);

} // namespace kv::mapview
