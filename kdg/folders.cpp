#include "kdg/folders.h"

#include "platform/files.h"

namespace kv::kdg {

namespace {

std::string trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

} // namespace

bool FolderExists(const std::string& path) {
    const std::string p = trim(path);
    return !p.empty() && platform::folderExists(p);
}

bool MakeDirTree(const std::string& path, Ui& ui) {
    for (std::size_t pos = 0; pos <= path.size(); ++pos) {
        if (pos != path.size() && path[pos] != '\\' && path[pos] != '/')
            continue;
        const std::string prefix = path.substr(0, pos);
        if (prefix.empty() || prefix.back() == '\\' || prefix.back() == '/' ||
            platform::pathExists(prefix))
            continue;
        if (platform::createFolder(prefix))
            ui.pumpEvents();
    }
    return FolderExists(path);
}

} // namespace kv::kdg
