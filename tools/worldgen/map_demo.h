#pragma once
// The maps of the demo world: two LND maps and a binary map with its features file (the
// demo world puts the latter two into an archive as "Game.map" and "Feat.bjo").
#include <string>
#include <vector>

namespace kv::worldgen {

struct DemoFile {
    std::string name;
    std::string contents;
};

// "Highlands.lnd" (64 x 64, lakes, a base, two gateways, no faults) and "Rivermouth.lnd"
// (48 x 32, a river, objects placed on water and on one tile, no gateways).
std::vector<DemoFile> demoLndMaps();

// "Game.map" (96 x 64) and "Feat.bjo" with five oil resources.
std::vector<DemoFile> demoBinaryMap();

} // namespace kv::worldgen
