#pragma once
// A fresh folder under the Windows temporary folder for the Win32 platform tests, removed
// with everything in it when the object goes. path() ends with '\'.
#include <string>
#include <string_view>

namespace kv::test {

class Win32TestFolder {
public:
    Win32TestFolder();
    ~Win32TestFolder();
    Win32TestFolder(const Win32TestFolder&) = delete;
    Win32TestFolder& operator=(const Win32TestFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(std::string_view relative) const { return path_ + std::string(relative); }
    // Writes a file (creating its folders) and returns its path.
    std::string write(std::string_view relative, std::string_view contents) const;
    // The file's bytes; "<missing>" when it cannot be read.
    std::string read(std::string_view relative) const;

private:
    std::string path_;
};

// The folder of the running test program, ending with '\'.
std::string testProgramFolder();

} // namespace kv::test
