#pragma once
// The per-user folders of the desktop: where a program installed for everybody keeps
// each user's settings and data. Texts end without a separator.
#include <string>

namespace kv::platform {

// ${XDG_CONFIG_HOME:-~/.config} on POSIX, %APPDATA% on Windows.
std::string userConfigFolder();
// ${XDG_DATA_HOME:-~/.local/share} on POSIX, %APPDATA% on Windows.
std::string userDataFolder();

} // namespace kv::platform
