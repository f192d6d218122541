#pragma once
// The main window's small map preview, drawn from a binary map's bytes alone (the map may
// sit anywhere in the data, e.g. inside an archive).
#include "mapview/rgb_image.h"

#include <string>
#include <string_view>

namespace kv::mapview {

inline constexpr int kPreviewSide = 200;

struct MapPreview {
    enum class Result { Ok, NoMaps, WrongDimensions };
    Result result = Result::NoMaps;
    int width = 0, height = 0; // the map's size in tiles
    RgbImage image;            // one pixel a tile, scaled so no side exceeds 200

    std::string sizeLabel() const; // width " x " height
    // "No maps found", "Wrong map dimensions." or "".
    std::string message() const;
};

MapPreview buildMapPreview(std::string_view bytes);

} // namespace kv::mapview
