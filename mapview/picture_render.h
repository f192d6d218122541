#pragma once
// Turns the tile picture (one pixel per tile) into screen pixels at a zoom: the whole
// picture for files and the clipboard, or only a region of it for a window, so a large
// zoom costs no more than the window shows.
#include "mapview/rgb_image.h"

namespace kv::mapview {

// A rectangle of picture pixels; it may reach outside the picture.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
};

struct RenderOptions {
    int zoom = 1;
    bool grid = false; // tile borders, drawn only from kGridMinZoom on
    Rgb background{};  // pixels of the region that lie outside the picture
};

inline constexpr int kGridMinZoom = 4;
inline bool gridDrawn(const RenderOptions& options) {
    return options.grid && options.zoom >= kGridMinZoom;
}
// A border pixel over a tile colour: darker on light ground, lighter on dark ground.
Rgb gridColour(Rgb tile);

// Every tile as a zoom x zoom block.
RgbImage renderPicture(const RgbImage& tiles, const RenderOptions& options);
// The pixels of `region` of that picture, written into `out` (resized to the region).
void renderRegion(const RgbImage& tiles, const RenderOptions& options, const PixelRect& region,
                  RgbImage& out);

} // namespace kv::mapview
