// Deletions go to the desktop trash: no test may fill the trash of the user running it.
// Every test process gets its own XDG_DATA_HOME (where the freedesktop trash lives),
// inherited by the tools it starts, and removed with the process.
#include <cstdlib>
#include <filesystem>
#include "tests/support/trash_home.h"

#include <string>

namespace {

struct TrashHome {
    std::string path;
    TrashHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kvtest-data-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return;
        path = pattern;
        ::setenv("XDG_DATA_HOME", path.c_str(), 1);
    }
    ~TrashHome() {
        std::error_code ec;
        if (!path.empty())
            std::filesystem::remove_all(path, ec);
    }
};

const TrashHome trashHome;

} // namespace

extern "C" const char* kvTestTrashHome() {
    return trashHome.path.c_str();
}

namespace kv::test {

std::string trashed(std::string_view name) {
    return trashHome.path + "/Trash/files/" + std::string(name);
}

} // namespace kv::test
