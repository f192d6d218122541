#pragma once
// Hashes and IDs as text: upper-case hexadecimal without leading zeros (0x0E778391 is
// "E778391"); table keys are the same digits in lower case.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::kdg {

inline std::string upperHex(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char buffer[8];
    int n = 0;
    do {
        buffer[7 - n++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    return std::string(buffer + 8 - n, std::size_t(n));
}

// A table key back to its value. Letter case and leading zeros are forgiven, as the
// tables are edited by hand; anything else is not a key.
inline std::optional<std::uint32_t> parseHexKey(std::string_view text) {
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        value = value << 4 | std::uint32_t(digit);
    }
    return value;
}

} // namespace kv::kdg
