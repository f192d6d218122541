#pragma once
// Writes a binary map (read in "kdg" mode) as an LND text map the map editor opens. The
// result reads back through the LND reader to the same tiles, heights and oil resources.
#include "mapview/map_model.h"
#include "platform/status.h"

#include <string>
#include <vector>

namespace kv::mapview {

// The LND file's lines, without line ends.
std::vector<std::string> convertToLndLines(const MapModel& binaryMap);

// Writes the lines with CR LF ends, atomically.
platform::Status writeConvertedLnd(const std::string& path, const MapModel& binaryMap);

} // namespace kv::mapview
