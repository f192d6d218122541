#pragma once
// Hashes and IDs as text: upper-case hexadecimal without leading zeros (0x0E778391 is
// "E778391"); table keys are the same digits in lower case.
#include <cstdint>
#include <string>

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

// The key a table row must carry for this value: the same digits in lower case.
inline std::string lowerHex(std::uint32_t value) {
    std::string text = upperHex(value);
    for (char& c : text)
        if (c >= 'A' && c <= 'F')
            c = char(c - 'A' + 'a');
    return text;
}

} // namespace kv::kdg
