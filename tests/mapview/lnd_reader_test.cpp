#include "mapview/lnd_reader.h"

#include "tests/support/recording_progress.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/map_lnd_writer.h"

#include <cstring>
#include <filesystem>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kv::mapview {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using worldgen::LndMapSpec;
using worldgen::writeLndMap;

using test::RecordingProgress;

MapModel read(const std::string& text, ReadOutcome expected = ReadOutcome::Done) {
    MapModel model;
    NoProgress progress;
    EXPECT_EQ(readLnd(text, model, progress), expected);
    return model;
}

TEST(LndReader, HeaderAndTilesInColumnOrder) {
    const MapModel m = read(writeLndMap({.dataSet = "KorvaneDataC2.eds",
                                         .width = 5,
                                         .height = 3,
                                         .seaLevel = 42,
                                         .tileHeight = [](int x, int y) { return 10 * x + y; },
                                         .texture = [](int x, int y) { return 1 + x + 5 * y; }}));
    EXPECT_EQ(std::tuple(m.sourceMode, m.dataSet, m.mapWidth, m.mapHeight, m.numTiles, m.seaLevel),
              std::tuple(SourceMode::Lnd, "KorvaneDataC2.eds", 5, 3, 15, 42));
    for (int x = 0; x < 5; ++x)
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(std::pair(m.tiles.at(x, y).height, m.tiles.at(x, y).texture),
                      std::pair(10 * x + y, 1 + x + 5 * y))
                << x << "," << y;
    // The spare row and column exist and stay empty.
    EXPECT_EQ(m.tiles.at(5, 3).height, 0);
}

TEST(LndReader, ObjectTilePositionsRoundDown) {
    const MapModel m = read(writeLndMap({.width = 64,
                                         .height = 64,
                                         .objects = {{"\"Centre\"", 3, 0, 0},
                                                     {"\"Up\"", 1, 0, 128},
                                                     {"\"JustLeft\"", 0, -0.5, 0},
                                                     {"\"JustBelow\"", 0, 0, -0.01},
                                                     {"\"Corner\"", 7, -4096, 4096}}}));
    std::string tiles;
    for (const MapObject& o : m.objects)
        tiles += o.name + std::to_string(o.player) + " " + std::to_string(o.x) + "," +
                 std::to_string(o.y) + " ";
    EXPECT_EQ(tiles, "\"Centre\"3 32,32 \"Up\"1 32,31 \"JustLeft\"0 31,32 \"JustBelow\"0 32,32 "
                     "\"Corner\"7 0,0 ");
}

