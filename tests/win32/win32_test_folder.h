#pragma once
// A fresh folder under the Windows temporary folder for the Win32 platform tests, removed
// with everything in it when the object goes. path() ends with '\'.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace kv::test {

class Win32TestFolder {
public:
    Win32TestFolder() {
        static unsigned counter = 0;
        const std::string name =
            "kvtest-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
        path_ = (std::filesystem::temp_directory_path() / name).string() + "\\";
        std::filesystem::create_directories(path_);
    }
    ~Win32TestFolder() {
        std::error_code ec;
        // Read-only entries must not keep the folder alive.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
            ::SetFileAttributesA(it->path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(path_, ec);
    }
    Win32TestFolder(const Win32TestFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(std::string_view relative) const { return path_ + std::string(relative); }
    std::string write(std::string_view relative, std::string_view contents) const {
        const std::filesystem::path file = local(relative);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << contents;
        return file.string();
    }
    std::string read(std::string_view relative) const {
        std::ostringstream out;
        out << std::ifstream(local(relative), std::ios::binary).rdbuf();
        return out.str();
    }

private:
    std::filesystem::path local(std::string_view relative) const {
        return std::filesystem::path(path_ + std::string(relative)).make_preferred();
    }
    std::string path_;
};

} // namespace kv::test
