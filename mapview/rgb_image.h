#pragma once
// A plain RGB picture (three bytes a pixel, rows top to bottom). The system draws maps
// into it; the window layer turns it into an image, kvstool into a PNG file.
#include <cstdint>
#include <vector>

namespace kv::mapview {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A colour from components that may lie outside 0 … 255 (heights above 255 stay white).
Rgb rgbClamped(int r, int g, int b);
inline Rgb grey(int level) {
    return rgbClamped(level, level, level);
}

class RgbImage {
public:
    RgbImage() = default;
    RgbImage(int width, int height, Rgb fill = {}) { resize(width, height, fill); }

    void resize(int width, int height, Rgb fill = {});
    void fill(Rgb colour);
    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    void set(int x, int y, Rgb colour); // ignored outside the picture
    Rgb at(int x, int y) const;         // black outside the picture
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    const std::uint8_t* row(int y) const { return bytes_.data() + std::size_t(y) * width_ * 3; }
    std::uint8_t* row(int y) { return bytes_.data() + std::size_t(y) * width_ * 3; }

    // Nearest-neighbour scaling to `width` x `height`.
    RgbImage scaled(int width, int height) const;

private:
    int width_ = 0, height_ = 0;
    std::vector<std::uint8_t> bytes_;
};

} // namespace kv::mapview