TEST(LndReader, GatewaysLimitsAndBothTables) {
    std::vector<int> types(91);
    for (int i = 0; i < 91; ++i)
        types[std::size_t(i)] = i % 10;
    const MapModel m = read(writeLndMap({.width = 4,
                                         .height = 4,
                                         .objects = {{"\"A\"", 0, 0, 0}},
                                         .gateways = {{1, 2, 3, 4}, {-1, 0, 250, 7}},
                                         .tileTypes = types}));
    ASSERT_EQ(std::pair(m.scrollLimitCount, m.gateways.size()), std::pair(1, std::size_t(2)));
    EXPECT_EQ(std::tuple(m.gateways[1].x1, m.gateways[1].x2, m.gateways[1].y2),
              std::tuple(-1, 250, 7));
    // 91 values: five full lines of sixteen and eleven on the sixth.
    EXPECT_EQ(m.tileTypes, types);
    EXPECT_EQ(m.tileFlags, std::vector<int>(91, 0));
    // Tile numbers count from 1; outside the table there is no type.
    EXPECT_EQ((std::vector<int>{m.tileTypeOf(1), m.tileTypeOf(91), m.tileTypeOf(18),
                                m.tileTypeOf(0), m.tileTypeOf(92)}),
              (std::vector<int>{0, 0, 7, -1, -1}));
    // Short tables stop at their count.
    const MapModel shortTables =
        read(writeLndMap({.width = 2, .height = 2, .tileTypes = {5, 6, 7}}));
    EXPECT_EQ(shortTables.tileTypes, (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(shortTables.tileFlags, (std::vector<int>{0, 0, 0}));
}

TEST(LndReader, WrongFormatAndStatusTexts) {
    read("Dataset x\r\n", ReadOutcome::WrongFormat);
    read("", ReadOutcome::WrongFormat);

    RecordingProgress progress;
    MapModel model;
    // Progress counts against the declared number of tiles.
    ASSERT_EQ(readLnd(writeLndMap({.width = 4, .height = 2, .declaredTiles = 16}), model, progress),
              ReadOutcome::Done);
    EXPECT_THAT(progress.statuses,
                ElementsAre("Reading file...", "Reading file...map info", "Map width: 4",
                            "Map height: 2", "Reading file...terrain",
                            "Reading file...terrain(12%)", "Reading file...terrain(25%)",
                            "Reading file...terrain(37%)", "Reading file...terrain(50%)",
                            "Reading file...objects", "Reading file...visible areas",
                            "Reading file...gateways", "Reading tile types..."));
}

TEST(LndReader, SeaLevelIsOneHundredUnlessTheFileSetsIt) {
    const std::string text = writeLndMap({.seaLevel = 40});
    const std::size_t at = text.find("    SeaLevel 40\r\n");
    ASSERT_NE(at, std::string::npos);
    // Each replaces the SeaLevel line.
    const std::pair<const char*, int> cases[] = {
        {"    SeaLevel 40\r\n", 40},
        {"    SeaLevel 0\r\n", 0},
        {"    SeaLevel -3\r\n", -3},
        {"    SeaLevel\r\n", 100},
        {"    SeaLevel \r\n", 100},
        {"    SeaLevel deep\r\n", 100},
        {"\r\n", 100},
        {"    TextureWidth 64\r\n", 100},
    };
    for (const auto& [line, expected] : cases) {
        std::string changed = text;
        changed.replace(at, std::strlen("    SeaLevel 40\r\n"), line);
        EXPECT_EQ(read(changed).seaLevel, expected) << line;
    }
    // A file that ends before its SeaLevel line.
    EXPECT_EQ(read(text.substr(0, at)).seaLevel, 100);
}

TEST(LndReader, StopBetweenColumnsKeepsWhatWasRead) {
    RecordingProgress progress;
    progress.stopAfter = 2;
    MapModel model;
    EXPECT_EQ(
        readLnd(writeLndMap({.width = 6, .height = 2, .tileHeight = [](int, int) { return 9; }}),
                model, progress),
        ReadOutcome::Stopped);
    EXPECT_EQ(model.tiles.at(2, 1).height, 9);
    EXPECT_EQ(model.tiles.at(3, 0).height, 0);
}

TEST(LndReader, MalformedAndTruncatedFilesDoNotCrash) {
    const std::string text = writeLndMap(
        {.width = 8, .height = 8, .objects = {{"\"A\"", 0, 0, 0}}, .gateways = {{1, 1, 2, 2}}});
    for (std::size_t cut = 0; cut < text.size(); cut += 37)
        read(text.substr(0, cut), cut < 7 ? ReadOutcome::WrongFormat : ReadOutcome::Done);

    auto with = [&](const std::string& line, const std::string& replacement) {
        std::string changed = text;
        return changed.replace(changed.find(line), line.size(), replacement);
    };
    EXPECT_FALSE(read(with("NumObjects 1", "NumObjects 2147483647")).objects.empty());
    EXPECT_EQ(read(with("MapWidth 8", "MapWidth x9")).mapWidth, 0);
    EXPECT_EQ(read(with("MapHeight 8", "MapHeight -5")).mapHeight, 0);
    read(with("MapWidth 8", "MapWidth 99999"), ReadOutcome::TooLarge);
}

TEST(LndFile, LfOnlyFileIsRewrittenAndTheOriginalKeptInTheProgramFolder) {
    test::TempFolder program, maps;
    LndMapSpec plan{.width = 3, .height = 2, .lfOnly = true};
    const std::string original = writeLndMap(plan);
    const std::string path = maps.write("Lakes.lnd", original);
    RecordingProgress progress;
    MapModel model;
    const LndLoadResult r = loadLndFile(path, program.path(), model, progress);
    EXPECT_EQ(r.outcome, ReadOutcome::Done);
    EXPECT_TRUE(r.reformatted);
    EXPECT_EQ(model.mapWidth, 3);
    EXPECT_EQ(program.read("Lakes.lnd"), original);
    plan.lfOnly = false;
    EXPECT_EQ(maps.read("Lakes.lnd"), writeLndMap(plan));
    EXPECT_THAT(progress.statuses, Contains("Formating file...please wait(100%)"));

    // Another file of that name in the program folder is kept; the copy goes beside it.
    const std::string other = maps.write("sub/Lakes.lnd", original + "\n");
    ASSERT_EQ(loadLndFile(other, program.path(), model, progress).outcome, ReadOutcome::Done);
    EXPECT_EQ(program.read("Lakes.lnd"), original);
    EXPECT_EQ(program.read("Lakes (2).lnd"), original + "\n");

    // A file in the program folder itself is only rewritten; a CR LF file is left alone.
    const std::string local = program.write("Own.lnd", original);
    ASSERT_EQ(loadLndFile(local, program.path(), model, progress).outcome, ReadOutcome::Done);
    EXPECT_EQ(program.read("Own.lnd"), writeLndMap(plan));
    EXPECT_FALSE(loadLndFile(local, program.path(), model, progress).reformatted);

    // The program folder's parent is elsewhere: its file is copied before it is rewritten,
    // whether or not the program folder is named with a trailing separator.
    for (const std::string& folder : {program / "bin", program / "bin/"}) {
        std::filesystem::create_directories(program / "bin");
        const std::string above = program.write("Above.lnd", original);
        ASSERT_EQ(loadLndFile(above, folder, model, progress).outcome, ReadOutcome::Done);
        EXPECT_EQ(program.read("bin/Above.lnd"), original) << folder;
        EXPECT_EQ(program.read("Above.lnd"), writeLndMap(plan)) << folder;
        std::filesystem::remove(program / "bin/Above.lnd");
    }
}

} // namespace
} // namespace kv::mapview
