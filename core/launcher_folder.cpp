#include "core/launcher_folder.h"

#include "common/paths.h"
#include "platform/files.h"
#include "platform/user_folders.h"

namespace kv {

namespace {

// Copies what `to` lacks from `from`, folder by folder; the first failure is kept.
void fillMissing(const std::string& from, const std::string& to, std::string& error) {
    if (!platform::folderExists(to)) {
        if (const auto st = platform::createFolderTree(to); !st && error.empty())
            error = to + ": " + st.description;
    }
    for (const platform::DirEntry& entry : platform::listDirectory(from)) {
        const std::string source = joinPath(from, entry.name);
        const std::string target = joinPath(to, entry.name);
        if (entry.isFolder) {
            fillMissing(withTrailingSeparator(source), withTrailingSeparator(target), error);
        } else if (!platform::pathExists(target)) {
            if (const auto st = platform::copyFile(source, target, false); !st && error.empty())
                error = target + ": " + st.description;
        }
    }
}

} // namespace

std::string shippedLauncherFiles(std::string_view programFolder) {
    const std::string shipped =
        withTrailingSeparator(joinPath(programFolder, "../share/korvane-starter/launcher"));
    return platform::folderExists(shipped) ? shipped : std::string();
}

LauncherFolderChoice chooseLauncherFolder(std::string_view programFolder) {
    LauncherFolderChoice choice;
    const std::string shipped = shippedLauncherFiles(programFolder);
    if (shipped.empty()) {
        choice.folder = withTrailingSeparator(programFolder);
        return choice;
    }
    choice.installed = true;
    choice.folder = withTrailingSeparator(platform::userDataFolder() + "/KorvaneStarter");
    fillMissing(shipped, choice.folder, choice.error);
    return choice;
}

} // namespace kv
