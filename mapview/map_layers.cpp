#include "mapview/map_layers.h"

#include "mapview/tile_type_table.h"

#include <algorithm>

namespace kv::mapview {

namespace {

// Runs `tile` over every tile, column by column, checking for a stop after each column.
template <typename Fn> bool forEachColumn(const MapModel& model, Progress& progress, Fn&& tile) {
    for (int x = 0; x < model.mapWidth; ++x) {
        for (int y = 0; y < model.mapHeight; ++y)
            tile(x, y, model.tiles.at(x, y));
        progress.setProgress(std::uint64_t(x + 1), std::uint64_t(model.mapWidth));
        if (progress.stopRequested())
            return false;
    }
    return true;
}

} // namespace

Rgb tileTypeColour(int tileType) {
    switch (tileType) {
    case 0:
    case 1:
        return {192, 159, 79};
    case 2:
    case 3:
        return {63, 70, 20};
    case 4:
    case 5:
        return {160, 80, 80};
    case 6:
        return {50, 50, 50};
    case 7:
        return {0, 0, 255};
    case 8:
        return {160, 160, 160};
    default:
        return {63, 47, 31};
    }
}

bool isKnownDataSet(const std::string& dataSet) {
    return dataSet == "KorvaneDataC1.eds" || dataSet == "KorvaneDataC2.eds" ||
           dataSet == "KorvaneDataC3.eds";
}

bool drawTerrain(const MapModel& model, MapPicture& picture, Progress& progress) {
    progress.setStatus("Drawing terrain level...");
    picture.clear();
    return forEachColumn(model, progress, [&](int x, int y, const MapTile& tile) {
        picture.setTile(x, y, grey(tile.height));
        picture.saveVisiblePoint(x, y, grey(tile.height));
    });
}

bool drawWater(const MapModel& model, MapPicture& picture, int sliderValue, Progress& progress) {
    progress.setStatus("Drawing water level...");
    const Rgb water = rgbClamped(0, 0, kWaterBase + sliderValue);
    return forEachColumn(model, progress, [&](int x, int y, const MapTile& tile) {
        if (tile.height >= model.seaLevel) {
            if (picture.bufferMarksWater(x, y)) {
                picture.setTile(x, y, grey(tile.height));
                picture.saveVisiblePoint(x, y, grey(tile.height));
            }
            return;
        }
        picture.setTile(x, y, water);
        picture.saveVisiblePoint(x, y, water);
    });
}

bool drawTextures(const MapModel& model, MapPicture& picture, Progress& progress) {
    progress.setStatus("Drawing textures...");
    picture.clear();
    return forEachColumn(model, progress, [&](int x, int y, const MapTile& tile) {
        const Rgb colour = tileTypeColour(model.tileTypeOf(tile.texture));
        picture.setTile(x, y, colour);
        picture.saveVisiblePoint(x, y, colour);
    });
}

bool drawBinaryTextures(const MapModel& model, MapPicture& picture, Progress& progress) {
    progress.setStatus("Drawing textures...");
    picture.clear();
    // The standard tile-type table gives the ground kind; the height shades it so the
    // relief stays readable, and flipped or rotated tiles (marks) keep the same colour.
    return forEachColumn(model, progress, [&](int x, int y, const MapTile& tile) {
        const Rgb base = tileTypeColour(standardTileType(tile.texture));
        const int shade = 96 + std::clamp(tile.height, 0, 255) * 160 / 255; // 96 … 256
        const Rgb colour =
            rgbClamped(base.r * shade / 256, base.g * shade / 256, base.b * shade / 256);
        picture.setTile(x, y, colour);
        picture.saveVisiblePoint(x, y, colour);
    });
}

bool drawObjects(const MapModel& model, MapPicture& picture, Progress& progress) {
    progress.setStatus("Drawing objects...");
    for (const MapObject& object : model.visibleObjects()) {
        picture.setTile(object.x, object.y, kObjectColour);
        if (progress.stopRequested())
            return false;
    }
    return true;
}

bool drawGateways(const MapModel& model, MapPicture& picture, Progress& progress) {
    progress.setStatus("Drawing gateways...");
    for (const Gateway& g : model.gateways) {
        picture.drawLine(g.x1, g.y1, g.x2, g.y2, kGatewayColour);
        if (progress.stopRequested())
            return false;
    }
    return true;
}

} // namespace kv::mapview
