#include "content/script_customizing.h"

#include "common/ui_port.h"
#include "content/content_state.h"
#include "content/line_syntax.h"
#include "content/script_apply.h"
#include "content/script_parser.h"
#include "platform/files.h"

namespace kv::content {

namespace {

bool fileHasMarks(const std::string& path) {
    std::string text;
    return !path.empty() && platform::readFile(path, text) && hasFieldMarks(text);
}

std::string firstMatching(const std::string& folder, const char* pattern) {
    for (const auto& e : platform::listDirectory(folder, pattern))
        if (!e.isFolder)
            return folder + e.name;
    return {};
}

template <typename Record>
bool loadCustomizing(Record& record, const std::string& path, bool marked, NamedTexts& named,
                     const ContentEnv& env) {
    record.hasScriptCustomizing = marked;
    record.customizing = ScriptCustomizing{record.name, path, {}};
    if (!marked)
        return true;
    return parseScriptCustomizing(record.customizing, named,
                                  FolderVars::from(env.paths, env.gameFolder), env.ui);
}

void processSlot(const std::string& path, const ScriptCustomizing& data, const std::string& failure,
                 Ui& ui) {
    const ProcessResult r = processScriptFile(path, data.fields, ui);
    if (r == ProcessResult::Empty || r == ProcessResult::WriteFailed)
        ui.message(failure, Icon::Exclamation);
}

} // namespace

bool hasScriptCustomizing(const std::string& path, const std::string& secondPath) {
    return fileHasMarks(path) || fileHasMarks(secondPath);
}

bool parseScriptCustomizing(ScriptCustomizing& data, NamedTexts& named, const FolderVars& vars,
                            Ui& ui) {
    std::string text;
    if (!platform::readFile(data.path, text)) {
        ui.message("Error reading file.", Icon::Exclamation);
        return false;
    }
    data.fields.clear();
    parseAnnotatedText(text, data, named, vars, ui);
    return true;
}

bool loadAiCustomizing(AiRecord& record, NamedTexts& named, const ContentEnv& env) {
    const std::string path = record.directory + record.name + ".kvai";
    return loadCustomizing(record, path, hasScriptCustomizing(path), named, env);
}

bool loadRulesCustomizing(RulesRecord& record, NamedTexts& named, const ContentEnv& env) {
    const std::string slo = firstMatching(record.directory, "*.slo");
    const std::string vlo = firstMatching(record.directory, "*.vlo");
    return loadCustomizing(record, slo, hasScriptCustomizing(slo, vlo), named, env);
}

bool anyScriptCustomizing(const ContentState& state) {
    for (const AiRecord& r : state.ais.records)
        if (r.hasScriptCustomizing)
            return true;
    for (const RulesRecord& r : state.rules.records)
        if (r.hasScriptCustomizing)
            return true;
    return false;
}

ProcessResult processScriptFile(const std::string& path, const std::vector<ScriptField>& fields,
                                Ui& ui) {
    std::string text;
    if (!platform::readFile(path, text)) {
        ui.message("Error reading script file: \r\n" + path, Icon::Exclamation);
        return ProcessResult::ReadFailed;
    }
    AppliedScript applied = applyFields(fields, text, ui);
    if (!applied.ok)
        return ProcessResult::Empty;
    applied.text += "\r\n";
    (void)platform::clearAttributes(path);
    if (!platform::writeFileAtomic(platform::resolvePath(path), applied.text))
        return ProcessResult::WriteFailed;
    return ProcessResult::Written;
}

void buildProcessedScripts(ContentState& state, const ContentEnv& env) {
    const std::string skirmish = skirmishFolder(env);
    for (int i = 0; i < kPlayerCount; ++i) {
        const std::string choice = state.choices.choice(i);
        const AiRecord* ai = state.ais.find(choice);
        const ScriptSlot& slot = state.scripts.players[size_t(i)];
        if (!ai || !ai->hasScriptCustomizing || !slot.enabled)
            continue;
        processSlot(skirmish + "player" + std::to_string(i) + ".slo", slot.data,
                    "Failed to build processed script for AI: '" + choice +
                        "', index: " + std::to_string(i) + ".",
                    env.ui);
    }
    const std::string rules = state.choices.rulesChoice();
    const RulesRecord* record = state.rules.find(rules);
    if (record && record->hasScriptCustomizing && state.scripts.rules.enabled)
        processSlot(skirmish + "rules.slo", state.scripts.rules.data,
                    "Failed to build processed script for rules: '" + rules + "', index: 8.",
                    env.ui);
}

} // namespace kv::content
