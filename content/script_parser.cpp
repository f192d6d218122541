#include "content/script_parser.h"

#include "common/ui_port.h"
#include "content/line_syntax.h"
#include "content/text_util.h"

#include <cmath>

namespace kv::content {

namespace {

// The inner texts between a start mark and the next end mark, in file order, with the
// 0-based offsets of the inner text and of the first character after the end mark.
struct Mark {
    std::string_view inner;
    size_t innerStart;
    size_t after;
};

template <typename F> void forEachMark(std::string_view text, std::string_view start, F&& f) {
    size_t from = 0;
    while (from < text.size()) {
        const size_t s = text.find(start, from);
        if (s == std::string_view::npos)
            return;
        const size_t innerStart = s + start.size();
        const size_t e = text.find(kFieldEnd, innerStart);
        if (e == std::string_view::npos)
            return; // an unclosed mark holds nothing
        f(Mark{text.substr(innerStart, e - innerStart), innerStart, e + 2});
        from = e + 2;
    }
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t from = 0;
    for (;;) {
        const size_t p = text.find(separator, from);
        parts.push_back(text.substr(from, p == std::string_view::npos ? p : p - from));
        if (p == std::string_view::npos)
            return parts;
        from = p + 1;
    }
}

std::string withoutOuterQuotes(std::string_view value) {
    const size_t first = value.find_first_not_of('"');
    if (first == std::string_view::npos)
        return {};
    return std::string(value.substr(first, value.find_last_not_of('"') - first + 1));
}

void addTemplateValues(ScriptField& field) {
    const auto add = [&field](const char* text, const char* description) {
        if (field.values.size() < kMaxValues)
            field.values.push_back({text, description});
    };
    if (equalsNoCase(field.templateName, "bool")) {
        add("FALSE", "False");
        add("TRUE", "True");
    } else if (equalsNoCase(field.templateName, "yesno")) {
        add("FALSE", "No");
        add("TRUE", "Yes");
    }
}

std::optional<int> parameterIndex(std::string_view value) {
    const std::optional<double> n = numericValue(value);
    if (!n || !std::isfinite(*n) || *n < -32768.5 || *n > 32767.5)
        return std::nullopt;
    const long long k = roundHalfEven(*n);
    if (k < -32768 || k > 32767)
        return std::nullopt;
    return int(k);
}

// One field mark's items; false (after the message) when an item is no key=value pair.
bool parseField(const std::string& cleaned, ScriptField& field, Ui& ui) {
    for (std::string_view item : split(cleaned, ',')) {
        const std::vector<std::string_view> parts = split(item, '=');
        if (parts.size() != 2) {
            ui.message("Invalid format in script value processing, argument: '" +
                           std::string(item) + "'.\r\n\r\nWhole field: '" + cleaned + "'.",
                       Icon::Exclamation);
            return false;
        }
        const std::string_view key = parts[0];
        std::string value = withoutOuterQuotes(parts[1]);
        if (equalsNoCase(key, kKeyId)) {
            field.id = std::move(value);
        } else if (equalsNoCase(key, kKeyMainDesc)) {
            field.mainDescription = std::move(value);
        } else if (equalsNoCase(key, kKeyMoreInfo)) {
            field.moreInfo = std::move(value);
        } else if (equalsNoCase(key, kKeyType)) {
            field.type = std::move(value);
        } else if (equalsNoCase(key, kKeyTemplate)) {
            field.templateName = std::move(value);
            if (!field.templateName.empty())
                addTemplateValues(field);
        } else if (equalsNoCase(key, kKeyParameterIndex)) {
            if (const auto k = parameterIndex(value))
                field.parameterIndex = *k;
            else
                ui.message("Expected a numeric value for parameter ID, found: '" + value + "'.",
                           Icon::Exclamation);
        } else if (equalsNoCase(key, kKeyVal)) {
            if (field.values.size() < kMaxValues)
                field.values.push_back({std::move(value), {}});
        } else if (equalsNoCase(key, kKeyArgDesc)) {
            if (!field.values.empty())
                field.values.back().description = std::move(value);
        }
    }
    return true;
}

void resolveMoreInfo(ScriptField& field, const NamedTexts& named, const std::string& script,
                     Ui& ui) {
    const std::string reference = trimBlanks(field.moreInfo);
    if (reference.size() < 2 || reference.front() != '<' || reference.back() != '>')
        return;
    const size_t first = reference.find_first_not_of('<');
    const size_t last = reference.find_last_not_of('>');
    const std::string name = first == std::string::npos || last < first
                                 ? std::string()
                                 : reference.substr(first, last - first + 1);
    if (const auto it = named.find(name); it != named.end())
        field.moreInfo = it->second;
    else
        ui.message("Couldn't find text for script customizing 'MoreInfo' variable: '" + reference +
                       "', script: '" + script + "'.",
                   Icon::Exclamation);
}

} // namespace

const ScriptValue* ScriptField::selectedValue() const {
    if (selected < 0 || size_t(selected) >= values.size())
        return nullptr;
    return &values[size_t(selected)];
}

std::string cleanAnnotation(std::string_view inner) {
    std::string text(inner);
    size_t from = 0;
    for (;;) {
        const size_t slashes = text.find("//", from);
        if (slashes == std::string::npos)
            break;
        const size_t lineEnd = text.find("\r\n", slashes + 2);
        if (lineEnd == std::string::npos)
            break; // a comment on the last line stays
        text.erase(slashes, lineEnd + 2 - slashes);
        from = slashes;
    }
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\t')
            continue;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        out += text[i];
    }
    return trimBlanks(out);
}

bool hasFieldMarks(std::string_view text) {
    return text.find(kFieldStart) != std::string_view::npos;
}

void parseAnnotatedText(std::string_view text, ScriptCustomizing& data, NamedTexts& named,
                        const FolderVars& vars, Ui& ui) {
    forEachMark(text, kNamedTextStart, [&](const Mark& m) {
        KeyValue kv;
        if (keyAndValue(cleanAnnotation(m.inner), vars, kv))
            named[kv.key] = kv.value;
    });
    forEachMark(text, kFieldStart, [&](const Mark& m) {
        if (data.fields.size() >= kMaxFields)
            return;
        ScriptField field;
        field.annotationStart = std::int64_t(m.innerStart) + 1;
        field.annotationEnd = std::int64_t(m.after) + 1;
        if (parseField(cleanAnnotation(m.inner), field, ui))
            data.fields.push_back(std::move(field));
    });
    for (ScriptField& field : data.fields)
        resolveMoreInfo(field, named, data.name, ui);
}

} // namespace kv::content
