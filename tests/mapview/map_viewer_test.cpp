// The map viewer's logic: its layers and pictures, pointer and sliders, and the map check
// with its repairs.
#include "mapview/binary_map_reader.h"
#include "mapview/lnd_reader.h"
#include "mapview/map_check.h"
#include "mapview/map_layers.h"
#include "mapview/map_viewer.h"
#include "mapview/png_writer.h"
#include "tests/support/recording_progress.h"
#include "tests/support/scripted_ui.h"
#include "tools/worldgen/map_binary_writer.h"
#include "tools/worldgen/map_lnd_writer.h"
#include "tools/worldgen/map_samples.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace kv::mapview {
namespace {

using ::testing::ElementsAre;
using worldgen::LndMapSpec;
using worldgen::LndObjectSpec;

using worldgen::smallLndMapSpec;

MapModel load(const LndMapSpec& plan) {
    MapModel model;
    NoProgress progress;
    EXPECT_EQ(readLnd(worldgen::writeLndMap(plan), model, progress), ReadOutcome::Done);
    return model;
}

struct Viewer {
    test::ScriptedUi ui;
    test::RecordingProgress progress;
    MapViewer viewer{ui, progress, {}};
    explicit Viewer(const LndMapSpec& plan = smallLndMapSpec()) { viewer.setModel(load(plan)); }
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
        if (c.zoom == 2) { // every pixel of a tile names the tile
            EXPECT_EQ(v.viewer.pointerInfo(11, 3).objectName +
                          v.viewer.pointerInfo(10, 2).objectName,
                      "\"A0LightFactory\"\"A0LightFactory\"");
        }
    }
}

