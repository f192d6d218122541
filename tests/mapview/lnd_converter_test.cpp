#include "mapview/binary_map_reader.h"
#include "mapview/lnd_converter.h"
#include "mapview/lnd_reader.h"
#include "mapview/map_viewer.h"

#include "platform/files.h"
#include "platform/text.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/worldgen/map_demo.h"
#include "tools/worldgen/map_samples.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <sstream>

namespace kv::mapview {
namespace {

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
    EXPECT_THAT(lines[objects + 2],
                ::testing::StartsWith("        0 0 \"OilResource\" 0 \"NONAME\" "));
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

// The whitespace-separated fields of the converted object lines.
std::vector<std::vector<std::string>> objectFields(const std::vector<std::string>& lines) {
    std::vector<std::vector<std::string>> out;
    for (const std::string& l : lines) {
        if (l.find("\"OilResource\"") == std::string::npos)
            continue;
        std::istringstream in(l);
        out.emplace_back(std::istream_iterator<std::string>(in),
                         std::istream_iterator<std::string>());
    }
    return out;
}

std::string twoDecimals(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
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

        // Each oil resource is exported at its world position + 256 (X) and - 128 (Y).
        const auto fields = objectFields(lines);
        ASSERT_EQ(fields.size(), map.oilResources.size());
        ASSERT_EQ(back.objects.size(), map.oilResources.size());
        for (std::size_t i = 0; i < fields.size(); ++i) {
            const MapObject& oil = map.oilResources[i];
            ASSERT_EQ(fields[i].size(), 11u);
            EXPECT_EQ(fields[i][5], twoDecimals(oil.worldX + 256)) << w << " " << i;
            EXPECT_EQ(fields[i][7], twoDecimals(oil.worldY - 128)) << w << " " << i;
            EXPECT_EQ(back.objects[i].name, "\"OilResource\"");
        }
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
