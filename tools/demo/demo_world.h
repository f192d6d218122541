#pragma once
// The demo world: a launcher folder with everything the launcher expects beneath it and a
// game folder it can serve, written by code. ./run starts the launcher on it; tests and
// benchmarks build the same world in temporary folders.
#include <string>

namespace kv::demo {

struct DemoWorld {
    std::string launcherFolder; // ends with a separator
    std::string gameFolder;     // ends with a separator
};

// Writes root/launcher and root/game. Files already there are kept, so the options a user
// changed in the demo survive the next ./run; `fresh` writes the settings file anew.
// False when a file could not be written; `error` then says which.
bool writeDemoWorld(const std::string& root, bool fresh, DemoWorld& world, std::string& error);

} // namespace kv::demo
