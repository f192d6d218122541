// kvstool plan: what the launcher's start button would do now, read from a launcher
// folder without changing a file: removals, script writes, archives copied or switched
// on, the messages on the way, the game's registry values and its command line.
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"

#include "launcher/automation_wiring.h"
#include "launcher/content_wiring.h"
#include "launcher/launch_plan.h"
#include "launcher/launcher.h"
#include "launcher/settings_file.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <cstdio>

namespace kv::tool {

namespace {

const char kUsage[] =
    "usage: kvstool plan LAUNCHER_FOLDER [--json]\n"
    "  The steps the start button would carry out now, with the launcher's settings,\n"
    "  library and selected game folder: files deleted, written, copied and renamed in\n"
    "  the game folder (with sizes), the messages shown, the game's registry values and\n"
    "  its command line. Nothing is changed. Files a running launcher installed for its\n"
    "  last game are not known here; \"<Random>\" is drawn for this plan only.\n";

const Area kArea("plan", kUsage);

QString display(const std::string& bytes) {
    return QString::fromStdString(platform::toDisplayText(bytes));
}

// The reading half of the launcher's start-up: lists, library and settings, and nothing
// it would write (folders, archives, scripts, registry values).
bool loadLauncher(Launcher& l) {
    kv::loadOriginalKdgs(l);
    if (l.endRequested)
        return false;
    kv::resetPlayerAiBookkeeping(l);
    kv::fillCatalogues(l);
    l.options.resolution = 0;
    l.options.softwareRenderType = 0;
    l.firstRun = !platform::fileExists(l.settingsFilePath());
    PrepGetDefaultValues(l);
    kv::reapplyChoices(l, true);
    kv::refillKdgList(l);
    return true;
}

QJsonObject stepJson(const content::PlanStep& s) {
    QJsonObject o{{"kind", QString::fromLatin1(content::stepKindName(s.kind))},
                  {"text", display(describeStep(s))}};
    const auto put = [&o](const char* key, const std::string& value) {
        if (!value.empty())
            o.insert(QLatin1String(key), display(value));
    };
    put("target", s.target);
    put("source", s.source);
    put("note", s.note);
    switch (s.kind) {
    case content::StepKind::Write:
        o.insert("unchanged", s.unchanged);
        [[fallthrough]];
    case content::StepKind::Delete:
    case content::StepKind::Copy:
    case content::StepKind::Rename:
        o.insert("size", qint64(s.size));
        break;
    case content::StepKind::Registry:
        o.insert("name", display(s.valueName));
        o.insert("type", QString::fromLatin1(s.dword ? "REG_DWORD" : "REG_SZ"));
        if (s.dword)
            o.insert("value", qint64(s.number));
        else
            o.insert("value", display(s.bytes));
        break;
    case content::StepKind::CommandLine:
        o.insert("commandLine", display(s.bytes));
        break;
    case content::StepKind::Requirements:
        if (s.alliances >= 0)
            o.insert("alliances", s.alliances == 1);
        if (s.baseState > 0)
            o.insert("baseState", s.baseState);
        break;
    default:
        break;
    }
    if (!s.messages.empty()) {
        QJsonArray messages;
        for (const content::PlannedMessage& m : s.messages)
            messages.append(display(m.text));
        o.insert("messages", messages);
    }
    return o;
}

} // namespace

int runPlanCommand(const std::vector<std::string>& args) {
    if (kArea.helpAsked(args))
        return 0;
    std::vector<std::string> positional;
    bool json = false;
    for (const std::string& a : args) {
        if (a == "--json")
            json = true;
        else if (a.size() > 1 && a[0] == '-')
            return kArea.usage("unknown option " + a);
        else
            positional.push_back(a);
    }
    if (positional.size() != 1)
        return kArea.usage("needs LAUNCHER_FOLDER");
    const std::string folder = positional[0];
    if (!platform::folderExists(folder))
        return kArea.failure("no such folder: " + folder);
    if (!platform::fileExists(joinPath(folder, "Settings/starter.ini")))
        return kArea.failure("no settings file: " + joinPath(folder, "Settings/starter.ini"));

    ConsoleUi ui;
    // Registry values are only planned here, never written.
    auto registry = platform::makeRegistryBackend(joinPath(folder, ".kvstool-unused.reg"));
    Launcher launcher(folder, ui, *registry, nullptr);
    wireAutomation(launcher);
    if (!loadLauncher(launcher))
        return kArea.failure("the launcher folder cannot be used");
    if (launcher.installations.currentGameFolder().empty())
        return kArea.failure("no game folder is chosen in the settings");

    const content::StartPlan plan = makeStartPlan(launcher);
    if (json) {
        QJsonArray steps;
        for (const content::PlanStep& s : plan.steps)
            if (isShownStep(s))
                steps.append(stepJson(s));
        printJson(QJsonObject{{"gameFolder", display(launcher.installations.currentGameFolder())},
                              {"randomDrawn", plan.randomDrawn},
                              {"startsGame", !plan.stops()},
                              {"steps", steps}});
        return 0;
    }
    std::string text;
    for (const content::PlanStep& s : plan.steps)
        if (isShownStep(s))
            text += describeStep(s) + "\n";
    if (plan.randomDrawn)
        text += "note: \"<Random>\" was drawn for this plan; every start draws again.\n";
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

} // namespace kv::tool
