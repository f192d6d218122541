#include "platform/user_folders.h"

#include <cstdlib>

namespace kv::platform {

namespace {

std::string appData() {
    const char* value = std::getenv("APPDATA");
    std::string base = value && *value ? value : ".";
    while (base.size() > 1 && (base.back() == '\\' || base.back() == '/'))
        base.pop_back();
    return base;
}

} // namespace

std::string homeFolder() {
    const char* value = std::getenv("USERPROFILE");
    return value && *value ? std::string(value) : appData();
}

std::string userConfigFolder() {
    return appData();
}

std::string userDataFolder() {
    return appData();
}

} // namespace kv::platform
