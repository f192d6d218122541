#include "mapview/lnd_reader.h"
#include "mapview/map_check.h"

#include "tests/support/scripted_ui.h"
#include "tools/worldgen/map_lnd_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace kv::mapview {
namespace {

using ::testing::ElementsAre;
using worldgen::LndMapSpec;
using worldgen::LndObjectSpec;

LndObjectSpec on(const char* name, int x, int y, int w = 16, int h = 16) {
    return {name, 0, worldgen::worldXOfTile(x, w), worldgen::worldYOfTile(y, h)};
}

// A 16 x 16 map with a gateway and nothing wrong but what its objects bring.
LndMapSpec clean(std::vector<LndObjectSpec> objects = {}) {
    return {.objects = std::move(objects), .gateways = {{1, 1, 4, 1}}};
}

MapModel load(const LndMapSpec& plan) {
    MapModel model;
    NoProgress progress;
    EXPECT_EQ(readLnd(worldgen::writeLndMap(plan), model, progress), ReadOutcome::Done);
    return model;
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

TEST(MapCheck, CleanMapsAndNoMapLoaded) {
    CheckRun check;
    for (int height : {16, 8, 250}) { // the limits are allowed
        LndMapSpec plan = clean();
        plan.height = height;
        MapModel model = load(plan);
        EXPECT_EQ(check.run(model), 0) << height;
    }
    MapModel empty;
    check.run(empty);
    EXPECT_THAT(check.ui.messageTexts(), ElementsAre("No erros were found", "No erros were found",
                                                     "No erros were found", "No map loaded"));
}

TEST(MapCheck, OddSidesAreReportedAndRepairedOnYes) {
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
        for (size_t q : {1u, 3u, 5u}) { // Enter repairs nothing
            const test::RecordedMessage& m = check.ui.messages()[q];
            EXPECT_TRUE(m.icon == Icon::Question && m.buttons == Buttons::YesNo &&
                        m.defaultButton == Answer::No);
        }
        EXPECT_EQ(check.ui.messages()[0].icon, Icon::Exclamation);
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
    const auto texts = check.ui.messageTexts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Some objects  have identical coordinates. (3X3)\r\nFix error?");
    EXPECT_EQ(texts[1], "Fix all such errors?");
    EXPECT_EQ(check.ui.messages()[0].defaultButton, Answer::No);
    EXPECT_THAT(check.faults, ElementsAre("Some objects  have identical coordinates. (3X3)",
                                          "Some objects  have identical coordinates. (15X8)",
                                          "Some objects still have identical coordinates. (4X3)"));
    EXPECT_THAT(check.statuses, ElementsAre("\"B\" - \"C\"", "\"E\" - \"F\"", "\"A\" - \"C\""));
    EXPECT_TRUE(check.ui.allAnswersUsed());
}

TEST(MapCheck, ManyObjectsOnOneTileListAThousandFaultsAndSayHowManyMore) {
    MapModel model = load(clean(std::vector(50, on("\"Tree\"", 6, 6)))); // 1225 pairs
    CheckRun check;
    for (int i = 0; i < 1225; ++i)
        check.ui.answerMessage(Answer::No);
    EXPECT_EQ(check.run(model), 1225);
    ASSERT_EQ(check.faults.size(), std::size_t(kMaxListedFaults) + 1);
    EXPECT_EQ(check.faults[999] + "|" + check.faults.back(),
              "Some objects  have identical coordinates. (6X6)|225 more faults are not listed "
              "(only the first 1000 are).");
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
