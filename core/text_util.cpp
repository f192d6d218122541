#include "core/text_util.h"

#include <charconv>

namespace kv {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

} // namespace

std::string trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = platform::lowerAscii(c);
    return out;
}

bool endsWithNoCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && equalsNoCase(text.substr(text.size() - tail.size()), tail);
}

std::optional<int> toInt16(std::string_view text) {
    const std::string t = trimmed(text);
    std::string_view digits = t;
    if (!digits.empty() && digits.front() == '+')
        digits.remove_prefix(1);
    if (digits.empty())
        return std::nullopt;
    long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return int(value);
}

} // namespace kv
