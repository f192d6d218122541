#include "content/text_util.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace kv::content {

std::string toLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = lowerAscii(c);
    return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool endsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           equalsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

size_t findNoCase(std::string_view text, std::string_view needle, size_t from) {
    if (needle.empty())
        return from <= text.size() ? from : std::string_view::npos;
    if (needle.size() > text.size())
        return std::string_view::npos;
    for (size_t i = from; i + needle.size() <= text.size(); ++i)
        if (lowerAscii(text[i]) == lowerAscii(needle[0]) &&
            equalsNoCase(text.substr(i, needle.size()), needle))
            return i;
    return std::string_view::npos;
}

namespace {

std::string trimSet(std::string_view text, std::string_view set) {
    const size_t first = text.find_first_not_of(set);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(set);
    return std::string(text.substr(first, last - first + 1));
}

} // namespace

std::string trimBlanks(std::string_view text) {
    return trimSet(text, " ");
}
std::string trimBlanksTabs(std::string_view text) {
    return trimSet(text, " \t");
}

std::string withoutExtension(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

std::string fileNameOf(std::string_view path) {
    const size_t sep = path.find_last_of("\\/");
    return std::string(sep == std::string_view::npos ? path : path.substr(sep + 1));
}

std::optional<double> numericValue(std::string_view text) {
    const std::string t = trimBlanksTabs(text);
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    bool digits = false, point = false;
    for (; i < t.size(); ++i) {
        if (t[i] >= '0' && t[i] <= '9')
            digits = true;
        else if (t[i] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits || t.size() > 40)
        return std::nullopt;
    return std::strtod(t.c_str(), nullptr);
}

long long roundHalfEven(double value) {
    // Beyond the range of the result the nearest end stands in, so that a huge index is
    // out of every range rather than a small one.
    if (std::isnan(value))
        return 0;
    if (value >= 9.0e18)
        return std::numeric_limits<long long>::max();
    if (value <= -9.0e18)
        return std::numeric_limits<long long>::min();
    const double down = std::floor(value);
    const double diff = value - down;
    long long r = static_cast<long long>(down);
    if (diff > 0.5 || (diff == 0.5 && (r % 2 != 0)))
        ++r;
    return r;
}

} // namespace kv::content
