#include "content/line_syntax.h"

#include "common/paths.h"
#include "common/ui_port.h"
#include "content/text_util.h"

#include <array>
#include <utility>

namespace kv::content {

FolderVars FolderVars::from(const Paths& paths, std::string_view gameFolder) {
    FolderVars v;
    v.game = gameFolder.empty() ? std::string() : withTrailingSeparator(gameFolder);
    v.launcher = paths.launcherFolder;
    v.ai = paths.aiFolder;
    v.rules = paths.rulesFolder;
    v.requiredKdgs = paths.requiredKdgFolder;
    v.kdgIni = paths.kdgIniFolder;
    v.aiIni = paths.aiIniFolder;
    v.rulesIni = paths.rulesIniFolder;
    v.globalIni = paths.globalIniFolder;
    v.settings = paths.settingsFolder;
    v.settingsScripts = paths.scriptsFolder;
    return v;
}

std::string cleanLine(std::string_view line) {
    std::string text = trimBlanks(line);
    const size_t p = text.find("//");
    if (p != std::string::npos) {
        // A "//" inside the quoted value of a key line (a URL, say) is no comment.
        const size_t eq = text.find('=');
        const size_t q1 = text.find('"');
        bool insideValue = false;
        if (eq < p && q1 < p) {
            const size_t q2 = text.find('"', q1 + 1);
            insideValue = q2 != std::string::npos && q2 > p;
        }
        if (!insideValue)
            text.resize(p);
    }
    return trimBlanks(trimBlanksTabs(text));
}

bool isKeyLine(std::string_view cleaned) {
    const size_t eq = cleaned.find('=');
    const size_t q1 = cleaned.find('"');
    if (eq == std::string_view::npos || q1 == std::string_view::npos || eq > q1)
        return false;
    if (q1 + 1 >= cleaned.size())
        return false;
    return cleaned.find('"', q1 + 1) != std::string_view::npos;
}

bool keyAndValue(std::string_view keyLine, const FolderVars& vars, KeyValue& out) {
    if (!isKeyLine(keyLine))
        return false;
    const size_t eq = keyLine.find('=');
    const size_t q1 = keyLine.find('"');
    const size_t q2 = keyLine.find('"', q1 + 1);
    std::string key = trimBlanksTabs(keyLine.substr(0, eq));
    std::string_view value = keyLine.substr(q1 + 1, q2 - q1 - 1);
    if (key.empty() || value.empty())
        return false;
    out.key = std::move(key);
    out.value = expandValue(value, vars);
    return true;
}

std::string expandValue(std::string_view text, const FolderVars& vars) {
    const std::array<std::pair<std::string_view, const std::string*>, 11> table{{
        {"%KVPath%", &vars.game},
        {"%KVSPath%", &vars.launcher},
        {"%KVSAIPath%", &vars.ai},
        {"%KVSRulesPath%", &vars.rules},
        {"%KVSRequiredKDGsPath%", &vars.requiredKdgs},
        {"%KVSKDGIniPath%", &vars.kdgIni},
        {"%KVSAIIniPath%", &vars.aiIni},
        {"%KVSRulesIniPath%", &vars.rulesIni},
        {"%KVSGlobalINIPath%", &vars.globalIni},
        {"%KVSSettingsPath%", &vars.settings},
        {"%KVSSettingsScripts%", &vars.settingsScripts},
    }};
    // One pass, so a folder that happens to hold "\n" is never expanded again.
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\\' && i + 1 < text.size() && lowerAscii(text[i + 1]) == 'n') {
            out += "\r\n";
            i += 2;
            continue;
        }
        if (text[i] == '%') {
            bool replaced = false;
            for (const auto& [name, folder] : table) {
                if (startsWithNoCase(text.substr(i), name)) {
                    out += *folder;
                    i += name.size();
                    replaced = true;
                    break;
                }
            }
            if (replaced)
                continue;
        }
        out += text[i++];
    }
    return out;
}

bool isFunctionCall(std::string_view cleaned) {
    if (cleaned.size() < 3 || isKeyLine(cleaned))
        return false;
    // The "(" must open before the first ")": "a)b(c)" is no call.
    const size_t open = cleaned.find('(', 1);
    const size_t close = cleaned.find(')');
    return open != std::string_view::npos && close != std::string_view::npos && open < close;
}

std::string functionName(std::string_view line) {
    const size_t open = line.size() > 1 ? line.find('(', 1) : std::string_view::npos;
    return cleanLine(line.substr(0, open == std::string_view::npos ? line.size() : open));
}

FunctionCall parseArguments(std::string_view line, const FolderVars& vars) {
    FunctionCall call;
    const size_t open = line.size() > 1 ? line.find('(', 1) : std::string_view::npos;
    if (open == std::string_view::npos)
        return call;
    const size_t close = line.find(')', open);
    if (close == std::string_view::npos)
        return call;
    call.validCount = 0;
    const std::string inner = cleanLine(line.substr(open + 1, close - open - 1));
    if (inner.empty())
        return call;
    size_t start = 0;
    for (;;) {
        const size_t comma = inner.find(',', start);
        const std::string piece = cleanLine(std::string_view(inner).substr(
            start, comma == std::string::npos ? std::string::npos : comma - start));
        if (piece.size() > 1 && piece.front() == '"' && piece.back() == '"') {
            const size_t first = piece.find_first_not_of('"');
            std::string unquoted;
            if (first != std::string::npos)
                unquoted = piece.substr(first, piece.find_last_not_of('"') - first + 1);
            call.arguments.push_back(expandValue(unquoted, vars));
            ++call.validCount;
        } else {
            call.arguments.push_back(piece);
            call.errors.push_back("Wrong argument format in function: \r\n" + std::string(line) +
                                  "\r\n\r\nArgument: " + piece + "\r\nArgument Index: " +
                                  std::to_string(call.validCount) + "\r\n");
        }
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return call;
}

int reportArgumentErrors(const FunctionCall& call, Ui& ui) {
    for (const auto& text : call.errors)
        ui.message(text, Icon::Exclamation, Buttons::Ok, kArgumentErrorTitle);
    return call.validCount;
}

} // namespace kv::content
