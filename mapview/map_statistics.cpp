#include "mapview/map_statistics.h"

namespace kv::mapview {

MapStatistics mapStatistics(const MapModel& model) {
    MapStatistics s;
    s.mapHeight = model.mapHeight;
    s.mapWidth = model.mapWidth;
    s.area = int(std::int64_t(model.mapWidth) * model.mapHeight);
    s.seaLevel = model.seaLevel;
    s.gatewayCount = int(model.gateways.size());
    const auto& objects = model.visibleObjects();
    s.objectCount = int(objects.size());
    for (const MapObject& o : objects) {
        s.names.push_back(o.name);
        s.positions.push_back(std::to_string(o.x) + " X " + std::to_string(o.y));
        s.players.push_back("Player" + std::to_string(o.player));
    }
    return s;
}

} // namespace kv::mapview
