#include "update/config_parser.h"

#include "content/text_util.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <optional>

namespace kv::update {

namespace {

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

// "[" then a later "]" that is not the last character, then ":" somewhere after it.
std::optional<std::string> headerName(std::string_view cleaned) {
    const size_t open = cleaned.find('[');
    if (open == std::string_view::npos)
        return std::nullopt;
    const size_t close = cleaned.find(']', open + 1);
    if (close == std::string_view::npos || close + 1 >= cleaned.size())
        return std::nullopt;
    if (cleaned.find(':', close + 1) == std::string_view::npos)
        return std::nullopt;
    return std::string(cleaned.substr(open + 1, close - open - 1));
}

std::optional<float> versionValue(std::string_view text) {
    // "." and "," both work as the decimal separator, whatever the locale.
    std::string t(text);
    std::replace(t.begin(), t.end(), ',', '.');
    const auto v = content::numericValue(t);
    if (!v)
        return std::nullopt;
    return float(*v);
}

void setNumber(double& field, std::string_view text) {
    if (const auto v = content::numericValue(text))
        field = *v;
}

void setVersion(float& field, std::string_view text) {
    if (const auto v = versionValue(text))
        field = *v;
}

void setFlag(bool& field, std::string_view text) {
    const std::string t = content::toLower(content::trimBlanksTabs(text));
    if (t == "true" || t == "yes" || t == "on")
        field = true;
    else if (t == "false" || t == "no" || t == "off")
        field = false;
    else if (const auto v = content::numericValue(t))
        field = *v != 0;
}

// The leading whole number of a text, 0 when there is none.
long wholeNumber(std::string_view text) {
    const std::string t = content::trimBlanksTabs(text);
    long v = 0;
    const char* begin = t.data() + (t.starts_with('+') ? 1 : 0);
    std::from_chars(begin, t.data() + t.size(), v);
    return v;
}

template <typename T> T& append(std::vector<T>& list, T& scratch) {
    if (list.size() >= kMaxRecords) {
        scratch = T{};
        return scratch;
    }
    return list.emplace_back();
}

class Parser {
public:
    Parser(const std::vector<std::string>& lines, const content::FolderVars& vars)
        : lines_(lines), vars_(vars) {}

    ParseResult run() {
        for (size_t i = 0; i < lines_.size(); ++i) {
            const std::string line = content::cleanLine(lines_[i]);
            if (line == "}")
                break;
            const auto name = headerName(line);
            if (!name)
                continue;
            const std::string h = upper(line);
            if (h == "[MAIN]:")
                i = mainSection(i + 1);
            else if (h == "[AI]:")
                i = aiSection(i + 1);
            else if (h == "[RULES]:")
                i = rulesSection(i + 1);
            else if (h == "[KVS]:")
                i = launcherSection(i + 1);
            else if (h == "[MISC]:")
                i = miscSection(i + 1);
            else
                report("Unknown section: ", *name);
        }
        return std::move(result_);
    }

private:
    using KeyHandler = std::function<void(const content::KeyValue&)>;
    // Gets the upper-cased header line, its name and its index; returns the index of the
    // last line it consumed.
    using HeaderHandler =
        std::function<size_t(const std::string& header, const std::string& name, size_t at)>;

    // Reads from `from` up to the section's own "}" and returns that line's index (or the
    // end of the file).
    size_t section(size_t from, const KeyHandler& onKey, const HeaderHandler& onHeader) {
        for (size_t i = from; i < lines_.size(); ++i) {
            const std::string line = content::cleanLine(lines_[i]);
            if (line == "}")
                return i;
            if (const auto name = headerName(line)) {
                i = onHeader(upper(line), *name, i);
                continue;
            }
            content::KeyValue kv;
            if (onKey && content::keyAndValue(line, vars_, kv))
                onKey(kv);
        }
        return lines_.size();
    }

    HeaderHandler unknown(const char* message) {
        return [this, message](const std::string&, const std::string& name, size_t at) {
            report(message, name);
            return at;
        };
    }

    static size_t ignoreHeader(const std::string&, const std::string&, size_t at) { return at; }

    void report(const char* message, const std::string& name) {
        result_.messages.push_back(message + name);
    }

    UpdateState& state() { return result_.state; }

