#pragma once
// The demo's archive tool stand-in, its resource lists and a links file in the demo's
// own colours.
#include <string>

namespace kv::demo {

// Writes into the launcher folder; files already there are kept unless `fresh`.
bool writeProjectResources(const std::string& launcherFolder, bool fresh, std::string& error);

} // namespace kv::demo
