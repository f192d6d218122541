#include "kdg/folders.h"

#include "platform/files.h"
#include "platform/text.h"

namespace kv::kdg {

bool FolderExists(const std::string& path) {
    const std::string p(platform::trimBlanksTabs(path));
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
