#include "automation/command_file.h"

#include "automation/selection.h"
#include "content/catalogue_scan.h"
#include "content/content_names.h"
#include "content/line_syntax.h"
#include "content/mod_activation.h"
#include "content/text_util.h"
#include "platform/files.h"
#include "platform/text.h"

#include <functional>
#include <map>

namespace kv::automation {

namespace {

using content::FunctionCall;

struct Call {
    const AutomationEnv& env;
    const std::string& line;
    const FunctionCall& args;
    const std::string& arg(size_t i) const { return args.arguments[i]; }
};

struct Command {
    int arguments;
    std::function<void(const Call&)> run;
};

void unloadRules(const AutomationEnv& env) {
    content::PlayerChoices& c = env.content.choices;
    c.rememberedRules = c.rulesChoice();
    c.rules.items.assign(1, content::kDontChange);
    c.rules.selected = 0;
    env.content.rules.records.clear();
    env.host.choicesChanged();
}

std::string requestOf(const std::string& name) {
    return name.empty() ? std::string(kRequestDontChange) : name;
}

// A requested name is later looked up and saved under; one that is no plain name is
// refused here, where the file says it.
bool plainRequest(const Call& c, const std::string& name, const char* command) {
    if (name.empty() || content::isPlainContentName(name))
        return true;
    c.env.ui().message(content::refusedNameMessage(name, command), Icon::Exclamation);
    return false;
}

void selectAiCommand(const Call& c) {
    long long index = 0;
    const std::string& text = c.arg(0);
    if (!parseIndex(text, index)) {
        c.env.ui().message(
            "SelectAI() Error: AI Index to select must be a numeric value, found: '" + text + "'.",
            Icon::Exclamation);
        return;
    }
    if (index < -1 || index > 7) {
        c.env.ui().message(
            "SelectAI() Error: AI Index to select must be in the range of -1 to 7, found: '" +
                text + "'.",
            Icon::Exclamation);
        return;
    }
    if (!plainRequest(c, c.arg(1), "SelectAI()"))
        return;
    auto& requested = c.env.automation.requestedAi;
    if (index == -1)
        requested.fill(requestOf(c.arg(1)));
    else
        requested[size_t(index)] = requestOf(c.arg(1));
}

void lockAiCommand(const Call& c) {
    long long index = 0;
    if (!parseIndex(c.arg(0), index)) {
        c.env.ui().message("LockAISelection() Error: AI Index to lock must be a numeric value, "
                           "found: '" +
                               c.arg(0) + "'.",
                           Icon::Exclamation);
        return;
    }
    // Far-out numbers still reach the range message rather than wrapping into range.
    lockAi(c.env, int(std::clamp(index, -100000LL, 100000LL)), true);
}

const std::map<std::string, Command, std::less<>>& commands() {
    static const std::map<std::string, Command, std::less<>> table = {
        {"DisableAllMods",
         {0,
          [](const Call& c) {
              const content::ContentEnv env = c.env.contentEnv;
              content::DisableAllMODs(c.env.content, env);
              content::refreshModList(c.env.content, env);
          }}},
        {"FreezeAIUpdating", {0, [](const Call& c) { c.env.automation.aiFrozen = true; }}},
        {"DeactiveAllAIs",
         {0,
          [](const Call& c) {
              deactivateAllAis(c.env.content);
              c.env.host.choicesChanged();
          }}},
        {"SetBackgroundPath",
         {1,
          [](const Call& c) {
              c.env.ui().message("SetBackgroundPath() is currently disabled, due to slow loading "
                                 "of the program.",
                                 Icon::Exclamation);
          }}},
        {"LoadAI_FromPath",
         {2,
          [](const Call& c) {
              content::InstallAIs(c.env.content, c.env.contentEnv, c.arg(0), c.arg(1));
          }}},
        {"SelectAI", {2, selectAiCommand}},
        {"LockAISelection", {1, lockAiCommand}},
        {"ReleaseAIs",
         {0,
          [](const Call& c) {
              lockAi(c.env, -1, false);
              c.env.automation.aiFrozen = false;
          }}},
        {"FreezeRulesUpdating", {0, [](const Call& c) { c.env.automation.rulesFrozen = true; }}},
        {"UnloadRules", {0, [](const Call& c) { unloadRules(c.env); }}},
        {"LoadRules_FromPath",
         {2,
          [](const Call& c) {
              const std::string folder =
                  withTrailingSeparator(c.arg(1)) + content::trimBlanks(c.arg(0));
              content::InstallRules(c.env.content, c.env.contentEnv, c.arg(0), folder);
          }}},
        {"SelectRules",
         {1,
          [](const Call& c) {
              if (plainRequest(c, c.arg(0), "SelectRules()"))
                  c.env.automation.requestedRules = requestOf(c.arg(0));
          }}},
        {"LockRulesSelection", {0, [](const Call& c) { lockRules(c.env, true); }}},
        {"ReleaseRules",
         {0,
          [](const Call& c) {
              lockRules(c.env, false);
              c.env.automation.rulesFrozen = false;
          }}},
    };
    return table;
}

void runLine(const AutomationEnv& env, const content::FolderVars& vars, std::string_view raw) {
    const std::string line = content::cleanLine(raw);
    if (line.empty() || content::isKeyLine(line) || !content::isFunctionCall(line))
        return;
    const std::string name = content::functionName(line);
    if (name.empty()) {
        env.ui().message("Couldn't parse function name from :\r\n" + line + "\r\nFunction ignored.",
                         Icon::Exclamation);
        return;
    }
    const auto it = commands().find(name);
    if (it == commands().end())
        return; // unknown names are left for other readers of the same file
    const FunctionCall args = content::parseArguments(line, vars);
    const int found = content::reportArgumentErrors(args, env.ui());
    if (found < 0)
        return;
    if (found != it->second.arguments) {
        env.ui().message(wrongArgumentCount(line, found, it->second.arguments));
        return;
    }
    // The arguments are taken by position among all pieces, as the count only says how
    // many of them were well quoted.
    it->second.run(Call{env, line, args});
}

} // namespace

void deactivateAllAis(content::ContentState& content) {
    content::PlayerChoices& c = content.choices;
    for (int i = 0; i < kPlayers; ++i) {
        c.remembered[size_t(i)] = c.choice(i);
        c.players[size_t(i)].items.assign(1, content::kDontChange);
        c.players[size_t(i)].selected = 0;
    }
    content.ais.records.clear();
}

std::string wrongArgumentCount(const std::string& line, int found, int expected) {
    return "Wrong number of arguments in function:\r\n" + line +
           "\r\n\r\nFound arguments: " + std::to_string(found) +
           "\r\nExpected: " + std::to_string(expected);
}

bool parseIndex(const std::string& text, long long& out) {
    const auto n = content::numericValue(text);
    if (!n)
        return false;
    out = content::roundHalfEven(*n);
    return true;
}

void runCommandText(const AutomationEnv& env, std::string_view text) {
    const content::FolderVars vars =
        content::FolderVars::from(env.contentEnv.paths, env.contentEnv.gameFolder);
    for (const std::string& raw : platform::splitLines(text))
        runLine(env, vars, raw);
}

bool runCommandFile(const AutomationEnv& env, const std::string& path) {
    if (path.empty())
        return true;
    std::string bytes;
    if (!platform::readFile(path, bytes))
        return false;
    runCommandFile(env, path, bytes);
    return true;
}

void runCommandFile(const AutomationEnv& env, const std::string& path, std::string_view bytes) {
    const std::string name = content::fileNameOf(path);
    runCommandText(env, bytes);
    AutomationState& a = env.automation;
    if (!content::equalsNoCase(content::withoutExtension(name), "starter")) {
        a.labelVisible = true;
        a.label = name;
    } else {
        a.labelVisible = false;
        a.label.clear();
    }
    env.host.refresh();
}

} // namespace kv::automation
