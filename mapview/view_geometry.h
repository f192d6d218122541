#pragma once
// The viewer window's zoom steps and the arithmetic of a view that is zoomed about a point
// and panned: an offset is the picture pixel shown at the view's top-left corner.
#include <array>

namespace kv::mapview {

inline constexpr std::array<int, 6> kZoomSteps{1, 2, 3, 4, 6, 8};

bool isZoomStep(int zoom);
// The next step in `direction` (> 0 larger, < 0 smaller); the ends stay where they are.
int nextZoomStep(int zoom, int direction);

struct PixelPoint {
    int x = 0, y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// The offset after a zoom change from `from` to `to` that keeps the tile under `anchor`
// (a point of the view) under it.
PixelPoint offsetZoomedAbout(PixelPoint offset, PixelPoint anchor, int from, int to);

// Limits an offset so that the view never shows beyond the picture: along an axis where
// the picture is larger the view stays inside it, where it is smaller it stays centred.
PixelPoint clampOffset(PixelPoint offset, int pictureWidth, int pictureHeight, int viewWidth,
                       int viewHeight);

// The largest zoom step at which a map of `mapWidth` x `mapHeight` tiles fits the view
// whole; 0 when it does not fit even at the smallest.
int fittingZoomStep(int mapWidth, int mapHeight, int viewWidth, int viewHeight);

} // namespace kv::mapview
