#pragma once
// Selecting and locking the player and rules lists on behalf of a command file, and
// refreshing the lists after a run (from the catalogue while they are frozen).
#include <string>

namespace kv {
class Launcher;
}

namespace kv::automation {

// Selects the catalogue AI `name` for `player`; reports a name that is not loaded.
void selectAiByName(Launcher& launcher, int player, const std::string& name);
// Selects list entry `entry` of `player`; out-of-range entries are reported.
void selectAiEntry(Launcher& launcher, int player, int entry);
void selectRulesByName(Launcher& launcher, const std::string& name);
void selectRulesEntry(Launcher& launcher, int entry);

// Index 0..7 or -1 for all eight; any other index is reported.
void lockAi(Launcher& launcher, int index, bool lock);
void lockRules(Launcher& launcher, bool lock);

// Rescans the AI and rules folders, or refills frozen lists from their catalogues, then
// with `reselect` selects the previous choices again (reporting the missing ones).
void refreshLists(Launcher& launcher, bool reselect);

// Applies the requests a configuration made: the rules first, then each player.
void applyRequests(Launcher& launcher);

} // namespace kv::automation
