#pragma once
// Small maps whose every tile differs from its neighbours, so that a drawing, a reading or
// a conversion shifted by one tile shows.
#include "tools/worldgen/map_binary_writer.h"
#include "tools/worldgen/map_lnd_writer.h"

#include <string>

namespace kv::worldgen {

// An 8 x 6 LND map: heights 20 x + 3 y (rising to the east, so the west columns lie under
// its sea level 50), textures 1 + (x + 2 y) % 30, a factory on tile (5, 1) and a power
// generator of player 1 on (6, 4), one gateway from (0, 0) to (3, 3).
LndMapSpec smallLndMapSpec();

// A binary map whose tile (x, y) has texture (7 x + y) % 90, bits 144 (8 where x is a
// multiple of 3) and height (13 x + 5 y) % 256.
std::string patternBinaryMap(int width, int height);

} // namespace kv::worldgen
