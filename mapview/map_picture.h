#pragma once
// The viewer's picture: one block of zoom x zoom pixels per tile, and the colour buffer
// in which layers keep the colours that must survive a redraw.
#include "mapview/rgb_image.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kv::mapview {

class MapPicture {
public:
    static constexpr int kBufferSide = 251; // tiles 0 … 250 in each direction

    MapPicture();

    // Sizes the picture for a map and clears it; the colour buffer is kept.
    void setSize(int mapWidth, int mapHeight, int zoom);
    void setZoom(int zoom) { setSize(mapWidth_, mapHeight_, zoom); }
    int zoom() const { return zoom_; }
    int mapWidth() const { return mapWidth_; }
    int mapHeight() const { return mapHeight_; }
    const RgbImage& image() const { return image_; }

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
    RgbImage image_;
    std::array<std::vector<std::uint16_t>, 3> buffer_; // red, green, blue planes
};

} // namespace kv::mapview
