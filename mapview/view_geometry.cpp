#include "mapview/view_geometry.h"

#include <algorithm>
#include <cstdint>

namespace kv::mapview {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int clampAxis(int offset, int picture, int view) {
    if (picture <= 0 || view <= 0)
        return 0;
    if (picture <= view)
        return int(floorDiv(std::int64_t(picture) - view, 2));
    return std::clamp(offset, 0, picture - view);
}

} // namespace

bool isZoomStep(int zoom) {
    return std::find(kZoomSteps.begin(), kZoomSteps.end(), zoom) != kZoomSteps.end();
}

int nextZoomStep(int zoom, int direction) {
    if (direction > 0) {
        for (int step : kZoomSteps)
            if (step > zoom)
                return step;
        return kZoomSteps.back();
    }
    if (direction < 0) {
        for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
            if (*it < zoom)
                return *it;
        return kZoomSteps.front();
    }
    return zoom;
}

PixelPoint offsetZoomedAbout(PixelPoint offset, PixelPoint anchor, int from, int to) {
    if (from <= 0 || to <= 0)
        return offset;
    // The anchored picture pixel p = a·from + r (0 ≤ r < from) lands on a·to + ⌊r·to/from⌋,
    // which lies in the same tile a.
    auto axis = [&](int o, int a) {
        const std::int64_t p = std::int64_t(o) + a;
        return int(floorDiv(p * to, from) - a);
    };
    return {axis(offset.x, anchor.x), axis(offset.y, anchor.y)};
}

PixelPoint clampOffset(PixelPoint offset, int pictureWidth, int pictureHeight, int viewWidth,
                       int viewHeight) {
    return {clampAxis(offset.x, pictureWidth, viewWidth),
            clampAxis(offset.y, pictureHeight, viewHeight)};
}

int fittingZoomStep(int mapWidth, int mapHeight, int viewWidth, int viewHeight) {
    if (mapWidth <= 0 || mapHeight <= 0)
        return 0;
    for (auto it = kZoomSteps.rbegin(); it != kZoomSteps.rend(); ++it)
        if (std::int64_t(mapWidth) * *it <= viewWidth &&
            std::int64_t(mapHeight) * *it <= viewHeight)
            return *it;
    return 0;
}

} // namespace kv::mapview
