// kvstool config list|check: the global configurations of a launcher folder with their
// descriptions, and a dry run of one configuration's commands that changes no file.
#include "launcher/automation_wiring.h"
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"

#include "automation/command_file.h"
#include "launcher/global_config.h"
#include "launcher/launcher.h"
#include "platform/files.h"
#include "platform/registry.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cstdio>

namespace kv::tool {

namespace {

const char kUsage[] =
    "usage: kvstool config list LAUNCHER_FOLDER [--json]\n"
    "       kvstool config check LAUNCHER_FOLDER NAME.ini [--json]\n"
    "  list   the configurations in \"Mods/Global INIs\" with their descriptions\n"
    "  check  runs the configuration's commands against the launcher's library without\n"
    "         applying or installing anything; prints what they loaded, requested, froze\n"
    "         and locked. The file's messages go to standard error.\n";

const Area kArea("config", kUsage);

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

int runList(Launcher& l, bool json) {
    const auto entries = kv::GlobalConfigurations_Load(l);
    if (json) {
        QJsonArray out;
        for (const auto& e : entries)
            out.append(QJsonObject{{"name", q(e.name)}, {"description", q(e.description)}});
        printJson(out);
        return 0;
    }
    // One line per configuration: line breaks of a description become blanks.
    for (const auto& e : entries) {
        std::string description;
        for (char c : e.description)
            if (c != '\r')
                description += c == '\n' ? ' ' : c;
        std::printf("%s\t%s\n", e.name.c_str(), description.c_str());
    }
    return 0;
}

int runCheck(Launcher& l, const std::string& name, bool json) {
    std::string bytes;
    if (!platform::readFile(l.paths.globalIniFolder + name, bytes))
        return kArea.failure("cannot read " + l.paths.globalIniFolder + name);
    // No game folder: "DisableAllMods()" has nothing to rename.
    automation::runCommandText(automationEnv(l), bytes);
    const automation::AutomationState& a = l.automation;
    QJsonArray ais, rules, requested, locked;
    for (const auto& r : l.content.ais.records)
        ais.append(q(r.name));
    for (const auto& r : l.content.rules.records)
        rules.append(q(r.name));
    for (int i = 0; i < automation::kPlayers; ++i) {
        requested.append(q(a.requestedAi[size_t(i)]));
        locked.append(a.aiLocked[size_t(i)]);
    }
    const QJsonObject out{{"ais", ais},
                          {"rules", rules},
                          {"aiFrozen", a.aiFrozen},
                          {"rulesFrozen", a.rulesFrozen},
                          {"requestedAi", requested},
                          {"requestedRules", q(a.requestedRules)},
                          {"aiLocked", locked},
                          {"rulesLocked", a.rulesLocked}};
    if (json) {
        printJson(out);
        return 0;
    }
    const auto joined = [](const QJsonArray& list) {
        QStringList texts;
        for (const auto& v : list)
            texts << (v.isBool() ? QString(v.toBool() ? "locked" : "-") : v.toString());
        return texts.join(QStringLiteral(", ")).toStdString();
    };
    std::printf("loaded AIs: %s\n", joined(ais).c_str());
    std::printf("loaded rules: %s\n", joined(rules).c_str());
    std::printf("AI list frozen: %s\n", a.aiFrozen ? "yes" : "no");
    std::printf("rules list frozen: %s\n", a.rulesFrozen ? "yes" : "no");
    std::printf("requested AIs: %s\n", joined(requested).c_str());
    std::printf("requested rules: %s\n", a.requestedRules.c_str());
    std::printf("AI locks: %s\n", joined(locked).c_str());
    std::printf("rules locked: %s\n", a.rulesLocked ? "yes" : "no");
    return 0;
}

} // namespace

int runConfigCommand(const std::vector<std::string>& args) {
    if (kArea.helpAsked(args))
        return 0;
    if (args.empty())
        return kArea.usage("needs list or check");
    std::vector<std::string> positional;
    bool json = false;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--json")
            json = true;
        else if (args[i].rfind("--", 0) == 0)
            return kArea.usage("unknown option " + args[i]);
        else
            positional.push_back(args[i]);
    }
    const std::string& verb = args[0];
    if (verb != "list" && verb != "check")
        return kArea.usage("unknown subcommand " + verb);
    if (positional.size() != (verb == "list" ? 1u : 2u))
        return kArea.usage(verb == "list" ? "list needs LAUNCHER_FOLDER"
                                          : "check needs LAUNCHER_FOLDER and NAME.ini");
    if (!platform::folderExists(positional[0]))
        return kArea.failure("no such folder: " + positional[0]);
    // Every launcher folder has "Mods"; without it the answer would be an empty list.
    if (!platform::folderExists(positional[0] + "/Mods"))
        return kArea.failure(positional[0] +
                             " is not a launcher folder: it has no \"Mods\" folder");
    ConsoleUi ui;
    // The library is only read; the registry is never asked.
    auto registry = platform::makeRegistryBackend(positional[0] + "/.kvstool-unused.reg");
    Launcher launcher(positional[0], ui, *registry, nullptr);
    return verb == "list" ? runList(launcher, json) : runCheck(launcher, positional[1], json);
}

} // namespace kv::tool
