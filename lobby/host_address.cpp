#include "lobby/host_address.h"

namespace kv::lobby {

namespace {

bool isHostNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.';
}

} // namespace

bool isHostAddress(std::string_view text) {
    if (text.empty() || text.size() > kMaxHostNameLength)
        return false;
    for (char c : text)
        if (!isHostNameCharacter(c))
            return false;
    // Every label: one character at least, none starting with '-'. A dotted IPv4 address
    // passes the same rule.
    size_t start = 0;
    while (true) {
        const size_t end = text.find('.', start);
        const std::string_view label = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (label.empty() || label.front() == '-')
            return false;
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

} // namespace kv::lobby
