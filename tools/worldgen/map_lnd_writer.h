#pragma once
// Writes LND text maps for tests, benchmarks and the demo world, laid out as the map
// editor writes them (tiles column by column, CR LF line ends unless asked otherwise).
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv::worldgen {

struct LndObjectSpec {
    std::string name; // written as given; LND names carry double quotes ("\"A0PowMod1\"")
    int player = 0;
    double worldX = 0; // 128 units a tile, 0 at the map's centre, Y upwards
    double worldY = 0;
};

struct LndGatewaySpec {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Every member has an initialiser, so a plan can name only what it changes
// ({.width = 4, .height = 2}) without GCC's missing-initialiser warning.
struct LndMapSpec {
    std::string dataSet = "KorvaneDataC1.eds";
    int width = 16;
    int height = 16;
    int seaLevel = 0;
    std::optional<int> declaredTiles{}; // NumTiles; width x height when not set
    std::function<int(int x, int y)> tileHeight = [](int, int) { return 0; };
    std::function<int(int x, int y)> texture = [](int, int) { return 1; };
    std::vector<LndObjectSpec> objects{};
    std::vector<LndGatewaySpec> gateways{};
    std::vector<int> tileTypes{}; // empty: the standard 91-value table
    bool lfOnly = false;
};

std::string writeLndMap(const LndMapSpec& plan);

// The world position of a tile's centre, for placing objects on tiles.
double worldXOfTile(int x, int width);
double worldYOfTile(int y, int height);

// Rolling hills between about 20 and 230, the same for the same arguments.
int hillHeight(int x, int y, int width, int height);

} // namespace kv::worldgen
