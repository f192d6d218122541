#pragma once
// The working copies of the customizable fields: one per player slot and one for the
// rules, each with the user's picks and whether they go into the installed script.
#include "content/content_env.h"
#include "content/player_choices.h"
#include "content/script_fields.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace kv::content {

struct ContentState;

// The slot number the customizing window gives the rules.
inline constexpr int kRulesSlot = kPlayerCount;

struct ScriptSlot {
    ScriptCustomizing data; // empty name: the slot's choice has no fields
    bool enabled = false;   // the picks go into the installed script
    bool available = false; // the enable box can be used
};

struct ScriptSlots {
    std::array<ScriptSlot, kPlayerCount> players;
    ScriptSlot rules;
    NamedTexts namedTexts;

    // 0..7 the players, kRulesSlot the rules; nothing for any other number.
    ScriptSlot* slot(int value);
};

// Player `i`'s preference file, and the rules set's; empty for a name that is no plain name.
std::string aiPreferencePath(const ContentEnv& env, int player, const std::string& ai);
std::string rulesPreferencePath(const ContentEnv& env, const std::string& rules);

// Reloads the slot's fields from its current choice and the picks from its file.
void RefreshAIProcessing(ContentState& state, const ContentEnv& env, int player);
void RefreshRulesProcessing(ContentState& state, const ContentEnv& env);

void SaveSelectedAICustomizingPreferences(ContentState& state, const ContentEnv& env, int player);
void SaveSelectedRulesCustomizingPreferences(ContentState& state, const ContentEnv& env);
void saveAllScriptPreferences(ContentState& state, const ContentEnv& env);

// From the settings file: turning on is refused with a message when the slot's choice
// has no fields.
void enableAICustomizing(ContentState& state, const ContentEnv& env, int player, bool on);
void enableRulesCustomizing(ContentState& state, const ContentEnv& env, bool on);

// Slots whose choice changed keep their picks in the old choice's file and load the new
// one's; the rest stay as they are.
void syncScriptSlots(ContentState& state, const ContentEnv& env);

// The user ticked or cleared a slot's box (0..7 or kRulesSlot).
void setScriptSlotEnabled(ContentState& state, int slot, bool on);

// The customizing window's list: "Player i - name" and "Rules - name" with the slot
// numbers.
std::vector<std::pair<std::string, int>> scriptEntries(const ContentState& state);

// A value picked in the window: stored in the slot, whose box is ticked.
bool storeScriptValue(ContentState& state, int slot, size_t field, int value, Ui& ui);

} // namespace kv::content
