#include "platform/wine_prefix.h"

#include "platform/files.h"

#include <climits>
#include <cstdlib>

namespace kv::platform {

namespace {

bool isPrefix(const std::string& folder) {
    return folderExists(folder + "/drive_c") && fileExists(folder + "/system.reg");
}

// The path with its links resolved; for a path that does not exist (yet), as written.
std::string realPath(const std::string& path) {
    char buffer[PATH_MAX];
    return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

} // namespace

std::string winePrefixOf(std::string_view path) {
    std::string folder = realPath(resolvePath(path));
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    while (!folder.empty() && folder != "/") {
        if (isPrefix(folder))
            return folder;
        const size_t slash = folder.rfind('/');
        if (slash == std::string::npos)
            break;
        folder.resize(slash == 0 ? 1 : slash);
    }
    return {};
}

} // namespace kv::platform
