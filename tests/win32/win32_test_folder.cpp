#include "tests/win32/win32_test_folder.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace kv::test {

Win32TestFolder::Win32TestFolder() {
    static unsigned counter = 0;
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("kvtest-" + std::to_string(::GetCurrentProcessId()) +
                                           "-" + std::to_string(++counter));
        if (fs::create_directory(candidate)) {
            path_ = candidate.string() + "\\";
            return;
        }
    }
    throw std::runtime_error("no temporary folder");
}

Win32TestFolder::~Win32TestFolder() {
    std::error_code ec;
    // Read-only entries must not keep the folder alive.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        ::SetFileAttributesA(it->path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(path_, ec);
}

std::string Win32TestFolder::write(std::string_view relative, std::string_view contents) const {
    const fs::path file = fs::path(path_) / fs::path(std::string(relative)).make_preferred();
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << contents;
    return file.string();
}

std::string Win32TestFolder::read(std::string_view relative) const {
    std::ifstream in(fs::path(path_) / fs::path(std::string(relative)).make_preferred(),
                     std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string testProgramFolder() {
    char path[MAX_PATH];
    const std::string file(path, ::GetModuleFileNameA(nullptr, path, MAX_PATH));
    return file.substr(0, file.find_last_of('\\') + 1);
}

} // namespace kv::test
