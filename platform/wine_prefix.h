#pragma once
// Wine prefixes: the folder tree (`drive_c`, `system.reg`, `user.reg`, …) holding a Windows
// program's drive, registry, DLL overrides and Wine settings. Linux players keep a game in
// a prefix of its own; Wine only uses it when told through WINEPREFIX.
#include <string>
#include <string_view>

namespace kv::platform {

// The prefix a file or folder lies in: the nearest folder, from the path itself upwards,
// that holds both a `drive_c` folder and a `system.reg` file. Links are resolved first, so
// a link into a prefix counts as inside it. Without a trailing separator; empty outside
// any prefix.
std::string winePrefixOf(std::string_view path);

} // namespace kv::platform
