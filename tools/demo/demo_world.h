#pragma once
// The demo world: a launcher folder with everything the launcher expects beneath it and a
// game folder it can serve, written by code. ./run starts the launcher on it; tests and
// benchmarks build the same world in temporary folders.
#include <string>
#include <utility>
#include <vector>

namespace kv::demo {

struct DemoWorld {
    std::string launcherFolder; // ends with a separator
    std::string gameFolder;     // ends with a separator
};

// Writes root/launcher and root/game. Files already there are kept, so the options a user
// changed in the demo survive the next ./run; `fresh` writes the settings file anew.
// False when a file could not be written; `error` then says which.
bool writeDemoWorld(const std::string& root, bool fresh, DemoWorld& world, std::string& error);

// Sets `key=value` lines in the world's settings file: a line with the same key is
// replaced, a new key is added at the end. False when the file cannot be read or written.
bool setDemoSettings(const DemoWorld& world,
                     const std::vector<std::pair<std::string, std::string>>& settings);

} // namespace kv::demo