TEST(MapViewerInfo, PointerAndClickClampHeights) {
    LndMapSpec plan = smallLndMapSpec();
    plan.tileHeight = [](int x, int) { return x == 2 ? 300 : x == 3 ? -5 : 10; };
    plan.objects.push_back(
        {"\"A0FacMod1\"", 0, worldgen::worldXOfTile(5, 8), worldgen::worldYOfTile(1, 6)});
    Viewer v(plan);
    EXPECT_EQ(std::pair(v.viewer.pointerInfo(2, 1).height, v.viewer.pointerInfo(3, 1).height),
              std::pair(255, 0));
    EXPECT_EQ(v.viewer.pointerInfo(5, 1).objectName + v.viewer.pointerInfo(4, 1).objectName,
              "\"A0LightFactory\"");
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

TEST(MapViewerKdg, BinaryMapDrawsTerrainOilAndTextures) {
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
    // Through the view menu the binary textures show the ground kind: texture 15 is water.
    viewer.layers.textures = true;
    viewer.layers.objects = false;
    viewer.refreshAll();
    const Rgb water = viewer.picture().tileColour(7, 7);
    EXPECT_TRUE(water.r == 0 && water.b > viewer.picture().tileColour(0, 0).b);
}

LndObjectSpec on(const char* name, int x, int y, int w = 16, int h = 16) {
    return {name, 0, worldgen::worldXOfTile(x, w), worldgen::worldYOfTile(y, h)};
}

// A 16 x 16 map with a gateway and nothing wrong but what its objects bring.
LndMapSpec clean(std::vector<LndObjectSpec> objects = {}) {
    return {.objects = std::move(objects), .gateways = {{1, 1, 4, 1}}};
}

struct CheckRun {
    test::ScriptedUi ui;
    std::vector<std::string> faults, statuses;
    int run(MapModel& model) {
        MapCheckHooks hooks;
        hooks.fault = [this](const std::string& t) { faults.push_back(t); };
        hooks.status = [this](const std::string& t) { statuses.push_back(t); };
        return CheckForBugs_LoadedMap(model, ui, hooks);
    }
};

TEST(MapCheck, CleanMapsNoMapLoadedAndOddSidesRepairedOnYes) {
    CheckRun quiet;
    for (int height : {16, 8, 250}) { // the limits are allowed
        LndMapSpec plan = clean();
        plan.height = height;
        MapModel model = load(plan);
        EXPECT_EQ(quiet.run(model), 0) << height;
    }
    MapModel empty;
    quiet.run(empty);
    EXPECT_THAT(quiet.ui.messageTexts(), ElementsAre("No erros were found", "No erros were found",
                                                     "No erros were found", "No map loaded"));

    // Odd sides are reported, and repaired on Yes.
    struct Case {
        int height, repaired;
    };
    for (const Case c : {Case{251, 250}, Case{7, 8}, Case{252, 250}, Case{4, 8}, Case{9, 10}}) {
        MapModel model = load({.width = 15, .height = c.height, .gateways = {{1, 1, 4, 1}}});
        CheckRun check;
        for (Answer a : {Answer::Yes, Answer::No, Answer::No})
            check.ui.answerMessage(a);
        check.run(model);
        EXPECT_EQ(model.mapHeight, c.repaired) << c.height;
        EXPECT_EQ(model.mapWidth, 15);
        EXPECT_THAT(check.ui.messageTexts(),
                    ElementsAre("Map height must be even", "Fix error?", "Map width must be even",
                                "Fix error?", "Wrong number of tiles!", "Fix error?"))
            << c.height;
        for (size_t q : {1u, 3u, 5u}) // Enter repairs nothing
            EXPECT_EQ(check.ui.messages()[q].defaultButton, Answer::No);
    }
    // The tile count follows the repaired sides.
    MapModel model = load({.declaredTiles = 100, .gateways = {{1, 1, 4, 1}}});
    CheckRun check;
    check.ui.answerMessage(Answer::Yes);
    EXPECT_EQ(check.run(model), 1);
    EXPECT_EQ(model.numTiles, 256);
    EXPECT_EQ(check.faults, (std::vector<std::string>{"Wrong number of tiles!"}));
}

TEST(MapCheck, ModulesMayShareTheirBaseTileOtherPairsMayNot) {
    MapModel model = load(
        clean({on("\"A0LightFactory\"", 3, 3), on("\"A0FacMod1\"", 3, 3), on("\"A0FacMod2\"", 3, 3),
               on("\"A0ResearchModule1\"", 5, 5), on("\"A0ResearchFacility\"", 5, 5),
               on("\"A0PowerGenerator\"", 7, 7), on("\"A0PowMod1\"", 7, 7),
               on("\"A0LightFactory\"", 9, 9), on("\"A0LightFactory\"", 9, 9)}));
    CheckRun check;
    for (int i = 0; i < 2; ++i)
        check.ui.answerMessage(Answer::No);
    EXPECT_EQ(check.run(model), 2);
    // Two modules on one tile are a pair of their own and are reported; declined, the
    // objects stay where they are.
    EXPECT_THAT(check.faults, ElementsAre("Some objects  have identical coordinates. (3X3)",
                                          "Some objects  have identical coordinates. (9X9)"));
    EXPECT_EQ(std::pair(model.objects[8].x, model.objects[8].y), std::pair(9, 9));
    EXPECT_TRUE(isBaseWithModule("\"A0PowMod1\"", "\"A0PowerGenerator\""));
    EXPECT_FALSE(isBaseWithModule("A0LightFactory", "A0FacMod1")); // names keep their quotes
}

TEST(MapCheck, SharedTileRepairAsksOnceForAllAndRepeatsThePass) {
    // Moving C off B's tile puts it onto A, which the first pass has already passed; F,
    // in the last column, moves back inside.
    MapModel model = load(clean({on("\"A\"", 4, 3), on("\"B\"", 3, 3), on("\"C\"", 3, 3),
                                 on("\"E\"", 15, 8), on("\"F\"", 15, 8)}));
    CheckRun check;
    check.ui.answerMessage(Answer::Yes); // first pair
    check.ui.answerMessage(Answer::Yes); // fix all such errors
    check.run(model);
    std::set<std::pair<int, int>> tiles;
    for (const MapObject& o : model.objects)
        tiles.insert({o.x, o.y});
    EXPECT_EQ(tiles.size(), model.objects.size());
    EXPECT_TRUE(tiles.contains({14, 8}));
    EXPECT_THAT(check.ui.messageTexts(),
                ElementsAre("Some objects  have identical coordinates. (3X3)\r\nFix error?",
                            "Fix all such errors?"));
    EXPECT_EQ(check.ui.messages()[0].defaultButton, Answer::No);
    EXPECT_THAT(check.faults, ElementsAre("Some objects  have identical coordinates. (3X3)",
                                          "Some objects  have identical coordinates. (15X8)",
                                          "Some objects still have identical coordinates. (4X3)"));
    EXPECT_THAT(check.statuses, ElementsAre("\"B\" - \"C\"", "\"E\" - \"F\"", "\"A\" - \"C\""));
    EXPECT_TRUE(check.ui.allAnswersUsed());
}

TEST(MapCheck, ObjectsOnWaterAndCliffsAndMissingGateways) {
    // Column 2 is water (texture 15), column 5 a cliff face (20); there is no gateway.
    const auto texture = [](int x, int) { return x == 2 ? 15 : x == 5 ? 20 : 1; };
    MapModel model =
        load({.texture = texture,
              .objects = {on("\"Tank\"", 2, 6), on("\"Wall\"", 5, 1), on("\"Tree\"", 7, 7)}});
    CheckRun check;
    EXPECT_EQ(check.run(model), 3);
    EXPECT_THAT(check.ui.messageTexts(),
                ElementsAre("\"Tank\" is placed on water tile! 2 X 6",
                            "\"Wall\" is placed on cliff face tile! 5 X 1",
                            "There are no gateways, each map must have at least 1 gateway or the "
                            "game may crash."));
    EXPECT_EQ(check.faults, check.ui.messageTexts());
}

} // namespace
} // namespace kv::mapview
