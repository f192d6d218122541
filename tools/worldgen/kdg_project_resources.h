#pragma once
// The resources a launcher keeps for KDG projects: the game's archive tool and the .krf
// resource lists the project aspects copy.
#include <string>

namespace kv::worldgen {

// Writes "resources/MakeKDG.exe" and every resource list under `launcherFolder`; each list
// holds its own file name, so a copy shows where it came from.
void writeKdgProjectResources(const std::string& launcherFolder);

} // namespace kv::worldgen
