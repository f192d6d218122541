#include "mapview/lnd_text.h"

#include <cmath>
#include <limits>

namespace kv::mapview {

std::vector<std::string_view> splitLndLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string_view lndToken(std::string_view line, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        const std::size_t blank = line.find(' ', start);
        if (blank == std::string_view::npos)
            return {};
        start = blank + 1;
    }
    const std::size_t end = line.find(' ', start);
    return line.substr(start, end == std::string_view::npos ? line.size() - start : end - start);
}

void lndTokens(std::string_view line, std::string_view* out, int count) {
    // A plain scan: tokens are a few characters long, so a library search per token
    // costs more than it saves (tile lines are most of a map file).
    const char* p = line.data();
    const char* const end = p + line.size();
    int i = 0;
    for (const char* start = p; i < count; ++p) {
        if (p == end || *p == ' ') {
            out[i++] = std::string_view(start, std::size_t(p - start));
            if (p == end)
                break;
            start = p + 1;
        }
    }
    for (; i < count; ++i)
        out[i] = {};
}

double parseLndNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    double value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        value = value * 10 + (text[i++] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    return negative ? -value : value;
}

int clampToInt(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(value);
}

int parseLndInt(std::string_view text) {
    return clampToInt(parseLndNumber(text));
}

} // namespace kv::mapview
