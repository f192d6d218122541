#include "platform/user_folders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace kv::platform {

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    const passwd* pw = ::getpwuid(::getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "/tmp";
}

namespace {

// An XDG variable counts only when it holds an absolute path; otherwise the default
// below the home folder applies.
std::string xdgFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    std::string base = value && value[0] == '/' ? std::string(value) : homeFolder() + underHome;
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base;
}

} // namespace

std::string userConfigFolder() {
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string userDataFolder() {
    return xdgFolder("XDG_DATA_HOME", "/.local/share");
}

} // namespace kv::platform
