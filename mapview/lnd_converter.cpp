#include "mapview/lnd_converter.h"

#include "mapview/tile_type_table.h"
#include "platform/text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace kv::mapview {

namespace {

std::string num(int v) {
    return std::to_string(v);
}

std::string fixed2(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

// Corner heights past the last column or row repeat the edge tile, so the map's rim does
// not drop to the zero border.
int cornerHeight(const MapModel& map, int x, int y) {
    x = std::clamp(x, 0, std::max(map.mapWidth - 1, 0));
    y = std::clamp(y, 0, std::max(map.mapHeight - 1, 0));
    return map.tiles.at(x, y).height;
}

void appendNumber(std::string& line, const char* label, int value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    line += label;
    line.append(digits, end);
}

void appendTiles(const MapModel& map, std::vector<std::string>& out) {
    // Column by column, as the LND reader takes them.
    for (int x = 0; x < map.mapWidth; ++x) {
        for (int y = 0; y < map.mapHeight; ++y) {
            const MapTile& t = map.tiles.at(x, y);
            std::string line;
            line.reserve(64);
            appendNumber(line, "        TID ", t.texture);
            appendNumber(line, " VF ", t.tileMarkA);
            appendNumber(line, " TF ", t.tileMarkB);
            appendNumber(line, " F ", t.tileCode);
            appendNumber(line, " VH ", t.height);
            appendNumber(line, " ", cornerHeight(map, x + 1, y));
            appendNumber(line, " ", cornerHeight(map, x + 1, y + 1));
            appendNumber(line, " ", cornerHeight(map, x, y + 1));
            out.push_back(std::move(line));
        }
    }
}

// The exported position of an oil resource: its world position shifted by (+256, -128),
// the values the game's map editor expects for features-file objects.
std::string objectLine(std::size_t index, const MapObject& oil) {
    return "        " + std::to_string(index) + " 0 \"" + oil.name + "\" " + num(oil.player) +
           " \"NONAME\" " + fixed2(oil.worldX + 256.0) + " 128.00 " + fixed2(oil.worldY - 128.0) +
           " 0.00 0.00 0.00";
}

std::vector<std::string> brushLines() {
    std::vector<std::string> lines;
    lines.push_back("        0 128 0 -1 0 29 0 29 16 28 16 29 48 28 0 -1 0 30 0 29 32 -1 0 28 "
                    "32 30 16 28 48 30 48 30 32 54 0");
    // The slots between the first and the last edge brush are left empty (no tile in any
    // of the sixteen positions), which the editor shows as unused brushes.
    std::string empty = "        0 128 0";
    for (int i = 0; i < 16; ++i)
        empty += " -1 0";
    for (int i = 0; i < 14; ++i)
        lines.push_back(empty);
    lines.push_back("        0 128 0 -1 0 78 0 78 0 78 0 78 0 78 0 -1 0 78 0 78 0 -1 0 78 0 "
                    "78 0 78 0 78 0 78 0 78 0");
    return lines;
}

void append(std::vector<std::string>& out, std::initializer_list<std::string> lines) {
    out.insert(out.end(), lines.begin(), lines.end());
}

} // namespace

std::vector<std::string> convertToLndLines(const MapModel& map) {
    std::vector<std::string> out;
    out.reserve(std::size_t(map.mapWidth) * map.mapHeight + 120);
    append(out, {"DataSet KorvaneDataC1.eds",
                 "GrdLand {",
                 "    Version 4",
                 "    3DPosition -3840.000000 512.000000 3200.000000",
                 "    3DRotation 25.000000 0.000000 0.000000",
                 "    2DPosition 0 0",
                 "    CustomSnap 16 16",
                 "    SnapMode 0",
                 "    Gravity 1",
                 "    HeightScale 2",
                 "    MapWidth " + num(map.mapWidth),
                 "    MapHeight " + num(map.mapHeight),
                 "    TileWidth 128",
                 "    TileHeight 128",
                 "    SeaLevel 0",
                 "    TextureWidth 64",
                 "    TextureHeight 64",
                 "    NumTextures 1",
                 "    Textures {",
                 "        texpages\\tertilesc1.pcx",
                 "    }",
                 "    NumTiles " + num(map.mapWidth * map.mapHeight),
                 "    Tiles {"});
    appendTiles(map, out);

    append(out, {"    }", "}", "ObjectList {", "    Version 3", "FeatureSet KorvaneDataC1.eds\t",
                 "    NumObjects " + num(int(map.oilResources.size())), "    Objects {"});
    for (std::size_t i = 0; i < map.oilResources.size(); ++i)
        out.push_back(objectLine(i, map.oilResources[i]));
    append(out, {"    }", "}"});

    append(out, {"ScrollLimits {", "    Version 1", "    NumLimits 1", "    Limits {",
                 "        \"Entire Map\" 0 0 0 " + num(map.mapWidth) + " " + num(map.mapHeight),
                 "    }", "}"});

    append(out, {"Gateways {", "    Version 1", "    NumGateways " + num(int(map.gateways.size())),
                 "    Gates {"});
    for (const Gateway& g : map.gateways)
        out.push_back("        " + num(g.x1) + " " + num(g.y1) + " " + num(g.x2) + " " + num(g.y2));
    append(out, {"    }", "}"});

    append(out, {"TileTypes {", "    NumTiles 91", "    Tiles {"});
    for (std::size_t row = 0; row < kStandardTileTypes.size(); row += 16) {
        std::string line = "       ";
        for (std::size_t i = row; i < std::min(row + 16, kStandardTileTypes.size()); ++i)
            line += " " + num(kStandardTileTypes[i]);
        out.push_back(line);
    }
    append(out, {"    }", "}"});

    append(out, {"TileFlags {", "    NumTiles 91", "    Flags {"});
    for (int i = 0; i < 5; ++i)
        out.push_back("        0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0");
    append(out, {"        0 0 0 0 0 0 0 0 0 0 0", "    }", "}"});

    append(out, {"Brushes {", "    Version 2", "    NumEdgeBrushes 16", "    NumUserBrushes 0",
                 "    EdgeBrushes {"});
    for (const std::string& line : brushLines())
        out.push_back(line);
    append(out, {"    }", "}"});
    return out;
}

platform::Status writeConvertedLnd(const std::string& path, const MapModel& binaryMap) {
    return platform::writeTextLines(path, convertToLndLines(binaryMap));
}

} // namespace kv::mapview
