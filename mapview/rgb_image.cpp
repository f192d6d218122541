#include "mapview/rgb_image.h"

#include <algorithm>

namespace kv::mapview {

Rgb rgbClamped(int r, int g, int b) {
    return {std::uint8_t(std::clamp(r, 0, 255)), std::uint8_t(std::clamp(g, 0, 255)),
            std::uint8_t(std::clamp(b, 0, 255))};
}

void RgbImage::resize(int width, int height, Rgb colour) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    bytes_.assign(std::size_t(width_) * std::size_t(height_) * 3, 0);
    fill(colour);
}

void RgbImage::fill(Rgb colour) {
    for (std::size_t i = 0; i + 2 < bytes_.size(); i += 3) {
        bytes_[i] = colour.r;
        bytes_[i + 1] = colour.g;
        bytes_[i + 2] = colour.b;
    }
}

void RgbImage::set(int x, int y, Rgb colour) {
    if (!contains(x, y))
        return;
    std::uint8_t* p = bytes_.data() + (std::size_t(y) * std::size_t(width_) + x) * 3;
    p[0] = colour.r;
    p[1] = colour.g;
    p[2] = colour.b;
}

Rgb RgbImage::at(int x, int y) const {
    if (!contains(x, y))
        return {};
    const std::uint8_t* p = bytes_.data() + (std::size_t(y) * std::size_t(width_) + x) * 3;
    return {p[0], p[1], p[2]};
}

RgbImage RgbImage::scaled(int width, int height) const {
    RgbImage out(width, height);
    if (width_ == 0 || height_ == 0)
        return out;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            out.set(
                x, y,
                at(int(std::int64_t(x) * width_ / width), int(std::int64_t(y) * height_ / height)));
    return out;
}

} // namespace kv::mapview
