#pragma once
// What the demo's local update server publishes: "Config.ini" (also at the fallback path
// "KVS/Config.ini") offering a new AI, a rules set, a misc file and a newer launcher,
// with the files it names. scripts/update-server.sh serves the folder on 127.0.0.1.
#include <string>

namespace kv::demo {

inline constexpr int kDemoUpdatePort = 8966;

// Writes the server's folder; `baseUrl` is where it will be served ("http://127.0.0.1:8966").
bool writeUpdateServer(const std::string& folder, const std::string& baseUrl, std::string& error);

} // namespace kv::demo
