#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace kv::test {

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "kvtest-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern + "/";
}

TempFolder::~TempFolder() {
    std::error_code ec;
    // Read-only entries must not keep the folder alive.
    for (auto it = fs::recursive_directory_iterator(path_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string TempFolder::operator/(std::string_view relative) const {
    std::string out = path_;
    for (char c : relative)
        out += c == '\\' ? '/' : c;
    return out;
}

std::string TempFolder::write(std::string_view relative, std::string_view contents) const {
    const std::string file = *this / relative;
    fs::create_directories(fs::path(file).parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(contents.data(), std::streamsize(contents.size()));
    return file;
}

std::string TempFolder::read(std::string_view relative) const {
    std::ifstream in(*this / relative, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace kv::test

namespace {

// A test never reads or writes the user's own per-user configuration (window places,
// dialog folders, the registry store): each test process gets a private folder. Tests
// that need a particular one still set XDG_CONFIG_HOME themselves.
const kv::test::TempFolder& privateConfigFolder() {
    static const kv::test::TempFolder folder;
    return folder;
}
[[maybe_unused]] const bool configIsPrivate =
    ::setenv("XDG_CONFIG_HOME", privateConfigFolder().path().c_str(), 1) == 0;

} // namespace
