// Any bytes as an LND file: the reader, then every drawing layer, a rendered region at
// one of the window's zoom steps and the statistics on whatever it read.
#include "mapview/lnd_reader.h"
#include "mapview/lnd_text.h"
#include "mapview/map_layers.h"
#include "mapview/map_statistics.h"
#include "mapview/view_geometry.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kv::mapview;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Large maps take the same paths as small ones, only slower: keep the runs quick.
    const auto lines = splitLndLines(text);
    if (lines.size() > 11 &&
        std::int64_t(parseLndInt(lndToken(lines[10], 5))) * parseLndInt(lndToken(lines[11], 5)) >
            16384)
        return 0;
    MapModel model;
    kv::NoProgress progress;
    if (readLnd(text, model, progress) != ReadOutcome::Done)
        return 0;
    static MapPicture picture; // its colour buffer is large; reused between inputs
    picture.setSize(model.mapWidth, model.mapHeight, kZoomSteps[size % kZoomSteps.size()]);
    drawTerrain(model, picture, progress);
    drawWater(model, picture, int(size % 300), progress);
    drawTextures(model, picture, progress);
    drawObjects(model, picture, progress);
    drawGateways(model, picture, progress);
    picture.repaintFromBuffer();
    static RgbImage region;
    const int at = int(size % 97) - 48; // the region may start off the picture
    picture.renderRegion({at, -at, 64, 48}, size % 3 == 0, {}, region);
    (void)mapStatistics(model);
    return 0;
}
