#pragma once
// The per-user folders of the desktop: where a program installed for everybody keeps
// each user's settings and data. Texts end without a separator.
#include <string>

namespace kv::platform {

// The user's home folder: $HOME (else the password entry) on POSIX, %USERPROFILE% on
// Windows. Where a file dialog starts when the launcher has no better folder.
std::string homeFolder();
// ${XDG_CONFIG_HOME:-~/.config} on POSIX, %APPDATA% on Windows.
std::string userConfigFolder();
// ${XDG_DATA_HOME:-~/.local/share} on POSIX, %APPDATA% on Windows.
std::string userDataFolder();

} // namespace kv::platform
