#pragma once
// Wine prefixes: the folder tree (`drive_c`, `system.reg`, `user.reg`, …) holding a Windows
// program's drive, registry, DLL overrides and Wine settings. Linux players keep a game in
// a prefix of its own; Wine only uses it when told through WINEPREFIX.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace kv::platform {

// The prefix a file or folder lies in: the nearest folder, from the path itself upwards,
// that holds both a `drive_c` folder and a `system.reg` file. Links are resolved first, so
// a link into a prefix counts as inside it. Without a trailing separator; empty outside
// any prefix.
std::string winePrefixOf(std::string_view path);

// Where Linux players keep prefixes under `home`, the ones that exist: Lutris's ~/Games,
// Bottles' bottles, Steam's compatibility prefixes, and ~/.wine.
std::vector<std::string> winePrefixRoots(std::string_view home);

struct FoundProgram {
    std::string program; // the file's path
    std::string prefix;  // the prefix it lies in
};

// Files named `fileName` (any letter case) inside the prefixes under winePrefixRoots:
// a few folders deep, within `budget`, never through a link that leads out of `home`.
std::vector<FoundProgram>
findInWinePrefixes(std::string_view home, std::string_view fileName,
                   std::chrono::milliseconds budget = std::chrono::milliseconds(2000));

} // namespace kv::platform
