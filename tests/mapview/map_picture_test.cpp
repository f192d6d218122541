#include "mapview/picture_render.h"
#include "mapview/png_writer.h"
#include "tests/support/temp_folder.h"
#include "tests/support/tool_run.h"
#include "tools/worldgen/map_binary_writer.h"
#include "tools/worldgen/map_demo.h"

#include <QImage>

#include <gmock/gmock.h>
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

TEST(PngWriter, DecodesToTheSamePixels) {
    RgbImage image(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            image.set(x, y, Rgb{std::uint8_t(x * 36), std::uint8_t(y * 60), std::uint8_t(x ^ y)});
    const std::string png = encodePng(image);
    QImage decoded;
    ASSERT_TRUE(
        decoded.loadFromData(reinterpret_cast<const uchar*>(png.data()), int(png.size()), "PNG"));
    ASSERT_EQ(decoded.width(), 7);
    ASSERT_EQ(decoded.height(), 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(decoded.pixel(x, y), qRgb(x * 36, y * 60, x ^ y)) << x << "," << y;
    EXPECT_EQ(crc32("123456789"), 0xCBF43926u); // the check value of the standard CRC-32
}

// The demo's maps: Highlands clean, Rivermouth with one fault of each kind it can show.
TEST(KvstoolMap, CheckInfoConvertAndRender) {
    test::TempFolder folder;
    for (const auto& f : worldgen::demoLndMaps())
        folder.write(f.name, f.contents);
    for (const auto& f : worldgen::demoBinaryMap())
        folder.write(f.name, f.contents);
    const auto at = [&](const std::string& name) { return "'" + (folder / name) + "'"; };
    const auto kvstool = [](const std::string& arguments) {
        return test::runShell("'" KVSTOOL_PATH "' map " + arguments);
    };
    const test::ToolRun bad = kvstool("check " + at("Rivermouth.lnd"));
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, "Some objects  have identical coordinates. (8X6)\n"
                       "\"OilResource\" is placed on water tile! 24 X 16\n"
                       "There are no gateways, each map must have at least 1 gateway or the "
                       "game may crash.\n");
    const test::ToolRun good = kvstool("check " + at("Highlands.lnd"));
    EXPECT_EQ(std::pair(good.exitCode, good.out),
              std::pair(0, std::string("No erros were found\n")));
    // Nothing was repaired or rewritten.
    EXPECT_EQ(folder.read("Rivermouth.lnd"), worldgen::demoLndMaps()[1].contents);

    const test::ToolRun info = kvstool("info " + at("Highlands.lnd"));
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_THAT(info.out, ::testing::HasSubstr("MapWidth: 64\n"));
    EXPECT_THAT(info.out, ::testing::HasSubstr("\"A0FacMod1\"\t20 X 30\tPlayer0\n"));

    const test::ToolRun conv = kvstool("convert " + at("Game.map") + " " + at("Out.lnd"));
    EXPECT_EQ(conv.exitCode, 0) << conv.err;
    const test::ToolRun back = kvstool("info " + at("Out.lnd"));
    EXPECT_THAT(back.out, ::testing::HasSubstr("MapWidth: 96\nTiles: 6144\n"));
    // The oil on binary tile (10, 10) is exported at world + (256, -128): the LND reader
    // puts it one column left and counts Y from the other side.
    EXPECT_THAT(back.out, ::testing::HasSubstr("Objects: 5\n\"OilResource\"\t9 X 55\tPlayer0\n"));

    // At 4x the grid shows: the factory's tile (20, 30) is red but for its border.
    const test::ToolRun render =
        kvstool("render " + at("Highlands.lnd") + " " + at("h.png") +
                " --zoom 4 --grid --layers terrain,objects --sea-level 90");
    EXPECT_EQ(render.exitCode, 0) << render.err;
    QImage png(QString::fromStdString(folder / "h.png"));
    ASSERT_EQ(png.width(), 256);
    EXPECT_EQ(png.pixel(81, 121), qRgb(255, 0, 0));
    EXPECT_NE(png.pixel(80, 121), qRgb(255, 0, 0));
}

} // namespace
} // namespace kv::mapview
