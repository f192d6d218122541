// Any bytes as a binary map, as its features file and as a preview source. Small maps
// also go through the converter and back through the LND reader, which must give the same
// tiles, and oil resources at their exported world positions.
#include "mapview/binary_map_reader.h"
#include "mapview/lnd_converter.h"
#include "mapview/lnd_reader.h"
#include "mapview/map_layers.h"
#include "mapview/map_preview.h"
#include "platform/text.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kv::mapview;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Large maps take the same paths as small ones, only slower: keep the runs quick.
    const auto area = [&](std::size_t p) {
        const auto at = [&](std::size_t i) { return i < size ? int(data[i]) : 0; };
        return at(p + 8) * at(p + 12);
    };
    const std::size_t signature = bytes.find("map ");
    if (area(0) > 4096 || (signature != std::string_view::npos && area(signature) > 4096))
        return 0;
    MapModel model;
    readBinaryMap(bytes, model);
    readFeatures(bytes, model);
    (void)buildMapPreview(bytes);

    kv::NoProgress progress;
    static MapPicture picture; // its colour buffer is large; reused between inputs
    picture.setSize(model.mapWidth, model.mapHeight, 1);
    drawBinaryTextures(model, picture, progress);
    drawObjects(model, picture, progress);
    if (model.mapWidth * model.mapHeight == 0 || model.mapWidth * model.mapHeight > 256)
        return 0;

    MapModel back;
    if (readLnd(kv::platform::joinLinesCrLf(convertToLndLines(model)), back, progress) !=
        ReadOutcome::Done)
        std::abort();
    for (int x = 0; x < model.mapWidth; ++x)
        for (int y = 0; y < model.mapHeight; ++y)
            if (back.tiles.at(x, y).height != model.tiles.at(x, y).height ||
                back.tiles.at(x, y).texture != model.tiles.at(x, y).texture)
                std::abort();
    if (back.objects.size() != model.oilResources.size())
        std::abort();
    // The export writes world X + 256 and world Y - 128; the reader places those.
    for (std::size_t i = 0; i < back.objects.size(); ++i) {
        const MapObject& oil = model.oilResources[i];
        const double x = std::floor(back.mapWidth / 2.0 + (oil.worldX + 256) / 128.0);
        const double y = std::floor(back.mapHeight / 2.0 - (oil.worldY - 128) / 128.0);
        if (std::abs(x) < 1e9 && std::abs(y) < 1e9 &&
            (back.objects[i].x != int(x) || back.objects[i].y != int(y)))
            std::abort();
    }
    return 0;
}
