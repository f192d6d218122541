#include "automation/kdg_description.h"

#include "automation/command_file.h"
#include "content/content_names.h"
#include "content/line_syntax.h"
#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"

#include <array>

namespace kv::automation {

namespace {

// "Description" lines are appended; the default only shows while there is none.
void applyKey(const content::KeyValue& kv, KdgRecord& r, bool& described) {
    r.keys.emplace_back(kv.key, kv.value);
    if (content::equalsNoCase(kv.key, "AuthorName")) {
        r.authorName = kv.value;
    } else if (content::equalsNoCase(kv.key, "AuthorEmail")) {
        r.authorEmail = kv.value;
    } else if (content::equalsNoCase(kv.key, "AuthorHomepage")) {
        r.authorHomepage = kv.value;
    } else if (content::equalsNoCase(kv.key, "Description")) {
        if (!described)
            r.description.clear();
        described = true;
        r.description += kv.value;
    }
}

// What a description's commands act on: the launcher's own state, or the copies a
// foreseen start runs them against.
struct Target {
    content::ContentState& content;
    AutomationState& automation;
    Ui& ui;
    bool launchersOwn;
};

// Registers an AI without reading its description or fields.
void registerAi(Target& t, const std::string& nameIn, const std::string& folderIn) {
    const std::string name = content::trimBlanks(nameIn);
    const std::string folder = folderIn.size() >= 4 ? withTrailingSeparator(folderIn) : folderIn;
    if (!content::isPlainContentName(name)) {
        t.ui.message(content::refusedNameMessage(name, "'" + folder + "'"), Icon::Exclamation);
        return;
    }
    if (folderIn.size() >= 4 && platform::fileExists(folder + name + ".kvai")) {
        content::AiRecord record;
        record.name = name;
        record.directory = folder;
        t.content.ais.records.push_back(std::move(record));
        return;
    }
    t.ui.message("'" + name + "' was not found in directory:\r\n\r\n" + folderIn,
                 Icon::Exclamation);
}

// A ticked MOD's description that empties the player lists does so on every install; the
// user is told once which file did it and what it changed.
void tellChangedChoices(Target& t, const std::string& file, const std::string& kdgName,
                        const std::string& call, const std::array<std::string, kPlayers>& before) {
    std::string changes;
    for (int i = 0; i < kPlayers; ++i) {
        const std::string now = t.content.choices.choice(i);
        if (now != before[size_t(i)])
            changes +=
                "\r\nPlayer" + std::to_string(i) + ": '" + before[size_t(i)] + "' -> '" + now + "'";
    }
    if (changes.empty() || !t.automation.choiceChangesTold.insert(file).second)
        return;
    t.ui.message("The active MOD '" + kdgName + "' changed your AI choices with " + call +
                     " in its description file:\r\n" + file + changes,
                 Icon::Information);
}

void setBasesState(Ui& ui, const std::string& line, const content::FunctionCall& call, int found,
                   KdgRecord& r) {
    if (found != 1) {
        ui.message(wrongArgumentCount(line, found, 1));
        return;
    }
    const std::string& arg = call.arguments.front();
    const auto n = content::numericValue(arg);
    if (!n)
        return;
    const long long state = content::roundHalfEven(*n);
    if (state < 1 || state > 3) {
        ui.message("INI Error: Value for SetBasesState() must be in the range of 1-3, found: " +
                       content::trimBlanksTabs(arg) + ".",
                   Icon::Exclamation);
        return;
    }
    r.baseStateRequired = int(state);
}

void applyCall(const AutomationEnv& env, Target& t, const content::FolderVars& vars,
               const std::string& line, KdgRecord& r) {
    Ui& ui = t.ui;
    const std::string name = content::functionName(line);
    if (name.empty()) {
        ui.message("Couldn't parse function name from :\r\n" + line + "\r\nFunction ignored.",
                   Icon::Exclamation);
        return;
    }
    if (name == "EnableAlliances") {
        r.alliancesRequired = true; // its arguments are not looked at
        return;
    }
    const bool known = name == "SetBasesState" || name == "FreezeAIUpdating" ||
                       name == "DeactiveAllAIs" || name == "LoadAI_FromPath";
    if (!known)
        return;
    const content::FunctionCall call = content::parseArguments(line, vars);
    const int found = content::reportArgumentErrors(call, ui);
    if (found < 0)
        return;
    if (name == "SetBasesState") {
        setBasesState(ui, line, call, found, r);
        return;
    }
    const int expected = name == "LoadAI_FromPath" ? 2 : 0;
    if (found != expected) {
        ui.message(wrongArgumentCount(line, found, expected));
        return;
    }
    if (name == "LoadAI_FromPath") {
        registerAi(t, call.arguments[0], call.arguments[1]);
    } else if (name == "FreezeAIUpdating") {
        t.automation.aiFrozen = true;
    } else {
        std::array<std::string, kPlayers> before;
        for (int i = 0; i < kPlayers; ++i)
            before[size_t(i)] = t.content.choices.choice(i);
        deactivateAllAis(t.content);
        if (t.launchersOwn)
            env.host.choicesChanged();
        tellChangedChoices(t, env.contentEnv.paths.kdgIniFolder + r.kdgName + ".ini", r.kdgName,
                           name + "()", before);
    }
}

} // namespace

KdgRecord readKdgDescription(const AutomationEnv& env, std::string_view kdgName,
                             std::string_view text, const KdgReading& how) {
    KdgRecord r;
    r.kdgName = std::string(kdgName);
    bool described = false;
    Target target{how.content ? *how.content : env.content,
                  how.automation ? *how.automation : env.automation, how.ui ? *how.ui : env.ui(),
                  !how.content};
    const content::FolderVars vars =
        content::FolderVars::from(env.contentEnv.paths, env.contentEnv.gameFolder);
    for (const std::string& raw : platform::splitLines(text)) {
        const std::string line = content::cleanLine(raw);
        if (line.empty())
            continue;
        if (content::isKeyLine(line)) {
            content::KeyValue kv;
            if (content::keyAndValue(line, vars, kv))
                applyKey(kv, r, described);
        } else if (content::isFunctionCall(line)) {
            applyCall(env, target, vars, line, r);
        }
    }
    return r;
}

std::vector<KdgRecord> readSelectedKdgDescriptions(const AutomationEnv& env,
                                                   const KdgReading& how) {
    std::vector<KdgRecord> out;
    // Commands in the files may change the list's neighbours, never the list itself.
    std::vector<std::string> names;
    for (const auto& entry : (how.content ? *how.content : env.content).mods.entries)
        if (entry.checked)
            names.push_back(entry.name);
    for (const std::string& name : names) {
        std::string bytes;
        if (platform::readFile(env.contentEnv.paths.kdgIniFolder + name + ".ini", bytes))
            out.push_back(readKdgDescription(env, name, bytes, how));
    }
    return out;
}

} // namespace kv::automation
