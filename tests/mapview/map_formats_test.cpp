// The map file formats: binary maps and their features, the preview, LND text maps and
// the conversion from one to the other.
#include "mapview/binary_map_reader.h"
#include "mapview/lnd_converter.h"
#include "mapview/lnd_reader.h"
#include "mapview/map_preview.h"
#include "mapview/map_viewer.h"
#include "platform/files.h"
#include "platform/text.h"
#include "tests/support/recording_progress.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/map_binary_writer.h"
#include "tools/worldgen/map_demo.h"
#include "tools/worldgen/map_lnd_writer.h"
#include "tools/worldgen/map_samples.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace kv::mapview {
namespace {

using test::RecordingProgress;
using worldgen::BinaryMapSpec;
using worldgen::BinaryTile;
using worldgen::LndMapSpec;
using worldgen::writeBinaryMap;
using worldgen::writeLndMap;

TEST(BinaryMap, TileBitsTable) {
    // Marks 7 and 9 going in show which of them a rule sets and which it keeps.
    const struct {
        int bits, code, markA, markB;
    } cases[] = {{144, 20, 7, 1}, {100, 100, 7, 9}, {0, 0, 7, 9},    {8, 2, 1, 9},
                 {136, 6, 1, 1},  {192, 12, 7, 1},  {200, 14, 1, 1}, {72, 10, 1, 9}};
    for (const auto& c : cases) {
        MapTile t;
        t.tileMarkA = 7;
        t.tileMarkB = 9;
        applyTileBits(t, c.bits);
        EXPECT_EQ(std::tuple(t.tileCode, t.tileMarkA, t.tileMarkB),
                  std::tuple(c.code, c.markA, c.markB))
            << c.bits;
    }
}

TEST(BinaryMap, HeaderTilesRowByRowBorderAndShortFiles) {
    BinaryMapSpec plan{.width = 3, .height = 2, .version = 2, .tile = [](int x, int y) {
                           return BinaryTile{std::uint8_t(x + 10 * y), std::uint8_t(y ? 144 : 0),
                                             std::uint8_t(200 + x + 10 * y)};
                       }};
    MapModel m;
    readBinaryMap(writeBinaryMap(plan), m);
    EXPECT_EQ(std::tuple(m.sourceMode, m.mapWidth, m.mapHeight, m.versionFlag),
              std::tuple(SourceMode::Kdg, 3, 2, true));
    EXPECT_EQ(m.info, (std::vector<std::string>{"Height:2", "Width:3"}));
    const MapTile& t = m.tiles.at(2, 1);
    EXPECT_EQ(std::tuple(t.height, t.texture, t.tileCode), std::tuple(212, 13, 20));
    EXPECT_EQ(std::pair(m.tiles.at(1, 0).texture, m.tiles.at(1, 0).tileBits), std::pair(2, 0));
    for (int i = -1; i <= 4; ++i) {
        EXPECT_EQ(m.tiles.at(i, -1).height, 0);
        EXPECT_EQ(m.tiles.at(-1, std::min(i, 3)).height, 0);
    }
    plan.version = 1;
    readBinaryMap(writeBinaryMap(plan), m);
    EXPECT_FALSE(m.versionFlag);

    // Short files read as zeros.
    readBinaryMap(std::string("map \x02\0\0\0\x05", 9), m);
    EXPECT_EQ(m.mapHeight, 5);
    EXPECT_EQ(m.mapWidth, 0);
    const auto tile = [](int, int) { return BinaryTile{1, 2, 3}; };
    const std::string full = writeBinaryMap({.width = 255, .height = 255, .tile = tile});
    readBinaryMap(std::string_view(full).substr(0, full.size() / 2), m);
    EXPECT_EQ(m.tiles.at(0, 0).height, 3);
    EXPECT_EQ(m.tiles.at(254, 254).height, 0);
    readBinaryMap({}, m);
    EXPECT_EQ(m.mapWidth, 0);
}

TEST(BinaryMap, RoundHalfEven) {
    const std::pair<double, int> cases[] = {{2.5, 2},   {3.5, 4},    {-2.5, -2},
                                            {-3.5, -4}, {1.4999, 1}, {-0.6, -1}};
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

TEST(BinaryMap, OilResourcePositionsFromFeatureBytes) {
    MapModel m;
    readBinaryMap(writeBinaryMap({.width = 64, .height = 32}), m);
    // Worked by hand: a = 10, b = 0 gives worldX = -128 * (2 * (16 - 1 - 10) + 2) - 64
    // = -1600, tile X = floor(-12.5) + 32 + 3 = 22; a = 5, b = 64 for Y gives
    // worldY = -128 * (2 * (8 - 1 - 5) + 2) - 64 = -832, tile Y = floor(-6.5) + 16 = 9.
    const std::string features = worldgen::writeFeatures({{10, 0, 5, 64}, {0, 255, 0, 0}});
    readFeatures(features, m);
    ASSERT_EQ(m.oilResources.size(), 2u);
    EXPECT_EQ(std::tuple(m.oilResources[0].name, m.oilResources[0].player, m.oilResources[0].x,
                         m.oilResources[0].y),
              std::tuple("OilResource", 0, 22, 9));
    EXPECT_EQ(std::pair(m.oilResources[0].worldX, m.oilResources[0].worldY),
              std::pair(-1600.0, -832.0));
    // a = 0, b = 255: worldX = -128 * 32 - 255 - 64 = -4415, floor(-34.49) + 35 = 0.
    EXPECT_EQ(std::pair(m.oilResources[1].x, m.oilResources[1].y), std::pair(0, 0));
    // An occurrence cut off at the end of the file reads its missing bytes as zero.
    m.oilResources.clear();
    readFeatures("xxOilResource", m);
    EXPECT_EQ(m.oilResources.size(), 1u);
}

TEST(MapPreview, ReadsFromTheFirstMapSignatureRefusesAndScales) {
    const std::string map = writeBinaryMap({.width = 4, .height = 3, .tile = [](int x, int y) {
                                                return BinaryTile{0, 0, std::uint8_t(x * 50 + y)};
                                            }});
    const MapPreview p =
        buildMapPreview("KDG5 some archive bytes" + map + "map " + std::string(20, '\x07'));
    ASSERT_EQ(p.result, MapPreview::Result::Ok);
    EXPECT_EQ(p.sizeLabel(), "4 x 3");
    EXPECT_EQ(std::pair(p.image.width(), p.image.height()), std::pair(4, 3));
    EXPECT_EQ(p.image.at(3, 2), (Rgb{152, 152, 152}));
    EXPECT_EQ(p.image.at(1, 0), (Rgb{50, 50, 50}));

    EXPECT_EQ(buildMapPreview("no signature here").message(), "No maps found");
    for (const std::string& map : {writeBinaryMap({.width = 256, .height = 10}),
                                   writeBinaryMap({.width = 10, .height = 0}), std::string("map ")})
        EXPECT_EQ(buildMapPreview(map).message(), "Wrong map dimensions.") << map.size();

    const auto columns = [](int x, int) { return BinaryTile{0, 0, std::uint8_t(x)}; };
    const MapPreview big =
        buildMapPreview(writeBinaryMap({.width = 250, .height = 100, .tile = columns}));
    EXPECT_EQ(big.message() + big.sizeLabel(), "250 x 100");
    EXPECT_EQ(std::pair(big.image.width(), big.image.height()), std::pair(200, 80));
    EXPECT_EQ(big.image.at(199, 79).r, 248); // the last pixel samples near the last column
    EXPECT_EQ(buildMapPreview(writeBinaryMap({.width = 200, .height = 200})).image.width(), 200);
}

MapModel read(const std::string& text, ReadOutcome expected = ReadOutcome::Done) {
    MapModel model;
    NoProgress progress;
    EXPECT_EQ(readLnd(text, model, progress), expected);
    return model;
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

TEST(LndReader, WrongFormatStatusTextsAndStop) {
    read("Dataset x\r\n", ReadOutcome::WrongFormat);
    read("", ReadOutcome::WrongFormat);

    RecordingProgress progress;
    MapModel model;
    // Progress counts against the declared number of tiles.
    ASSERT_EQ(readLnd(writeLndMap({.width = 4, .height = 2, .declaredTiles = 16}), model, progress),
              ReadOutcome::Done);
    EXPECT_THAT(progress.statuses,
                ::testing::IsSupersetOf({"Map width: 4", "Map height: 2",
                                         "Reading file...terrain(50%)", "Reading tile types..."}));
    // A stop between columns keeps what was read.
    RecordingProgress stopping;
    stopping.stopAfter = 2;
    MapModel part;
    EXPECT_EQ(
        readLnd(writeLndMap({.width = 6, .height = 2, .tileHeight = [](int, int) { return 9; }}),
                part, stopping),
        ReadOutcome::Stopped);
    EXPECT_EQ(std::pair(part.tiles.at(2, 1).height, part.tiles.at(3, 0).height), std::pair(9, 0));
}

TEST(LndReader, SeaLevelIsOneHundredUnlessTheFileSetsIt) {
    const std::string text = writeLndMap({.seaLevel = 40});
    const std::size_t at = text.find("    SeaLevel 40\r\n");
    ASSERT_NE(at, std::string::npos);
    // Each replaces the SeaLevel line.
    const std::pair<const char*, int> cases[] = {
        {"    SeaLevel 40\r\n", 40},    {"    SeaLevel 0\r\n", 0},
        {"    SeaLevel -3\r\n", -3},    {"    SeaLevel\r\n", 100},
        {"    SeaLevel deep\r\n", 100}, {"    TextureWidth 64\r\n", 100},
    };
    for (const auto& [line, expected] : cases) {
        std::string changed = text;
        changed.replace(at, std::strlen("    SeaLevel 40\r\n"), line);
        EXPECT_EQ(read(changed).seaLevel, expected) << line;
    }
    // A file that ends before its SeaLevel line.
    EXPECT_EQ(read(text.substr(0, at)).seaLevel, 100);
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
    EXPECT_EQ(std::tuple(r.outcome, r.reformatted, model.mapWidth),
              std::tuple(ReadOutcome::Done, true, 3));
    EXPECT_EQ(program.read("Lakes.lnd"), original);
    plan.lfOnly = false;
    EXPECT_EQ(maps.read("Lakes.lnd"), writeLndMap(plan));

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

MapModel binaryMap(int width, int height, const std::vector<worldgen::OilFeature>& oil = {}) {
    MapModel model;
    readBinaryMap(worldgen::patternBinaryMap(width, height), model);
    readFeatures(worldgen::writeFeatures(oil), model);
    return model;
}

std::size_t lineIndex(const std::vector<std::string>& lines, const std::string& text) {
    return std::size_t(std::find(lines.begin(), lines.end(), text) - lines.begin());
}

TEST(LndConverter, FixedSectionsAndTileLineFields) {
    const MapModel map = binaryMap(4, 2, {worldgen::oilOnTile(3, 1)});
    const auto lines = convertToLndLines(map);
    // Tile (0, 0): texture index 0, bits 8 (code 2, mark A); corners from (1,0), (1,1), (0,1).
    EXPECT_EQ(lines[23], "        TID 1 VF 1 TF 0 F 2 VH 0 13 18 5");
    // The last tile repeats its own height where the map ends.
    EXPECT_EQ(lines[23 + 7] + lines[23 + 8], "        TID 23 VF 1 TF 0 F 2 VH 44 44 44 44    }");
    EXPECT_EQ(lines[10] + lines[14] + lines[21], "    MapWidth 4    SeaLevel 0    NumTiles 8");
    const std::size_t objects = lineIndex(lines, "    NumObjects 1");
    EXPECT_EQ(lines[objects - 1] + lines[objects + 1] + lines[objects + 3],
              "FeatureSet KorvaneDataC1.eds\t    Objects {    }");
    // The oil on tile (3, 1) is exported at its world position + 256 (X) and - 128 (Y).
    EXPECT_EQ(lines[objects + 2],
              "        0 0 \"OilResource\" 0 \"NONAME\" 64.00 128.00 -64.00 0.00 "
              "0.00 0.00");
    EXPECT_EQ(lines[lineIndex(lines, "    Limits {") + 1], "        \"Entire Map\" 0 0 0 4 2");
    const std::size_t gates = lineIndex(lines, "    NumGateways 0");
    EXPECT_EQ(lines[gates + 1] + lines[gates + 2], "    Gates {    }");
    const std::size_t types = lineIndex(lines, "TileTypes {");
    EXPECT_EQ(lines[types + 1], "    NumTiles 91");
    EXPECT_EQ(lines[types + 3], "        2 1 0 2 2 0 2 2 2 2 1 1 1 0 7 7");
    EXPECT_EQ(lines[types + 8], "        2 2 2 2 2 2 2 2 2 2 0");
    EXPECT_EQ(lines[lineIndex(lines, "TileFlags {") + 8], "        0 0 0 0 0 0 0 0 0 0 0");
    const std::size_t brushes = lineIndex(lines, "    EdgeBrushes {");
    EXPECT_EQ(lines[brushes - 2], "    NumEdgeBrushes 16");
    for (std::size_t i = 1; i <= 16; ++i)
        EXPECT_EQ(std::count(lines[brushes + i].begin(), lines[brushes + i].end(), ' '), 8 + 34);
    EXPECT_THAT(lines[brushes + 16], ::testing::StartsWith("        0 128 0 -1 0 78 0 78"));
    EXPECT_EQ(lines[brushes + 17] + lines.back(), "    }}");
}

TEST(LndConverter, ConvertedMapReadsBackToTheSameTilesHeightsAndTextures) {
    for (const auto& [w, h] : {std::pair(64, 64), std::pair(30, 18), std::pair(255, 255)}) {
        const MapModel map = binaryMap(w, h,
                                       {worldgen::oilOnTile(1, 0),
                                        worldgen::oilOnTile(w - 1, h - 1),
                                        worldgen::oilOnTile(w / 2, h / 3),
                                        {200, 255, 250, 3}});
        const auto lines = convertToLndLines(map);
        MapModel back;
        NoProgress progress;
        ASSERT_EQ(readLnd(platform::joinLinesCrLf(lines), back, progress), ReadOutcome::Done);
        ASSERT_EQ(back.mapWidth, w);
        ASSERT_EQ(back.mapHeight, h);
        EXPECT_EQ(back.numTiles, w * h);
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y) {
                ASSERT_EQ(back.tiles.at(x, y).height, map.tiles.at(x, y).height) << x << "," << y;
                ASSERT_EQ(back.tiles.at(x, y).texture, map.tiles.at(x, y).texture);
            }
        }
        EXPECT_EQ(back.tileTypeOf(15), 7);
        EXPECT_EQ(back.tileFlags.size(), 91u);
        ASSERT_EQ(back.objects.size(), map.oilResources.size());
        EXPECT_EQ(back.objects.back().name, "\"OilResource\"");
    }
}

TEST(LndConverter, ViewerConvertAsksForTheTargetAndRefusesWithoutABinaryMap) {
    test::TempFolder folder;
    test::ScriptedUi ui;
    NoProgress progress;
    MapViewer viewer(ui, progress, folder.path());
    viewer.convert();
    EXPECT_THAT(ui.messageTexts(), ::testing::ElementsAre("Load a *.map file first!"));

    for (const auto& file : worldgen::demoBinaryMap())
        folder.write(file.name, file.contents);
    ui.clear();
    ASSERT_TRUE(viewer.openBinaryMap(folder / "Game.map"));
    EXPECT_EQ(viewer.model().oilResources.size(), 5u);
    ui.answerFile(folder / "Out.lnd");
    viewer.convert();
    EXPECT_THAT(ui.messageTexts(), ::testing::ElementsAre("Done!"));
    EXPECT_EQ(folder.read("Out.lnd"), platform::joinLinesCrLf(convertToLndLines(viewer.model())));

    // Without its features file the map still opens, without oil.
    platform::deleteFile(folder / "Feat.bjo");
    ui.clear();
    ASSERT_TRUE(viewer.openBinaryMap(folder / "Game.map"));
    EXPECT_THAT(ui.messageTexts(),
                ::testing::ElementsAre("'Feat.bjo' was not found, unable to load features."));
    EXPECT_TRUE(viewer.model().oilResources.empty());
}

} // namespace
} // namespace kv::mapview
