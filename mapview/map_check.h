#pragma once
// CheckForBugs_LoadedMap: finds the faults that make a map unusable in the game and, when
// the user agrees, repairs them in the model.
#include "common/ui_port.h"
#include "mapview/map_model.h"

#include <functional>
#include <string>

namespace kv::mapview {

// The fault hook hears the first faults only, then one line saying how many more there were.
inline constexpr int kMaxListedFaults = 1000;

struct MapCheckHooks {
    std::function<void(const std::string&)> status; // the viewer's status bar
    std::function<void(const std::string&)> fault;  // the faults found, as reported
};

// Runs the whole check on `model`, asking through `ui`. Returns the number of faults.
int CheckForBugs_LoadedMap(MapModel& model, Ui& ui, const MapCheckHooks& hooks = {});

// A base building and one of its modules may share a tile (names with their quotes).
bool isBaseWithModule(const std::string& a, const std::string& b);

} // namespace kv::mapview