    size_t mainSection(size_t from) {
        return section(
            from,
            [this](const content::KeyValue& kv) {
                if (kv.key == "AutoUpdateActive")
                    state().active = wholeNumber(kv.value) > 0;
                else if (kv.key == "HostServer")
                    state().hostServer = kv.value;
            },
            [this](const std::string& h, const std::string& name, size_t at) {
                if (h == "[MESSAGES]:")
                    return messagesSection(at + 1);
                report("Unknown Main section: ", name);
                return at;
            });
    }

    size_t messagesSection(size_t from) {
        return section(from, nullptr,
                       [this](const std::string&, const std::string& name, size_t at) {
                           MessageRecord scratch;
                           MessageRecord& m = append(state().messages, scratch);
                           m.name = name;
                           return section(
                               at + 1,
                               [&m](const content::KeyValue& kv) {
                                   if (kv.key == "Author")
                                       m.author = kv.value;
                                   else if (kv.key == "Text")
                                       m.text = kv.value;
                                   else if (kv.key == "URL")
                                       m.url = kv.value;
                               },
                               ignoreHeader);
                       });
    }

    size_t launcherSection(size_t from) {
        LauncherRecord& l = state().launcher;
        return section(
            from,
            [&l](const content::KeyValue& kv) {
                if (kv.key == "Version")
                    setVersion(l.version, kv.value);
                else if (kv.key == "Description")
                    l.description += kv.value;
                else if (kv.key == "Size")
                    setNumber(l.size, kv.value);
                else if (kv.key == "URL")
                    l.url = kv.value;
                else if (kv.key == "SHA256")
                    l.sha256 = kv.value;
            },
            [this](const std::string& h, const std::string& name, size_t at) {
                if (h == "[RENAMER]:")
                    return renamerSection(at + 1);
                report("Unknown Main section: ", name);
                return at;
            });
    }

    size_t renamerSection(size_t from) {
        LauncherRecord& r = state().renamer;
        return section(
            from,
            [&r](const content::KeyValue& kv) {
                if (kv.key == "Description")
                    r.description += kv.value;
                else if (kv.key == "Version")
                    setVersion(r.version, kv.value);
                else if (kv.key == "Size")
                    setNumber(r.size, kv.value);
                else if (kv.key == "SloURL")
                    r.url = kv.value;
                else if (kv.key == "SHA256")
                    r.sha256 = kv.value;
            },
            ignoreHeader);
    }

    size_t iniEntry(size_t from, IniRecord& ini, bool withSize) {
        return section(
            from,
            [&ini, withSize](const content::KeyValue& kv) {
                if (kv.key == "Version")
                    setVersion(ini.version, kv.value);
                else if (kv.key == "URL")
                    ini.url = kv.value;
                else if (kv.key == "Size" && withSize)
                    setNumber(ini.size, kv.value);
                else if (kv.key == "SHA256")
                    ini.sha256 = kv.value;
            },
            ignoreHeader);
    }

    size_t kdgEntry(size_t from, KdgRecord& k, bool ofAi) {
        return section(
            from,
            [&k](const content::KeyValue& kv) {
                if (kv.key == "Version") {
                    if (const auto v = versionValue(kv.value))
                        k.version = formatVersion(*v);
                } else if (kv.key == "Size") {
                    setNumber(k.size, kv.value);
                } else if (kv.key == "URL") {
                    k.url = kv.value;
                    k.name = urlFileName(kv.value);
                } else if (kv.key == "SHA256") {
                    k.sha256 = kv.value;
                }
            },
            [this, &k, ofAi](const std::string& h, const std::string& name, size_t at) {
                if (h == "[INI]:")
                    return iniEntry(at + 1, k.ini, ofAi);
                report(ofAi ? "Unknown AI KDG Script section: " : "Unknown Rules KDG section: ",
                       name);
                return at;
            });
    }

    // The "[INI]:" and "[KDG]:" sub-sections shared by AI and rules records.
    template <typename Record>
    size_t recordHeader(Record& r, bool ofAi, const char* unknownMessage, const std::string& h,
                        const std::string& name, size_t at) {
        if (h == "[INI]:") {
            const size_t end = iniEntry(at + 1, r.ini, ofAi);
            r.hasIni = !r.ini.url.empty();
            return end;
        }
        if (h == "[KDG]:") {
            KdgRecord scratch;
            KdgRecord& k = append(r.kdgs, scratch);
            r.hasKdg = true;
            return kdgEntry(at + 1, k, ofAi);
        }
        report(unknownMessage, name);
        return at;
    }

