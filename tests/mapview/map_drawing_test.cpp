#include "mapview/binary_map_reader.h"
#include "mapview/lnd_reader.h"
#include "mapview/map_layers.h"
#include "mapview/map_viewer.h"
#include "mapview/png_writer.h"

#include "tests/support/recording_progress.h"
#include "tests/support/scripted_ui.h"
#include "tools/worldgen/map_binary_writer.h"
#include "tools/worldgen/map_samples.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kv::mapview {
namespace {

using worldgen::LndMapSpec;

using worldgen::smallLndMapSpec;

MapModel readSpec(const LndMapSpec& plan) {
    MapModel model;
    NoProgress progress;
    EXPECT_EQ(readLnd(worldgen::writeLndMap(plan), model, progress), ReadOutcome::Done);
    return model;
}

struct Viewer {
    test::ScriptedUi ui;
    test::RecordingProgress progress;
    MapViewer viewer{ui, progress, {}};
    explicit Viewer(const LndMapSpec& plan = smallLndMapSpec()) { viewer.setModel(readSpec(plan)); }
    Rgb tile(int x, int y) const { return viewer.picture().tileColour(x, y); }
};

std::uint32_t checksum(const RgbImage& image) {
    return crc32(std::string_view(reinterpret_cast<const char*>(image.bytes().data()),
                                  image.bytes().size()));
}

TEST(MapLayers, WaterFollowsTheSeaLevelSliderAndTexturesNeedAKnownDataSet) {
    Viewer v;
    v.viewer.layers.objects = v.viewer.layers.gateways = false;
    v.viewer.refreshAll();
    const auto water = [](int level) { return Rgb{0, 0, std::uint8_t(kWaterBase + level)}; };
    // Lowering the sea turns the tiles that were water back to their grey; the colour never
    // overflows past full blue.
    const struct {
        int seaLevel, x, y;
        Rgb colour;
    } steps[] = {{90, 0, 0, water(90)},      {90, 4, 0, water(90)}, {90, 5, 0, grey(100)},
                 {30, 4, 0, grey(80)},       {30, 2, 0, grey(40)},  {30, 1, 0, water(30)},
                 {400, 7, 5, Rgb{0, 0, 255}}};
    for (const auto& s : steps) {
        v.viewer.setSeaLevel(s.seaLevel);
        v.viewer.refreshWater();
        EXPECT_EQ(v.tile(s.x, s.y), s.colour) << s.seaLevel << " " << s.x;
    }

    v.viewer.refreshTextures();
    EXPECT_EQ(v.tile(0, 0), tileTypeColour(2)); // texture 1 is of type 2
    EXPECT_EQ(v.tile(6, 4), tileTypeColour(7)); // texture 15 is water
    LndMapSpec odd = smallLndMapSpec();
    odd.dataSet = "Custom.eds";
    Viewer w(odd);
    w.viewer.refreshTextures();
    EXPECT_THAT(w.ui.messageTexts(), ::testing::ElementsAre("Unknown dataset: 'Custom.eds'"));
    EXPECT_EQ(w.tile(0, 0), Rgb{});
}

TEST(MapLayers, GoldenPictures) {
    // Checksums of each layer alone on the small map, at zoom 1 and 2, with an object far
    // off the picture that must be drawn nowhere.
    LndMapSpec plan = smallLndMapSpec();
    plan.objects.push_back({"\"FarAway\"", 0, 1e15, -1e15});
    struct Case {
        const char* name;
        ViewLayers layers;
        int zoom;
        std::uint32_t crc;
    };
    const Case cases[] = {
        {"terrain", {true, false, false, false, false}, 1, 3560979315u},
        {"water", {false, true, false, false, false}, 1, 3255851861u},
        {"textures", {false, false, true, false, false}, 1, 731874566u},
        {"objects", {false, false, false, true, false}, 1, 3187625503u},
        {"gateways", {false, false, false, false, true}, 1, 1186084129u},
        {"all", {true, true, false, true, true}, 2, 3445402243u},
    };
    for (const Case& c : cases) {
        Viewer v(plan);
        v.viewer.layers = c.layers;
        v.viewer.setZoom(c.zoom == 2);
        v.viewer.refreshAll();
        EXPECT_EQ(checksum(v.viewer.picture().image()), c.crc) << c.name;
        if (c.zoom == 2) // every pixel of a tile names the tile
            EXPECT_EQ(v.viewer.pointerInfo(11, 3).objectName +
                          v.viewer.pointerInfo(10, 2).objectName,
                      "\"A0LightFactory\"\"A0LightFactory\"");
    }
}

TEST(MapLayers, StopEndsALayerAfterTheCurrentColumnAndRepaintsComeFromTheColourBuffer) {
    Viewer v;
    v.progress.stopAfter = 3;
    v.viewer.refreshMap();
    EXPECT_EQ(std::pair(v.tile(3, 0), v.tile(4, 0)), std::pair(grey(60), Rgb{}));
    EXPECT_EQ(v.progress.statuses.back(), "Stopped");

    Viewer w;
    w.viewer.refreshAll();
    w.viewer.refreshPicture();
    EXPECT_EQ(w.tile(5, 1), grey(103)); // objects are drawn over, not kept
    EXPECT_EQ(w.tile(0, 0), (Rgb{0, 0, std::uint8_t(kWaterBase + 50)}));
    EXPECT_THAT(w.progress.statuses, ::testing::IsSupersetOf({"Refreshing picture...", "Ready"}));
}

TEST(MapViewerInfo, PointerAndClickClampHeights) {
    LndMapSpec plan = smallLndMapSpec();
    plan.tileHeight = [](int x, int) { return x == 2 ? 300 : x == 3 ? -5 : 10; };
    plan.objects.push_back(
        {"\"A0FacMod1\"", 0, worldgen::worldXOfTile(5, 8), worldgen::worldYOfTile(1, 6)});
    Viewer v(plan);
    EXPECT_EQ(v.viewer.pointerInfo(2, 1).height, 255);
    EXPECT_EQ(v.viewer.pointerInfo(3, 1).height, 0);
    EXPECT_EQ(v.viewer.pointerInfo(5, 1).objectName, "\"A0LightFactory\"");
    EXPECT_EQ(v.viewer.pointerInfo(4, 1).objectName, "");
    v.viewer.click(5, 1);
    v.viewer.click(2, 0);
    v.viewer.click(8, 0); // outside the map: nothing
    EXPECT_THAT(v.ui.messageTexts(),
                ::testing::ElementsAre(
                    "Height: 10\r\nObject found: \"A0LightFactory\"\r\nObject found: \"A0FacMod1\"",
                    "Height: 255"));
}

TEST(MapViewerInfo, HeightSliderShiftsEveryTileByTheChange) {
    Viewer v;
    v.viewer.setHeightSlider(30);
    v.viewer.setHeightSlider(10);
    EXPECT_EQ(v.viewer.model().tiles.at(1, 1).height, 33);
    EXPECT_EQ(v.viewer.model().tiles.at(8, 6).height, 0); // the spare row is left alone
}

TEST(MapViewerKdg, BinaryMapDrawsTerrainAndOilAndRefusesTheTextureEntry) {
    const auto tile = [](int x, int y) {
        return worldgen::BinaryTile{14, 0, std::uint8_t(10 * x + y)};
    };
    MapModel model;
    readBinaryMap(worldgen::writeBinaryMap({.width = 8, .height = 8, .tile = tile}), model);
    readFeatures(worldgen::writeFeatures({worldgen::oilOnTile(3, 5)}), model);
    test::ScriptedUi ui;
    NoProgress progress;
    MapViewer viewer(ui, progress, {});
    viewer.setModel(std::move(model));
    viewer.refreshAll();
    EXPECT_EQ(viewer.picture().tileColour(3, 5), kObjectColour);
    EXPECT_EQ(viewer.picture().tileColour(2, 5), grey(25)); // no water in "kdg" mode
    viewer.refreshTextures();
    EXPECT_THAT(ui.messageTexts(),
                ::testing::ElementsAre(
                    "This function is enabled only for lnd files in beta version of VUVozarev"));
    // Through the view menu the binary textures show the ground kind: texture 15 is water.
    viewer.layers.textures = true;
    viewer.layers.objects = false;
    viewer.refreshAll();
    const Rgb water = viewer.picture().tileColour(7, 7);
    EXPECT_TRUE(water.r == 0 && water.b > viewer.picture().tileColour(0, 0).b);
}

} // namespace
} // namespace kv::mapview
