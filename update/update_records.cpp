#include "update/update_records.h"

#include <charconv>

namespace kv::update {

std::string urlFileName(std::string_view url) {
    const size_t end = url.find_first_of("?#");
    if (end != std::string_view::npos)
        url = url.substr(0, end);
    const size_t slash = url.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? url : url.substr(slash + 1);
    // "http://host" has no file name, only a host.
    if (slash != std::string_view::npos && slash >= 1 && url.substr(0, slash + 1).ends_with("//"))
        return {};
    return std::string(name);
}

std::string formatVersion(float version) {
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, version);
    return std::string(buffer, r.ptr);
}

} // namespace kv::update
