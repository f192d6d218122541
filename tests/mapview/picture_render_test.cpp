#include "mapview/picture_render.h"

#include <gtest/gtest.h>

namespace kv::mapview {
namespace {

// Tiles whose neighbours all differ, so a region shifted by one tile or one pixel shows.
RgbImage patternTiles(int width, int height) {
    RgbImage tiles(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            tiles.set(x, y,
                      {std::uint8_t(x * 37 + y), std::uint8_t(y * 53 + x), std::uint8_t(x ^ y)});
    return tiles;
}

// The reference: a crop of the whole picture, the background where the crop leaves it.
RgbImage crop(const RgbImage& full, const PixelRect& r, Rgb background) {
    RgbImage out(r.width, r.height);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            out.set(x, y, full.contains(r.x + x, r.y + y) ? full.at(r.x + x, r.y + y) : background);
    return out;
}

TEST(PictureRender, RegionEqualsTheCropOfTheWholePicture) {
    const RgbImage tiles = patternTiles(23, 17);
    const Rgb background{1, 2, 3};
    const PixelRect regions[] = {
        {0, 0, 40, 30},     // the top-left corner
        {13, 7, 57, 41},    // inside, starting mid-tile
        {-11, -5, 50, 29},  // reaching out over the top-left edges
        {150, 110, 90, 60}, // over the bottom-right edges at the larger zooms
        {-30, 20, 10, 10},  // wholly left of the picture
        {5, 5, 0, 12},      // empty
        {-3, -3, 500, 400}, // around the whole picture
    };
    for (int zoom : {1, 2, 3, 4, 6, 8})
        for (bool grid : {false, true}) {
            const RenderOptions options{zoom, grid, background};
            const RgbImage full = renderPicture(tiles, options);
            ASSERT_EQ(full.width(), 23 * zoom);
            RgbImage out(7, 7); // reused across regions, as the window does
            for (const PixelRect& r : regions) {
                renderRegion(tiles, options, r, out);
                const RgbImage expected = crop(full, r, background);
                EXPECT_TRUE(out.width() == expected.width() && out.height() == expected.height() &&
                            out.bytes() == expected.bytes())
                    << "zoom " << zoom << " grid " << grid << " region " << r.x << "," << r.y << " "
                    << r.width << "x" << r.height;
            }
        }
}

TEST(PictureRender, GridMarksTheTopAndLeftPixelsOfEachTileFromZoomFour) {
    RgbImage tiles(2, 1);
    tiles.set(0, 0, {200, 200, 200}); // light ground: darker border
    tiles.set(1, 0, {0, 0, 0});       // black ground: lighter border
    for (int zoom : {1, 2, 3, 4, 6, 8}) {
        const RgbImage full = renderPicture(tiles, {zoom, true, {}});
        const bool drawn = zoom >= kGridMinZoom;
        for (int tile = 0; tile < 2; ++tile) {
            const Rgb ground = tiles.at(tile, 0);
            const int left = tile * zoom;
            EXPECT_EQ(full.at(left, zoom - 1) == ground, !drawn) << zoom;     // left column
            EXPECT_EQ(full.at(left + zoom - 1, 0) == ground, !drawn) << zoom; // top row
            EXPECT_EQ(full.at(left + zoom - 1, zoom - 1), ground) << zoom;    // inside
        }
        if (drawn) {
            EXPECT_LT(full.at(0, 0).r, 200);
            EXPECT_GT(full.at(zoom, 0).r, 0);
        }
    }
}

} // namespace
} // namespace kv::mapview
