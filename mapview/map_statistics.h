#pragma once
// The figures and object lists of the statistics window.
#include "mapview/map_model.h"

#include <string>
#include <vector>

namespace kv::mapview {

struct MapStatistics {
    int mapHeight = 0, mapWidth = 0, area = 0, seaLevel = 0;
    int gatewayCount = 0, objectCount = 0;
    // One row per object, in order.
    std::vector<std::string> names;
    std::vector<std::string> positions; // X " X " Y
    std::vector<std::string> players;   // "Player" + number
};

MapStatistics mapStatistics(const MapModel& model);

} // namespace kv::mapview
