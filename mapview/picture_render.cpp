#include "mapview/picture_render.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kv::mapview {

namespace {

// Floor division, so pixels left of or above the picture map to negative tiles.
int floorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

Rgb gridColour(Rgb tile) {
    const int light = (tile.r * 3 + tile.g * 6 + tile.b) / 10;
    if (light > 96)
        return {std::uint8_t(tile.r / 2), std::uint8_t(tile.g / 2), std::uint8_t(tile.b / 2)};
    return {std::uint8_t(tile.r + (255 - tile.r) / 3), std::uint8_t(tile.g + (255 - tile.g) / 3),
            std::uint8_t(tile.b + (255 - tile.b) / 3)};
}

RgbImage renderPicture(const RgbImage& tiles, const RenderOptions& options) {
    // Block by block: the plain way, which the region renderer must match pixel for pixel.
    const int zoom = std::max(options.zoom, 1);
    const bool grid = gridDrawn(options);
    RgbImage out(tiles.width() * zoom, tiles.height() * zoom);
    for (int ty = 0; ty < tiles.height(); ++ty)
        for (int tx = 0; tx < tiles.width(); ++tx) {
            const Rgb colour = tiles.at(tx, ty);
            for (int dy = 0; dy < zoom; ++dy)
                for (int dx = 0; dx < zoom; ++dx)
                    out.set(tx * zoom + dx, ty * zoom + dy,
                            grid && (dx == 0 || dy == 0) ? gridColour(colour) : colour);
        }
    return out;
}

void renderRegion(const RgbImage& tiles, const RenderOptions& options, const PixelRect& region,
                  RgbImage& out) {
    const int zoom = std::max(options.zoom, 1);
    const bool grid = gridDrawn(options);
    const int width = std::max(region.width, 0), height = std::max(region.height, 0);
    if (out.width() != width || out.height() != height)
        out.resize(width, height);
    if (width == 0 || height == 0)
        return;

    // Each output row comes from one tile row; rows of the same tile row (but its grid
    // row) are equal, so a tile row is composed once and then copied.
    const std::size_t rowBytes = std::size_t(width) * 3;
    std::vector<std::uint8_t> plain(rowBytes), border(rowBytes);
    bool composed = false, composedInside = false;
    int composedTileRow = 0;
    auto compose = [&](int tileY) {
        const bool inside = tileY >= 0 && tileY < tiles.height();
        for (int x = 0; x < width; ++x) {
            const int px = region.x + x;
            const int tileX = floorDiv(px, zoom);
            Rgb colour = options.background, edge = options.background;
            if (inside && tileX >= 0 && tileX < tiles.width()) {
                colour = tiles.at(tileX, tileY);
                edge = grid ? gridColour(colour) : colour;
                if (grid && px - tileX * zoom == 0)
                    colour = edge;
            }
            std::uint8_t* p = plain.data() + std::size_t(x) * 3;
            p[0] = colour.r, p[1] = colour.g, p[2] = colour.b;
            std::uint8_t* q = border.data() + std::size_t(x) * 3;
            q[0] = edge.r, q[1] = edge.g, q[2] = edge.b;
        }
        composed = true;
        composedTileRow = tileY;
        composedInside = inside;
    };
    for (int y = 0; y < height; ++y) {
        const int py = region.y + y;
        const int tileY = floorDiv(py, zoom);
        if (!composed || tileY != composedTileRow)
            compose(tileY);
        const bool gridRow = grid && composedInside && py - tileY * zoom == 0;
        std::memcpy(out.row(y), gridRow ? border.data() : plain.data(), rowBytes);
    }
}

} // namespace kv::mapview
