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
    auto fill = [&](std::vector<std::uint8_t>& row, int from, int to, Rgb colour) {
        for (std::uint8_t *p = row.data() + std::size_t(from) * 3,
                          *e = row.data() + std::size_t(to) * 3;
             p != e; p += 3)
            p[0] = colour.r, p[1] = colour.g, p[2] = colour.b;
    };
    auto compose = [&](int tileY) {
        const bool inside = tileY >= 0 && tileY < tiles.height();
        fill(plain, 0, width, options.background);
        fill(border, 0, width, options.background);
        composed = true;
        composedTileRow = tileY;
        composedInside = inside;
        if (!inside)
            return;
        // Tile by tile across the region: its block's columns in the region get its colour.
        const int firstTile = std::max(floorDiv(region.x, zoom), 0);
        const int lastTile = std::min(floorDiv(region.x + width - 1, zoom), tiles.width() - 1);
        const std::uint8_t* source = tiles.row(tileY);
        for (int tx = firstTile; tx <= lastTile; ++tx) {
            const std::uint8_t* t = source + std::size_t(tx) * 3;
            const Rgb colour{t[0], t[1], t[2]};
            const Rgb edge = grid ? gridColour(colour) : colour;
            const int from = std::max(tx * zoom, region.x) - region.x;
            const int to = std::min((tx + 1) * zoom, region.x + width) - region.x;
            fill(plain, from, to, colour);
            fill(border, from, to, edge);
            if (grid && tx * zoom >= region.x)
                fill(plain, from, from + 1, edge);
        }
    };
    for (int y = 0; y < height; ++y) {
        const int py = region.y + y;
        const int tileY = floorDiv(py, zoom);
        const bool rowInside = tileY >= 0 && tileY < tiles.height();
        if (!composed || (tileY != composedTileRow && (rowInside || composedInside)))
            compose(tileY); // rows off the picture are all background: composed once
        const bool gridRow = grid && composedInside && py - tileY * zoom == 0;
        std::memcpy(out.row(y), gridRow ? border.data() : plain.data(), rowBytes);
    }
}

} // namespace kv::mapview
