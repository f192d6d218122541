#pragma once
// Selecting and locking the player and rules lists on behalf of a command file, and
// refreshing the lists after a run (from the catalogue while they are frozen).
#include "automation/automation_env.h"
#include <string>

namespace kv::automation {

// Selects the catalogue AI `name` for `player`; reports a name that is not loaded.
void selectAiByName(const AutomationEnv& env, int player, const std::string& name);
// Selects list entry `entry` of `player`; out-of-range entries are reported.
void selectAiEntry(const AutomationEnv& env, int player, int entry);
void selectRulesByName(const AutomationEnv& env, const std::string& name);
void selectRulesEntry(const AutomationEnv& env, int entry);

// Index 0..7 or -1 for all eight; any other index is reported.
void lockAi(const AutomationEnv& env, int index, bool lock);
void lockRules(const AutomationEnv& env, bool lock);

// Rescans the AI and rules folders, or refills frozen lists from their catalogues, then
// with `reselect` selects the previous choices again (reporting the missing ones).
void refreshLists(const AutomationEnv& env, bool reselect);

// Applies the requests a configuration made: the rules first, then each player.
void applyRequests(const AutomationEnv& env);

} // namespace kv::automation
