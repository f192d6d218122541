#pragma once
// The drawing layers of the viewer. Each reports its status, draws column by column and
// checks for a stop request after every column (or object); it returns false when it
// stopped early.
#include "common/progress.h"
#include "mapview/map_model.h"
#include "mapview/map_picture.h"

#include <string>

namespace kv::mapview {

inline constexpr Rgb kObjectColour{255, 0, 0};
inline constexpr Rgb kGatewayColour{0, 255, 255};

// The water colour is this base plus the sea-level slider's value (limited to 255).
inline constexpr int kWaterBase = 60;
inline constexpr int kSeaLevelSliderMax = 255 - kWaterBase;

// Tile-type colours of the texture layer.
Rgb tileTypeColour(int tileType);
// The data sets the texture layer knows.
bool isKnownDataSet(const std::string& dataSet);

// Terrain heights as grey (both modes).
bool drawTerrain(const MapModel& model, MapPicture& picture, Progress& progress);
// Tiles below the sea level in blue base + slider; water that rose above it turns grey.
bool drawWater(const MapModel& model, MapPicture& picture, int sliderValue, Progress& progress);
// LND tiles in the colour of their tile type (the data set is checked by the caller).
bool drawTextures(const MapModel& model, MapPicture& picture, Progress& progress);
// Binary-map tiles by tile type (standard table) shaded with their height.
bool drawBinaryTextures(const MapModel& model, MapPicture& picture, Progress& progress);
bool drawObjects(const MapModel& model, MapPicture& picture, Progress& progress);
bool drawGateways(const MapModel& model, MapPicture& picture, Progress& progress);

} // namespace kv::mapview
