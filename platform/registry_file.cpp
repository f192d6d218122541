#include "platform/registry_file.h"

#include "platform/text.h"

#include <cstdio>

namespace kv::platform {

namespace {

// Reads a quoted text starting at s[0] == '"'; `rest` gets what follows the closing quote.
std::optional<std::string> readQuoted(std::string_view s, std::string_view& rest) {
    std::string out;
    size_t i = 1;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '"') {
            rest = s.substr(i + 1);
            return out;
        }
        if (c == '\\' && i + 1 < s.size()) {
            const char n = s[i + 1];
            if (n == '\\' || n == '"')
                out += n;
            else if (n == 'n')
                out += '\n';
            else if (n == 'r')
                out += '\r';
            else
                out.append(s.substr(i, 2));
            i += 2;
            continue;
        }
        out += c;
        ++i;
    }
    return std::nullopt;
}

bool isHeader(std::string_view line) {
    // A UTF-8 byte order mark may precede the header.
    if (line.substr(0, 3) == "\xEF\xBB\xBF")
        line.remove_prefix(3);
    line = trimBlanksTabs(line);
    return line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00";
}

} // namespace

RegFileKey* RegFile::findKey(std::string_view path) {
    for (auto& key : keys)
        if (equalsNoCase(key.path, path))
            return &key;
    return nullptr;
}

RegFileKey& RegFile::addKey(std::string_view path) {
    if (RegFileKey* existing = findKey(path))
        return *existing;
    keys.push_back({std::string(path), {}});
    return keys.back();
}

void RegFile::setValue(RegFileKey& key, std::string_view name, std::string data) {
    for (auto& value : key.values) {
        if (equalsNoCase(value.name, name)) {
            value.data = std::move(data); // the name keeps its first spelling
            return;
        }
    }
    key.values.push_back({std::string(name), std::move(data)});
}

const RegFileValue* RegFile::findValue(const RegFileKey& key, std::string_view name) {
    for (const auto& value : key.values)
        if (equalsNoCase(value.name, name))
            return &value;
    return nullptr;
}

std::optional<RegFile> parseRegFile(std::string_view text) {
    const std::vector<std::string> lines = splitLines(text);
    RegFile file;
    size_t i = 0;
    while (i < lines.size() && trimBlanksTabs(lines[i]).empty())
        ++i;
    if (i == lines.size())
        return file;
    if (!isHeader(lines[i]))
        return std::nullopt;
    ++i;

    RegFileKey* current = nullptr;
    for (; i < lines.size(); ++i) {
        std::string line(trimBlanksTabs(lines[i]));
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            current = nullptr;
            if (line.size() >= 3 && line.back() == ']' && line[1] != '-')
                current = &file.addKey(line.substr(1, line.size() - 2));
            continue;
        }
        if (!current)
            continue;
        std::string_view rest;
        std::string name;
        if (line.front() == '@') {
            rest = std::string_view(line).substr(1);
        } else if (line.front() == '"') {
            auto quoted = readQuoted(line, rest);
            if (!quoted)
                continue;
            name = std::move(*quoted);
        } else {
            continue;
        }
        rest = trimBlanksTabs(rest);
        if (rest.empty() || rest.front() != '=')
            continue;
        std::string data(trimBlanksTabs(rest.substr(1)));
        // Long binary values go on over several lines, each but the last ending in '\'.
        if (data.size() >= 3 && equalsNoCase(data.substr(0, 3), "hex")) {
            while (!data.empty() && data.back() == '\\' && i + 1 < lines.size()) {
                data.pop_back();
                data += trimBlanksTabs(lines[++i]);
            }
            while (!data.empty() && data.back() == '\\')
                data.pop_back(); // a continuation the file ended in
            // Blanks before a continuation mark would otherwise end up inside the value.
            data = std::string(trimBlanksTabs(data));
        }
        if (data.empty() || data == "-")
            continue;
        file.setValue(*current, name, std::move(data));
    }
    return file;
}

std::string formatRegFile(const RegFile& file) {
    std::vector<std::string> lines{"REGEDIT4", ""};
    for (const auto& key : file.keys) {
        lines.push_back("[" + key.path + "]");
        for (const auto& value : key.values)
            lines.push_back((value.name.empty() ? std::string("@") : encodeRegString(value.name)) +
                            "=" + value.data);
        lines.emplace_back();
    }
    return joinLinesCrLf(lines);
}

std::string encodeRegString(std::string_view value) {
    std::string out = "\"";
    for (char c : value) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string encodeRegDword(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "dword:%08x", unsigned(value));
    return buffer;
}

std::optional<RegistryValue> decodeRegData(std::string_view data) {
    data = trimBlanksTabs(data);
    if (!data.empty() && data.front() == '"') {
        std::string_view rest;
        auto text = readQuoted(data, rest);
        if (!text || !trimBlanksTabs(rest).empty())
            return std::nullopt;
        return RegistryValue(std::move(*text));
    }
    constexpr std::string_view prefix = "dword:";
    if (data.size() <= prefix.size() || data.size() > prefix.size() + 8 ||
        !equalsNoCase(data.substr(0, prefix.size()), prefix))
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : data.substr(prefix.size())) {
        const char l = lowerAscii(c);
        int digit;
        if (l >= '0' && l <= '9')
            digit = l - '0';
        else if (l >= 'a' && l <= 'f')
            digit = l - 'a' + 10;
        else
            return std::nullopt;
        value = (value << 4) | std::uint32_t(digit);
    }
    return RegistryValue(value);
}

} // namespace kv::platform
