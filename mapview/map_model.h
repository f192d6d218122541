#pragma once
// The in-memory map the viewer works on, filled from an LND text map or from a binary
// map with its features file. One model per viewer window; every load replaces it.
#include <cstdint>
#include <string>
#include <vector>

namespace kv::mapview {

// Largest map or features file read whole; a 512 x 512 LND map with every object is a
// fraction of it, and a device or a runaway file cannot exhaust memory.
inline constexpr std::uint64_t kMapFileReadLimit = std::uint64_t(32) << 20;

struct MapTile {
    int height = 0;  // wider than the file's 16 bits so the height slider cannot wrap
    int texture = 0; // texture IDs count from 1
    bool vertexFlip = false;
    int tileBits = 0;
    int tileCode = 0;
    int tileMarkA = 0;
    int tileMarkB = 0;
};

struct MapObject {
    std::string name; // LND names keep their surrounding double quotes
    int player = 0;
    int x = 0; // tile position
    int y = 0;
    // Oil from a features file: the world position it gives, which LND export writes.
    double worldX = 0;
    double worldY = 0;
};

struct Gateway {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Tiles indexed -1 … width+1 and -1 … height+1: the binary map's border and the LND
// reader's spare row and column both fit. Outside that, reads give an empty tile.
class TileGrid {
public:
    void resize(int width, int height); // keeps the tiles that still fit
    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const {
        return x >= -1 && y >= -1 && x <= width_ + 1 && y <= height_ + 1;
    }
    MapTile* find(int x, int y);
    const MapTile& at(int x, int y) const; // an empty tile outside the grid

private:
    int width_ = 0, height_ = 0;
    std::vector<MapTile> tiles_; // column-major, (width+3) x (height+3)
};

enum class SourceMode { None, Lnd, Kdg };

struct MapModel {
    SourceMode sourceMode = SourceMode::None;
    std::string dataSet;
    int mapWidth = 0;
    int mapHeight = 0;
    int numTiles = 0;
    int seaLevel = 100;
    TileGrid tiles;
    std::vector<MapObject> objects; // LND objects
    int scrollLimitCount = 0;
    std::vector<Gateway> gateways;
    std::vector<int> tileTypes;
    std::vector<int> tileFlags;
    std::vector<MapObject> oilResources; // binary map features
    // Binary maps whose header version byte is 2 come from the newer map format; the
    // flag is shown with the map's information and changes nothing else.
    bool versionFlag = false;
    std::vector<std::string> info; // the viewer's information list ("Height:…", "Width:…")

    // The objects the views show: the LND objects, or the oil resources of a binary map.
    const std::vector<MapObject>& visibleObjects() const {
        return sourceMode == SourceMode::Kdg ? oilResources : objects;
    }
    // The tile type of a texture ID (the first table after the gateways), -1 when none.
    int tileTypeOf(int texture) const;
};

// "lnd", "kdg" or "" as the viewer names the modes.
const char* sourceModeName(SourceMode mode);

} // namespace kv::mapview
