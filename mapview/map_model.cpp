#include "mapview/map_model.h"

namespace kv::mapview {

void TileGrid::resize(int width, int height) {
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    std::vector<MapTile> next(std::size_t(width + 3) * std::size_t(height + 3));
    for (int x = -1; x <= width + 1 && x <= width_ + 1; ++x)
        for (int y = -1; y <= height + 1 && y <= height_ + 1; ++y)
            if (!tiles_.empty())
                next[std::size_t(x + 1) * std::size_t(height + 3) + std::size_t(y + 1)] = at(x, y);
    width_ = width;
    height_ = height;
    tiles_ = std::move(next);
}

MapTile* TileGrid::find(int x, int y) {
    if (!contains(x, y) || tiles_.empty())
        return nullptr;
    return &tiles_[std::size_t(x + 1) * std::size_t(height_ + 3) + std::size_t(y + 1)];
}

const MapTile& TileGrid::at(int x, int y) const {
    static const MapTile empty;
    if (!contains(x, y) || tiles_.empty())
        return empty;
    return tiles_[std::size_t(x + 1) * std::size_t(height_ + 3) + std::size_t(y + 1)];
}

int MapModel::tileTypeOf(int texture) const {
    if (texture < 1 || std::size_t(texture) > tileTypes.size())
        return -1;
    return tileTypes[std::size_t(texture) - 1];
}

const char* sourceModeName(SourceMode mode) {
    switch (mode) {
    case SourceMode::Lnd:
        return "lnd";
    case SourceMode::Kdg:
        return "kdg";
    case SourceMode::None:
        break;
    }
    return "";
}

} // namespace kv::mapview
