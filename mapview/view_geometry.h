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

// Limits an offset so that at least `keep` pixels of the picture (all of it when it is
// smaller) stay within the view in each direction.
PixelPoint clampOffset(PixelPoint offset, int pictureWidth, int pictureHeight, int viewWidth,
                       int viewHeight, int keep);

} // namespace kv::mapview
