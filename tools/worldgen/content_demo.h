#pragma once
// The content part of the demo world: sample AIs (one with its own archives, one needing
// an archive from "Required KDGs", the "Water AI"), two rules sets, description files,
// active and inactive archives in the game folder, the default scripts backup and the
// "1.10 backup" folder.
#include <string>

namespace kv::worldgen {

// `launcherFolder` and `gameFolder` exist or are created. An existing "OriginalKDGs.ini"
// is kept. False when a file could not be written.
bool makeDemoContent(const std::string& launcherFolder, const std::string& gameFolder);

} // namespace kv::worldgen
