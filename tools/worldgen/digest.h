#pragma once
// The digest an update server publishes for a file it offers.
#include <string>

namespace kv::worldgen {

// SHA-256 of `bytes` as lower-case hex, computed apart from the updater's own check.
std::string sha256Hex(const std::string& bytes);

} // namespace kv::worldgen
