#include "platform/wine_prefix.h"

#include "platform/files.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

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

// Below a root: the bottle or Steam id, pfx, drive_c, then a game a few folders deep.
constexpr int kSearchDepth = 8;

class PrefixSearch {
public:
    PrefixSearch(std::string home, std::string_view fileName, std::chrono::milliseconds budget)
        : home_(std::move(home)), fileName_(fileName),
          until_(std::chrono::steady_clock::now() + budget) {}

    void walk(const std::string& folder, int depth) {
        if (depth > kSearchDepth || std::chrono::steady_clock::now() > until_)
            return;
        DIR* dir = ::opendir(folder.c_str());
        if (!dir)
            return;
        std::vector<std::string> folders;
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "/" + name;
            struct stat st;
            if (::stat(path.c_str(), &st) != 0)
                continue;
            if (S_ISREG(st.st_mode) && ::strcasecmp(name.c_str(), fileName_.c_str()) == 0)
                add(path);
            // Wine's own folders hold no game; dosdevices only leads back and out (z: is /).
            else if (S_ISDIR(st.st_mode) && name != "dosdevices" && name != "windows" &&
                     (!isLink(path) || insideHome(path)))
                folders.push_back(path);
        }
        ::closedir(dir);
        std::sort(folders.begin(), folders.end());
        for (const std::string& f : folders)
            walk(f, depth + 1);
    }

    bool insideHome(const std::string& link) const {
        const std::string target = realPath(link);
        return target.size() > home_.size() && target.compare(0, home_.size(), home_) == 0 &&
               target[home_.size()] == '/';
    }

    std::vector<FoundProgram> found;

private:
    static bool isLink(const std::string& path) {
        struct stat st;
        return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
    }

    void add(const std::string& path) {
        const std::string real = realPath(path);
        for (const FoundProgram& f : found)
            if (f.program == real)
                return;
        std::string prefix = winePrefixOf(real);
        if (!prefix.empty())
            found.push_back({real, std::move(prefix)});
    }

    std::string home_;
    std::string fileName_;
    std::chrono::steady_clock::time_point until_;
};

} // namespace

std::vector<std::string> winePrefixRoots(std::string_view home) {
    std::vector<std::string> roots;
    const std::string base = realPath(std::string(home));
    for (const char* root :
         {"/Games", "/.local/share/bottles/bottles", "/.local/share/Steam/steamapps/compatdata",
          "/.steam/steam/steamapps/compatdata", "/.wine"})
        if (folderExists(base + root))
            roots.push_back(base + root);
    return roots;
}

std::vector<FoundProgram> findInWinePrefixes(std::string_view home, std::string_view fileName,
                                             std::chrono::milliseconds budget) {
    PrefixSearch search(realPath(std::string(home)), fileName, budget);
    for (const std::string& root : winePrefixRoots(home))
        if (search.insideHome(root))
            search.walk(root, 0);
    return std::move(search.found);
}

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
