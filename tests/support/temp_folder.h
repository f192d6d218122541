#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it when
// the object goes. path() ends with a separator.
#include <string>
#include <string_view>

namespace kv::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // path() + relative, with '\' turned into '/'.
    std::string operator/(std::string_view relative) const;

    // Writes a file (creating its folders) and returns its path.
    std::string write(std::string_view relative, std::string_view contents) const;
    std::string read(std::string_view relative) const;

private:
    std::string path_;
};

} // namespace kv::test
