#pragma once
// The viewer's picture: one colour per tile, shown as a block of zoom x zoom pixels, and
// the colour buffer in which layers keep the colours that must survive a redraw. Layers
// draw tiles; pixels are made only when the picture is rendered.
#include "mapview/picture_render.h"
#include "mapview/rgb_image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kv::mapview {

class MapPicture {
public:
    static constexpr int kBufferSide = 251; // tiles 0 … 250 in each direction

    MapPicture();

    // Sizes the picture for a map and clears it; the colour buffer is kept. A zoom that
    // is not one of the view's steps counts as 1.
    void setSize(int mapWidth, int mapHeight, int zoom);
    // Only the scale changes: the tiles keep their colours.
    void setZoom(int zoom);
    int zoom() const { return zoom_; }
    int mapWidth() const { return mapWidth_; }
    int mapHeight() const { return mapHeight_; }
    int pixelWidth() const { return mapWidth_ * zoom_; }
    int pixelHeight() const { return mapHeight_ * zoom_; }
    // One pixel per tile.
    const RgbImage& tiles() const { return tiles_; }
    // The whole picture at its zoom.
    RgbImage image(bool grid = false) const;
    // A region of the picture at its zoom (the window draws only what it shows).
    void renderRegion(const PixelRect& region, bool grid, Rgb background, RgbImage& out) const;

    void clear();
    Rgb tileColour(int x, int y) const;
    void setTile(int x, int y, Rgb colour);
    // A line between two tiles, drawn with the pen width of the zoom.
    void drawLine(int x1, int y1, int x2, int y2, Rgb colour);

    // The colour buffer (saveVisiblePoints): tiles outside 0 … 250 are not kept.
    void saveVisiblePoint(int x, int y, Rgb colour);
    Rgb bufferColour(int x, int y) const;
    // Only the blue plane set: the tile was painted by an earlier water pass.
    bool bufferMarksWater(int x, int y) const;
    void clearBuffer();
    // refreshPicture: repaints every tile from the colour buffer.
    void repaintFromBuffer();

private:
    int mapWidth_ = 0, mapHeight_ = 0, zoom_ = 1;
    RgbImage tiles_;
    std::array<std::vector<std::uint16_t>, 3> buffer_; // red, green, blue planes
};

} // namespace kv::mapview
