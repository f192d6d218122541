#include "content/description_file.h"

#include "content/content_names.h"
#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kv::content {

namespace {

void applyKey(const KeyValue& kv, DescriptionKind kind, Ui& ui, Description& out) {
    const bool ai = kind == DescriptionKind::Ai;
    if (equalsNoCase(kv.key, "AuthorName")) {
        out.authorName = kv.value;
    } else if (equalsNoCase(kv.key, "AuthorEmail")) {
        out.authorEmail = kv.value;
    } else if (equalsNoCase(kv.key, "AuthorHomepage")) {
        out.authorHomepage = kv.value;
    } else if (equalsNoCase(kv.key, "Description")) {
        if (!ai)
            out.description += "\r\n";
        out.description += kv.value;
    } else if (equalsNoCase(kv.key, "SetRequiredKDG")) {
        out.requiredKdgs.push_back(kv.value);
    } else if (ai && equalsNoCase(kv.key, "SetMaxAIInstances")) {
        if (auto n = numericValue(kv.value); n && *n >= -32768 && *n <= 32767)
            out.maxInstances = int(roundHalfEven(*n));
    } else if (ai &&
               (equalsNoCase(kv.key, "SetBasesState") || equalsNoCase(kv.key, "EnableDebugMode"))) {
        // Accepted for older AI files; they mean nothing here.
    } else {
        ui.message("Unknown command found: '" + kv.key + "'.");
    }
}

void applyCall(const std::string& line, std::string_view owner, const FolderVars& vars, Ui& ui,
               Description& out) {
    const std::string name = functionName(line);
    if (name.empty()) {
        ui.message("Couldn't parse function name from :\r\n" + line + "\r\nFunction ignored.",
                   Icon::Exclamation);
        return;
    }
    if (name == "EnableAlliances") {
        out.alliancesRequired = true;
    } else if (name == "SetBasesState") {
        const FunctionCall call = parseArguments(line, vars);
        const int count = reportArgumentErrors(call, ui);
        if (count != 1) {
            ui.message("Wrong number of arguments in function:\r\n" + line +
                       "\r\n\r\nFound arguments: " + std::to_string(count) + "\r\nExpected: 1");
            return;
        }
        const std::string& arg = call.arguments.front();
        const auto n = numericValue(arg);
        if (!n)
            return; // not a number: ignored without a word
        const long long state = roundHalfEven(*n);
        if (state < 1 || state > 3) {
            ui.message("INI Error: Value for SetBasesState() must be in the range of 1-3, found: " +
                           trimBlanksTabs(arg) + ".",
                       Icon::Exclamation);
            return;
        }
        out.baseStateRequired = int(state);
    } else {
        ui.message("Unknown command found in '" + std::string(owner) + ".ini' file:\r\n\r\n" +
                   name + "()");
    }
}

} // namespace

void readDescriptionFile(const std::string& path, std::string_view ownerName, DescriptionKind kind,
                         const FolderVars& vars, Ui& ui, Description& out) {
    out = Description{};
    std::string bytes;
    if (path.empty() || !platform::readFile(path, bytes))
        return;
    out.loaded = true;
    out.file = path;
    out.fileSize = double(bytes.size());
    for (const std::string& raw : platform::splitLines(bytes)) {
        const std::string line = cleanLine(raw);
        if (line.empty())
            continue;
        if (isKeyLine(line)) {
            KeyValue kv;
            if (keyAndValue(line, vars, kv))
                applyKey(kv, kind, ui, out);
        } else if (isFunctionCall(line)) {
            applyCall(line, ownerName, vars, ui, out);
        }
    }
}

std::string aiDescriptionPath(const Paths& paths, const AiRecord& ai) {
    const std::string inIniFolder = pathInFolder(paths.aiIniFolder, ai.name + ".ini");
    if (inIniFolder.empty())
        return {};
    if (platform::fileExists(inIniFolder))
        return platform::resolvePath(inIniFolder);
    if (!equalsNoCase(platform::resolvePath(ai.directory), platform::resolvePath(paths.aiFolder))) {
        const std::string beside = pathInFolder(ai.directory, ai.name + ".ini");
        if (platform::fileExists(beside))
            return platform::resolvePath(beside);
    }
    return {};
}

std::string rulesDescriptionPath(const Paths& paths, const RulesRecord& rules) {
    const std::string inIniFolder = pathInFolder(paths.rulesIniFolder, rules.name + ".ini");
    if (inIniFolder.empty())
        return {};
    if (platform::fileExists(inIniFolder))
        return platform::resolvePath(inIniFolder);
    const std::string own = withTrailingSeparator(paths.rulesFolder + rules.name);
    if (!equalsNoCase(platform::resolvePath(rules.directory), platform::resolvePath(own))) {
        for (const auto& e : platform::listDirectory(rules.directory, "*.ini"))
            if (!e.isFolder)
                return platform::resolvePath(withTrailingSeparator(rules.directory) + e.name);
    }
    return {};
}

} // namespace kv::content
