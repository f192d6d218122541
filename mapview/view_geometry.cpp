#include "mapview/view_geometry.h"

#include <algorithm>
#include <cstdint>

namespace kv::mapview {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int clampAxis(int offset, int picture, int view, int keep) {
    if (picture <= 0 || view <= 0)
        return 0;
    keep = std::clamp(keep, 1, std::min(picture, view));
    return std::clamp(offset, keep - view, picture - keep);
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
                       int viewHeight, int keep) {
    return {clampAxis(offset.x, pictureWidth, viewWidth, keep),
            clampAxis(offset.y, pictureHeight, viewHeight, keep)};
}

} // namespace kv::mapview
