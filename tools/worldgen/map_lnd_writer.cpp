#include "tools/worldgen/map_lnd_writer.h"

#include "mapview/tile_type_table.h"

#include <cmath>
#include <cstdio>

namespace kv::worldgen {

namespace {

std::string fixed2(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

void table(std::string& out, const char* name, const char* inner, const std::vector<int>& values,
           const std::string& eol) {
    out += std::string(name) + " {" + eol + "    NumTiles " + std::to_string(values.size()) + eol +
           "    " + inner + " {" + eol;
    for (std::size_t row = 0; row < values.size(); row += 16) {
        out += "       ";
        for (std::size_t i = row; i < values.size() && i < row + 16; ++i)
            out += " " + std::to_string(values[i]);
        out += eol;
    }
    out += "    }" + eol + "}" + eol;
}

} // namespace

double worldXOfTile(int x, int width) {
    return (x - width / 2.0) * 128.0 + 64.0;
}
double worldYOfTile(int y, int height) {
    return (height / 2.0 - y) * 128.0 - 64.0;
}

int hillHeight(int x, int y, int width, int height) {
    const double fx = 6.2832 * x / std::max(width, 1), fy = 6.2832 * y / std::max(height, 1);
    return int(125 + 60 * std::sin(2 * fx) * std::cos(fy) + 45 * std::sin(3 * fy + fx));
}

std::string writeLndMap(const LndMapSpec& plan) {
    const std::string eol = plan.lfOnly ? "\n" : "\r\n";
    const auto line = [&](std::string& out, const std::string& text) { out += text + eol; };
    std::string out;
    out.reserve(std::size_t(plan.width) * plan.height * 48 + 4096);
    line(out, "DataSet " + plan.dataSet);
    for (const char* fixed :
         {"GrdLand {", "    Version 4", "    3DPosition -3840.000000 512.000000 3200.000000",
          "    3DRotation 25.000000 0.000000 0.000000", "    2DPosition 0 0",
          "    CustomSnap 16 16", "    SnapMode 0", "    Gravity 1", "    HeightScale 2"})
        line(out, fixed);
    line(out, "    MapWidth " + std::to_string(plan.width));
    line(out, "    MapHeight " + std::to_string(plan.height));
    line(out, "    TileWidth 128");
    line(out, "    TileHeight 128");
    line(out, "    SeaLevel " + std::to_string(plan.seaLevel));
    for (const char* fixed : {"    TextureWidth 64", "    TextureHeight 64", "    NumTextures 1",
                              "    Textures {", "        texpages\\tertilesc1.pcx", "    }"})
        line(out, fixed);
    line(out,
         "    NumTiles " + std::to_string(plan.declaredTiles.value_or(plan.width * plan.height)));
    line(out, "    Tiles {");
    for (int x = 0; x < plan.width; ++x) {
        for (int y = 0; y < plan.height; ++y) {
            const std::string h = std::to_string(plan.tileHeight(x, y));
            line(out, "        TID " + std::to_string(plan.texture(x, y)) + " VF 0 TF 0 F 0 VH " +
                          h + " " + h + " " + h + " " + h);
        }
    }
    line(out, "    }");
    line(out, "}");
    line(out, "ObjectList {");
    line(out, "    Version 3");
    line(out, "FeatureSet " + plan.dataSet + "\t");
    line(out, "    NumObjects " + std::to_string(plan.objects.size()));
    line(out, "    Objects {");
    for (std::size_t i = 0; i < plan.objects.size(); ++i) {
        const LndObjectSpec& o = plan.objects[i];
        line(out, "        " + std::to_string(i) + " 0 " + o.name + " " + std::to_string(o.player) +
                      " \"NONAME\" " + fixed2(o.worldX) + " 0.00 " + fixed2(o.worldY) +
                      " 0.00 0.00 0.00");
    }
    line(out, "    }");
    line(out, "}");
    for (const char* fixed : {"ScrollLimits {", "    Version 1", "    NumLimits 1", "    Limits {"})
        line(out, fixed);
    line(out, "        \"Entire Map\" 0 0 0 " + std::to_string(plan.width) + " " +
                  std::to_string(plan.height));
    line(out, "    }");
    line(out, "}");
    line(out, "Gateways {");
    line(out, "    Version 1");
    line(out, "    NumGateways " + std::to_string(plan.gateways.size()));
    line(out, "    Gates {");
    for (const LndGatewaySpec& g : plan.gateways)
        line(out, "        " + std::to_string(g.x1) + " " + std::to_string(g.y1) + " " +
                      std::to_string(g.x2) + " " + std::to_string(g.y2));
    line(out, "    }");
    line(out, "}");
    const std::vector<int> types = plan.tileTypes.empty()
                                       ? std::vector<int>(mapview::kStandardTileTypes.begin(),
                                                          mapview::kStandardTileTypes.end())
                                       : plan.tileTypes;
    table(out, "TileTypes", "Tiles", types, eol);
    table(out, "TileFlags", "Flags", std::vector<int>(types.size(), 0), eol);
    return out;
}

} // namespace kv::worldgen
