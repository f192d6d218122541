#include "automation/selection.h"

#include "content/catalogue_scan.h"
#include "content/script_slots.h"

namespace kv::automation {

namespace {

// The lists changed under the settings and the customizing slots: let both follow.
void settle(const AutomationEnv& env) {
    env.host.choicesChanged();
    content::syncScriptSlots(env.content, env.contentEnv);
}

void refillFrom(content::ChoiceList& list, const std::vector<std::string>& names) {
    list.items.clear();
    list.items.push_back(content::kDontChange);
    list.items.insert(list.items.end(), names.begin(), names.end());
    list.selected = 0;
}

// Placeholders ("<Random>" in a frozen list) are not worth a message.
bool isPlaceholder(const std::string& name) {
    return name.empty() || name.front() == '<';
}

} // namespace

void selectAiByName(const AutomationEnv& env, int player, const std::string& name) {
    const auto& records = env.content.ais.records;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].name == name) {
            selectAiEntry(env, player, int(i) + 1);
            return;
        }
    }
    env.ui().message("AI file '" + name +
                         "' was not found, make sure it is loaded before trying to select it.",
                     Icon::Exclamation);
}

void selectAiEntry(const AutomationEnv& env, int player, int entry) {
    if (player < 0 || player >= kPlayers)
        return;
    content::ChoiceList& list = env.content.choices.players[size_t(player)];
    if (entry < 0) {
        env.ui().message("Error selecting AI with index " + std::to_string(entry) +
                         " for AI number " + std::to_string(player));
        return;
    }
    if (size_t(entry) >= list.items.size()) {
        env.ui().message("Error selecting AI with index " + std::to_string(entry));
        return;
    }
    list.selected = entry;
    env.content.choices.remembered[size_t(player)] = list.text();
    settle(env);
}

void selectRulesByName(const AutomationEnv& env, const std::string& name) {
    const auto& records = env.content.rules.records;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].name == name) {
            selectRulesEntry(env, int(i) + 1);
            return;
        }
    }
    env.ui().message("Rules file '" + name +
                         "' was not found, make sure it is loaded before trying to select it.",
                     Icon::Exclamation);
}

void selectRulesEntry(const AutomationEnv& env, int entry) {
    content::ChoiceList& list = env.content.choices.rules;
    if (entry < 0 || size_t(entry) >= list.items.size()) {
        env.ui().message("Error selecting rules #" + std::to_string(entry));
        return;
    }
    list.selected = entry;
    env.content.choices.rememberedRules = list.text();
    settle(env);
}

void lockAi(const AutomationEnv& env, int index, bool lock) {
    if (index == -1) {
        env.automation.aiLocked.fill(lock);
    } else if (index >= 0 && index < kPlayers) {
        env.automation.aiLocked[size_t(index)] = lock;
    } else {
        env.ui().message("LockAI() Error: Can't lock AI with index: " + std::to_string(index) +
                             "\r\nExpected index range: -1 to 7",
                         Icon::Exclamation);
        return;
    }
    env.host.refresh();
}

void lockRules(const AutomationEnv& env, bool lock) {
    env.automation.rulesLocked = lock;
    env.host.refresh();
}

void refreshLists(const AutomationEnv& env, bool reselect) {
    content::ContentState& s = env.content;
    content::PlayerChoices& c = s.choices;
    const content::ContentEnv& contentEnv = env.contentEnv;
    std::array<std::string, kPlayers> previous;
    for (int i = 0; i < kPlayers; ++i)
        previous[size_t(i)] = c.choice(i);
    const std::string previousRules = c.rulesChoice();

    c.filling = true;
    if (!env.automation.aiFrozen) {
        content::CustomAIList_fill(s, contentEnv);
    } else {
        const std::vector<std::string> names = s.ais.names();
        for (auto& list : c.players)
            refillFrom(list, names);
    }
    if (!env.automation.rulesFrozen) {
        content::CustomRulesList_fill(s, contentEnv);
    } else {
        std::vector<std::string> names;
        for (const auto& r : s.rules.records)
            names.push_back(r.name);
        refillFrom(c.rules, names);
    }
    c.filling = true;
    if (reselect) {
        for (int i = 0; i < kPlayers; ++i) {
            const std::string& name = previous[size_t(i)];
            if (!c.selectAI(i, name) && !isPlaceholder(name))
                env.ui().message("'" + name + "' AI was not found!", Icon::Information);
        }
        if (!c.selectRules(previousRules) && !isPlaceholder(previousRules))
            env.ui().message("'" + previousRules + "' Rules was not found!", Icon::Information);
    }
    c.filling = false;
    settle(env);
    env.host.refresh();
}

void applyRequests(const AutomationEnv& env) {
    const AutomationState& a = env.automation;
    if (a.requestedRules == kRequestDontChange)
        selectRulesEntry(env, 0);
    else if (!a.requestedRules.empty())
        selectRulesByName(env, a.requestedRules);
    for (int i = 0; i < kPlayers; ++i) {
        const std::string& name = a.requestedAi[size_t(i)];
        if (name == kRequestDontChange)
            selectAiEntry(env, i, 0);
        else if (!name.empty())
            selectAiByName(env, i, name);
    }
}

} // namespace kv::automation
