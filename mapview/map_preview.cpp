#include "mapview/map_preview.h"

#include <algorithm>

namespace kv::mapview {

namespace {
int byteAt(std::string_view bytes, std::size_t offset) {
    return offset < bytes.size() ? int(static_cast<unsigned char>(bytes[offset])) : 0;
}
} // namespace

std::string MapPreview::sizeLabel() const {
    return std::to_string(width) + " x " + std::to_string(height);
}

std::string MapPreview::message() const {
    switch (result) {
    case Result::NoMaps:
        return "No maps found";
    case Result::WrongDimensions:
        return "Wrong map dimensions.";
    case Result::Ok:
        break;
    }
    return {};
}

MapPreview buildMapPreview(std::string_view bytes) {
    MapPreview preview;
    const std::size_t p = bytes.find(std::string_view("map ", 4));
    if (p == std::string_view::npos)
        return preview;
    // The header holds single bytes, so only a missing or zero size can fall outside
    // 1 … 255; a file cut short reads as zeros.
    preview.height = byteAt(bytes, p + 8);
    preview.width = byteAt(bytes, p + 12);
    if (preview.width < 1 || preview.width > 255 || preview.height < 1 || preview.height > 255) {
        preview.result = MapPreview::Result::WrongDimensions;
        return preview;
    }
    preview.result = MapPreview::Result::Ok;
    RgbImage full(preview.width, preview.height);
    for (int y = 0; y < preview.height; ++y)
        for (int x = 0; x < preview.width; ++x)
            full.set(x, y,
                     grey(byteAt(bytes, p + 16 + 3 * (std::size_t(y) * preview.width + x) + 2)));
    const int larger = std::max(preview.width, preview.height);
    if (larger <= kPreviewSide) {
        preview.image = std::move(full);
    } else {
        preview.image = full.scaled(std::max(1, preview.width * kPreviewSide / larger),
                                    std::max(1, preview.height * kPreviewSide / larger));
    }
    return preview;
}

} // namespace kv::mapview
