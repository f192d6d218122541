#include "mapview/map_picture.h"

#include "mapview/view_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace kv::mapview {

namespace {
bool inBuffer(int x, int y) {
    return x >= 0 && y >= 0 && x < MapPicture::kBufferSide && y < MapPicture::kBufferSide;
}
std::size_t bufferIndex(int x, int y) {
    return std::size_t(x) * MapPicture::kBufferSide + std::size_t(y);
}
} // namespace

MapPicture::MapPicture() {
    clearBuffer();
}

void MapPicture::setSize(int mapWidth, int mapHeight, int zoom) {
    mapWidth_ = std::max(mapWidth, 0);
    mapHeight_ = std::max(mapHeight, 0);
    setZoom(zoom);
    tiles_.resize(mapWidth_, mapHeight_);
}

void MapPicture::setZoom(int zoom) {
    zoom_ = isZoomStep(zoom) ? zoom : 1;
}

RgbImage MapPicture::image(bool grid) const {
    return renderPicture(tiles_, {zoom_, grid, {}});
}

void MapPicture::renderRegion(const PixelRect& region, bool grid, Rgb background,
                              RgbImage& out) const {
    mapview::renderRegion(tiles_, {zoom_, grid, background}, region, out);
}

void MapPicture::clear() {
    tiles_.fill({});
}

Rgb MapPicture::tileColour(int x, int y) const {
    return tiles_.at(x, y); // black off the picture
}

void MapPicture::setTile(int x, int y, Rgb colour) {
    tiles_.set(x, y, colour); // ignored off the picture (objects may lie anywhere)
}

void MapPicture::drawLine(int x1, int y1, int x2, int y2, Rgb colour) {
    // Bresenham over tiles; far-off end points are limited so the loop stays short.
    const int limit = 4 * (std::max(mapWidth_, mapHeight_) + 2);
    x1 = std::clamp(x1, -limit, limit);
    y1 = std::clamp(y1, -limit, limit);
    x2 = std::clamp(x2, -limit, limit);
    y2 = std::clamp(y2, -limit, limit);
    const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
    const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        setTile(x1, y1, colour);
        if (x1 == x2 && y1 == y2)
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x1 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y1 += sy;
        }
    }
}

void MapPicture::saveVisiblePoint(int x, int y, Rgb colour) {
    if (!inBuffer(x, y))
        return;
    buffer_[0][bufferIndex(x, y)] = colour.r;
    buffer_[1][bufferIndex(x, y)] = colour.g;
    buffer_[2][bufferIndex(x, y)] = colour.b;
}

Rgb MapPicture::bufferColour(int x, int y) const {
    if (!inBuffer(x, y))
        return {};
    return rgbClamped(buffer_[0][bufferIndex(x, y)], buffer_[1][bufferIndex(x, y)],
                      buffer_[2][bufferIndex(x, y)]);
}

bool MapPicture::bufferMarksWater(int x, int y) const {
    const Rgb c = bufferColour(x, y);
    return c.r == 0 && c.g == 0 && c.b != 0;
}

void MapPicture::clearBuffer() {
    for (auto& plane : buffer_)
        plane.assign(std::size_t(kBufferSide) * kBufferSide, 0);
}

void MapPicture::repaintFromBuffer() {
    for (int x = 0; x < std::min(mapWidth_, kBufferSide); ++x)
        for (int y = 0; y < std::min(mapHeight_, kBufferSide); ++y)
            setTile(x, y, bufferColour(x, y));
}

} // namespace kv::mapview
