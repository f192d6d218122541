#include "launcher/launch_plan.h"

#include "core/registry_access.h"
#include "launcher/content_wiring.h"
#include "launcher/game_start.h"
#include "launcher/launch_buttons.h"
#include "launcher/launcher.h"
#include "platform/shell.h"

namespace kv {

namespace {

content::PlanStep registryStep(std::string name) {
    content::PlanStep s;
    s.kind = content::StepKind::Registry;
    s.target = kGameRegistryKey;
    s.valueName = std::move(name);
    return s;
}

content::PlanStep dwordStep(std::string name, std::uint32_t value) {
    content::PlanStep s = registryStep(std::move(name));
    s.dword = true;
    s.number = value;
    s.size = sizeof value;
    return s;
}

// The options after the requirements step: alliances switched on, a base state set.
void foresee(OptionSet& options, const content::PlanStep& requirements) {
    const auto choose = [&options](OptionButton b, int entry) {
        ToolbarOption& button = options.button(b);
        if (entry < 1 || size_t(entry) > button.entries.size())
            return;
        button.caption = button.entries[size_t(entry - 1)];
        button.tag = entry;
    };
    if (requirements.alliances >= 0)
        choose(OptionButton::Alliances, requirements.alliances == 1 ? 1 : 2);
    if (requirements.baseState > 0)
        choose(OptionButton::Bases, requirements.baseState);
}

} // namespace

std::vector<content::PlanStep> planLaunch(const OptionSet& options,
                                          const MultiplayerSwitches& lobby,
                                          const std::string& gameFolder,
                                          const std::string& wineCommand) {
    std::vector<content::PlanStep> steps;
    const GameRegistryValues v = gameRegistryValues(options);
    steps.push_back(dwordStep("alliance", v.alliance));
    for (size_t i = 0; i < v.phrases.size(); ++i) {
        content::PlanStep& s = steps.emplace_back(registryStep("phrase" + std::to_string(i)));
        s.bytes = v.phrases[i];
        s.size = s.bytes.size();
    }
    steps.push_back(dwordStep("scroll", v.scroll));
    steps.push_back(dwordStep("base", v.base));

    content::PlanStep& line = steps.emplace_back();
    line.kind = content::StepKind::CommandLine;
    line.target = gameFolder + kGameExecutable;
    line.bytes = gameCommandLine(options, lobby);
    line.size = line.bytes.size();
    line.note = shellLine(platform::programInvocation(line.target, line.bytes, wineCommand));
    return steps;
}

std::string executeLaunchSteps(Registry& registry, const std::vector<content::PlanStep>& steps) {
    std::string commandLine;
    bool keyCreated = false;
    for (const content::PlanStep& s : steps) {
        if (s.kind == content::StepKind::CommandLine) {
            commandLine = s.bytes;
            continue;
        }
        if (s.kind != content::StepKind::Registry)
            continue;
        // Failures are not reported: the game then runs with the values it had.
        if (!keyCreated)
            registry.CreateKey(s.target);
        keyCreated = true;
        if (s.dword)
            registry.SetDWordValue(s.target, s.valueName, s.number);
        else
            registry.SetStringValue(s.target, s.valueName, s.bytes);
    }
    return commandLine;
}

content::StartPlan makeStartPlan(Launcher& l, const content::InstallOptions& installOptions) {
    content::StartPlan plan =
        content::planInstall(l.content, contentEnv(l), installOptions);
    if (plan.stops())
        return plan;
    OptionSet options = l.options;
    for (const content::PlanStep& s : plan.steps)
        if (s.kind == content::StepKind::Requirements)
            foresee(options, s);
    for (content::PlanStep& s : planLaunch(options, currentMultiplayerSwitches(l),
                                           l.installations.currentGameFolder(), l.wineCommand))
        plan.steps.push_back(std::move(s));
    return plan;
}

} // namespace kv
