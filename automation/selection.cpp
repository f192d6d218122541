#include "automation/selection.h"

#include "content/catalogue_scan.h"
#include "launcher/content_wiring.h"
#include "content/script_slots.h"
#include "launcher/launcher.h"

namespace kv::automation {

namespace {

// The lists changed under the settings and the customizing slots: let both follow.
void settle(Launcher& l) {
    content::syncChoiceOptions(l);
    content::syncScriptSlots(l.content, content::contentEnv(l));
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

void selectAiByName(Launcher& l, int player, const std::string& name) {
    const auto& records = l.content.ais.records;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].name == name) {
            selectAiEntry(l, player, int(i) + 1);
            return;
        }
    }
    l.ui().message("AI file '" + name +
                       "' was not found, make sure it is loaded before trying to select it.",
                   Icon::Exclamation);
}

void selectAiEntry(Launcher& l, int player, int entry) {
    if (player < 0 || player >= kPlayers)
        return;
    content::ChoiceList& list = l.content.choices.players[size_t(player)];
    if (entry < 0) {
        l.ui().message("Error selecting AI with index " + std::to_string(entry) +
                       " for AI number " + std::to_string(player));
        return;
    }
    if (size_t(entry) >= list.items.size()) {
        l.ui().message("Error selecting AI with index " + std::to_string(entry));
        return;
    }
    list.selected = entry;
    l.content.choices.remembered[size_t(player)] = list.text();
    settle(l);
}

void selectRulesByName(Launcher& l, const std::string& name) {
    const auto& records = l.content.rules.records;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].name == name) {
            selectRulesEntry(l, int(i) + 1);
            return;
        }
    }
    l.ui().message("Rules file '" + name +
                       "' was not found, make sure it is loaded before trying to select it.",
                   Icon::Exclamation);
}

void selectRulesEntry(Launcher& l, int entry) {
    content::ChoiceList& list = l.content.choices.rules;
    if (entry < 0 || size_t(entry) >= list.items.size()) {
        l.ui().message("Error selecting rules #" + std::to_string(entry));
        return;
    }
    list.selected = entry;
    l.content.choices.rememberedRules = list.text();
    settle(l);
}

void lockAi(Launcher& l, int index, bool lock) {
    if (index == -1) {
        l.automation.aiLocked.fill(lock);
    } else if (index >= 0 && index < kPlayers) {
        l.automation.aiLocked[size_t(index)] = lock;
    } else {
        l.ui().message("LockAI() Error: Can't lock AI with index: " + std::to_string(index) +
                           "\r\nExpected index range: -1 to 7",
                       Icon::Exclamation);
        return;
    }
    l.view().refresh();
}

void lockRules(Launcher& l, bool lock) {
    l.automation.rulesLocked = lock;
    l.view().refresh();
}

void refreshLists(Launcher& l, bool reselect) {
    content::ContentState& s = l.content;
    content::PlayerChoices& c = s.choices;
    const content::ContentEnv env = content::contentEnv(l);
    std::array<std::string, kPlayers> previous;
    for (int i = 0; i < kPlayers; ++i)
        previous[size_t(i)] = c.choice(i);
    const std::string previousRules = c.rulesChoice();

    c.filling = true;
    if (!l.automation.aiFrozen) {
        content::CustomAIList_fill(s, env);
    } else {
        const std::vector<std::string> names = s.ais.names();
        for (auto& list : c.players)
            refillFrom(list, names);
    }
    if (!l.automation.rulesFrozen) {
        content::CustomRulesList_fill(s, env);
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
                l.ui().message("'" + name + "' AI was not found!", Icon::Information);
        }
        if (!c.selectRules(previousRules) && !isPlaceholder(previousRules))
            l.ui().message("'" + previousRules + "' Rules was not found!", Icon::Information);
    }
    c.filling = false;
    settle(l);
    l.view().refresh();
}

void applyRequests(Launcher& l) {
    const AutomationState& a = l.automation;
    if (a.requestedRules == kRequestDontChange)
        selectRulesEntry(l, 0);
    else if (!a.requestedRules.empty())
        selectRulesByName(l, a.requestedRules);
    for (int i = 0; i < kPlayers; ++i) {
        const std::string& name = a.requestedAi[size_t(i)];
        if (name == kRequestDontChange)
            selectAiEntry(l, i, 0);
        else if (!name.empty())
            selectAiByName(l, i, name);
    }
}

} // namespace kv::automation
