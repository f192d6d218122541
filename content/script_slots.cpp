#include "content/script_slots.h"

#include "common/ui_port.h"
#include "content/content_names.h"
#include "content/content_state.h"
#include "content/line_syntax.h"
#include "content/script_preferences.h"
#include "platform/files.h"

namespace kv::content {

namespace {

const AiRecord* customizableAi(const ContentState& state, int player) {
    const AiRecord* ai = state.ais.find(state.choices.choice(player));
    return ai && ai->hasScriptCustomizing ? ai : nullptr;
}

const RulesRecord* customizableRules(const ContentState& state) {
    const RulesRecord* rules = state.rules.find(state.choices.rulesChoice());
    return rules && rules->hasScriptCustomizing ? rules : nullptr;
}

template <typename Record>
void refreshSlot(ScriptSlot& slot, const Record* record, const std::string& path,
                 const std::string& failure, const ContentEnv& env) {
    slot.available = false;
    slot.data = {};
    if (!record) {
        slot.enabled = false;
        return;
    }
    slot.available = true;
    slot.data = record->customizing;
    if (!loadPreferences(path, slot.data, FolderVars::from(env.paths, env.gameFolder), env.ui))
        env.ui.message(failure, Icon::Exclamation);
}

} // namespace

ScriptSlot* ScriptSlots::slot(int value) {
    if (value >= 0 && value < kPlayerCount)
        return &players[size_t(value)];
    return value == kRulesSlot ? &rules : nullptr;
}

std::string aiPreferencePath(const ContentEnv& env, int player, const std::string& ai) {
    return pathInFolder(env.paths.scriptsFolder + "player" + std::to_string(player), ai + ".ini");
}

std::string rulesPreferencePath(const ContentEnv& env, const std::string& rules) {
    return pathInFolder(env.paths.scriptsFolder, rules + ".ini");
}

void RefreshAIProcessing(ContentState& state, const ContentEnv& env, int player) {
    if (player < 0 || player >= kPlayerCount)
        return;
    const std::string name = state.choices.choice(player);
    refreshSlot(state.scripts.players[size_t(player)], customizableAi(state, player),
                aiPreferencePath(env, player, name),
                "RefreshAIProcessing() - error loading script preferences for '" + name + "'.",
                env);
}

void RefreshRulesProcessing(ContentState& state, const ContentEnv& env) {
    const std::string name = state.choices.rulesChoice();
    refreshSlot(state.scripts.rules, customizableRules(state), rulesPreferencePath(env, name),
                "RefreshRulesProcessing() - error loading script preferences for '" + name + "'.",
                env);
}

void SaveSelectedAICustomizingPreferences(ContentState& state, const ContentEnv& env, int player) {
    if (player < 0 || player >= kPlayerCount)
        return;
    const ScriptSlot& slot = state.scripts.players[size_t(player)];
    const std::string& name = slot.data.name;
    const AiRecord* ai = state.ais.find(name);
    if (name.empty() || !ai || !ai->hasScriptCustomizing)
        return;
    if (!savePreferences(aiPreferencePath(env, player, name), slot.data, env.ui))
        env.ui.message("SaveSelectedAICustomizingPreferences() - failed to save script "
                       "customizing for AI '" +
                           name + "', Player" + std::to_string(player) + ".",
                       Icon::Exclamation);
}

void SaveSelectedRulesCustomizingPreferences(ContentState& state, const ContentEnv& env) {
    const ScriptSlot& slot = state.scripts.rules;
    const std::string& name = slot.data.name;
    const RulesRecord* rules = state.rules.find(name);
    if (name.empty() || !rules || !rules->hasScriptCustomizing)
        return;
    if (!savePreferences(rulesPreferencePath(env, name), slot.data, env.ui))
        env.ui.message("SaveSelectedRulesCustomizingPreferences() - failed to save script "
                       "customizing for Rules '" +
                           name + "'.",
                       Icon::Exclamation);
}

void saveAllScriptPreferences(ContentState& state, const ContentEnv& env) {
    for (int i = 0; i < kPlayerCount; ++i)
        SaveSelectedAICustomizingPreferences(state, env, i);
    SaveSelectedRulesCustomizingPreferences(state, env);
}

void enableAICustomizing(ContentState& state, const ContentEnv& env, int player, bool on) {
    if (player < 0 || player >= kPlayerCount)
        return;
    ScriptSlot& slot = state.scripts.players[size_t(player)];
    if (!on) {
        slot.enabled = false;
    } else if (customizableAi(state, player)) {
        slot.enabled = true;
    } else {
        env.ui.message("Error while loading setting file.\r\nCan't enable script customizing "
                       "for player" +
                           std::to_string(player) + " (" + state.choices.choice(player) + ").",
                       Icon::Exclamation);
    }
}

void enableRulesCustomizing(ContentState& state, const ContentEnv& env, bool on) {
    ScriptSlot& slot = state.scripts.rules;
    if (!on)
        slot.enabled = false;
    else if (customizableRules(state))
        slot.enabled = true;
    else
        env.ui.message("Error while loading setting file.\r\nCan't enable script customizing "
                       "for rules (" +
                           state.choices.rulesChoice() + ").",
                       Icon::Exclamation);
}

void syncScriptSlots(ContentState& state, const ContentEnv& env) {
    for (int i = 0; i < kPlayerCount; ++i) {
        const AiRecord* ai = customizableAi(state, i);
        const ScriptSlot& slot = state.scripts.players[size_t(i)];
        if ((ai ? ai->name : std::string()) == slot.data.name && slot.available == bool(ai))
            continue;
        SaveSelectedAICustomizingPreferences(state, env, i);
        RefreshAIProcessing(state, env, i);
    }
    const RulesRecord* rules = customizableRules(state);
    const ScriptSlot& slot = state.scripts.rules;
    if ((rules ? rules->name : std::string()) != slot.data.name || slot.available != bool(rules)) {
        SaveSelectedRulesCustomizingPreferences(state, env);
        RefreshRulesProcessing(state, env);
    }
}

void setScriptSlotEnabled(ContentState& state, int slot, bool on) {
    if (ScriptSlot* s = state.scripts.slot(slot)) {
        s->enabled = on;
        state.choices.applyEnabled = true;
    }
}

std::vector<std::pair<std::string, int>> scriptEntries(const ContentState& state) {
    std::vector<std::pair<std::string, int>> out;
    for (int i = 0; i < kPlayerCount; ++i)
        if (const AiRecord* ai = customizableAi(state, i))
            out.emplace_back("Player" + std::to_string(i) + " - " + ai->name, i);
    if (const RulesRecord* rules = customizableRules(state))
        out.emplace_back("Rules - " + rules->name, kRulesSlot);
    return out;
}

bool storeScriptValue(ContentState& state, int slot, size_t field, int value, Ui& ui) {
    ScriptSlot* s = state.scripts.slot(slot);
    if (!s) {
        ui.message("Error when storing changed value.", Icon::Exclamation);
        return false;
    }
    if (field >= s->data.fields.size() || value < 0 ||
        size_t(value) >= s->data.fields[field].values.size())
        return false;
    s->data.fields[field].selected = value;
    setScriptSlotEnabled(state, slot, true);
    return true;
}

} // namespace kv::content