    size_t aiSection(size_t from) {
        return section(
            from, nullptr, [this](const std::string& h, const std::string& name, size_t at) {
                if (h != "[SCRIPT]:") {
                    report("Unknown AI section: ", name);
                    return at;
                }
                AiRecord scratch;
                AiRecord& a = append(state().ais, scratch);
                return section(
                    at + 1,
                    [&a](const content::KeyValue& kv) {
                        if (kv.key == "Title")
                            a.title = kv.value;
                        else if (kv.key == "Author")
                            a.author = kv.value;
                        else if (kv.key == "Description")
                            a.description += kv.value;
                        else if (kv.key == "Version")
                            setVersion(a.version, kv.value);
                        else if (kv.key == "URL")
                            a.url = kv.value;
                        else if (kv.key == "Size")
                            setNumber(a.size, kv.value);
                        else if (kv.key == "SHA256")
                            a.sha256 = kv.value;
                    },
                    [this, &a](const std::string& hh, const std::string& n, size_t i) {
                        return recordHeader(a, true, "Unknown AI Script section: ", hh, n, i);
                    });
            });
    }

    size_t rulesSection(size_t from) {
        return section(
            from, nullptr, [this](const std::string& h, const std::string& name, size_t at) {
                if (h != "[SCRIPT]:") {
                    report("Unknown Rules section: ", name);
                    return at;
                }
                RulesRecord scratch;
                RulesRecord& r = append(state().rules, scratch);
                return section(
                    at + 1,
                    [&r](const content::KeyValue& kv) {
                        if (kv.key == "Title")
                            r.title = kv.value;
                        else if (kv.key == "Author")
                            r.author = kv.value;
                        else if (kv.key == "Description")
                            r.description += kv.value;
                        else if (kv.key == "Version")
                            setVersion(r.version, kv.value);
                        else if (kv.key == "SloSize")
                            setNumber(r.sloSize, kv.value);
                        else if (kv.key == "VloSize")
                            setNumber(r.vloSize, kv.value);
                        else if (kv.key == "SloURL")
                            r.sloUrl = kv.value;
                        else if (kv.key == "VloURL")
                            r.vloUrl = kv.value;
                        else if (kv.key == "SloSHA256")
                            r.sloSha256 = kv.value;
                        else if (kv.key == "VloSHA256")
                            r.vloSha256 = kv.value;
                    },
                    [this, &r](const std::string& hh, const std::string& n, size_t i) {
                        return recordHeader(r, false, "Unknown Rules Script section: ", hh, n, i);
                    });
            });
    }

    size_t miscSection(size_t from) {
        return section(from, nullptr,
                       [this](const std::string&, const std::string& name, size_t at) {
                           MiscRecord scratch;
                           MiscRecord& m = append(state().misc, scratch);
                           m.name = name;
                           return section(
                               at + 1,
                               [&m](const content::KeyValue& kv) {
                                   if (kv.key == "Size")
                                       setNumber(m.size, kv.value);
                                   else if (kv.key == "LocalPath")
                                       m.localPath = kv.value;
                                   else if (kv.key == "URL")
                                       m.url = kv.value;
                                   else if (kv.key == "Description")
                                       m.description += kv.value;
                                   else if (kv.key == "Version")
                                       setVersion(m.version, kv.value);
                                   else if (kv.key == "AutoDownload")
                                       setFlag(m.autoDownload, kv.value);
                                   else if (kv.key == "Author")
                                       m.author = kv.value;
                                   else if (kv.key == "AutoExecute")
                                       setFlag(m.autoExecute, kv.value);
                                   else if (kv.key == "SHA256")
                                       m.sha256 = kv.value;
                               },
                               ignoreHeader);
                       });
    }

    const std::vector<std::string>& lines_;
    const content::FolderVars& vars_;
    ParseResult result_;
};

} // namespace

ParseResult parseUpdateConfig(const std::vector<std::string>& lines,
                              const content::FolderVars& vars) {
    return Parser(lines, vars).run();
}

} // namespace kv::update
