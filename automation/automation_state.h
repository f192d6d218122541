#pragma once
// What command files change beyond the catalogues: frozen lists, requests waiting to be
// applied, locked player lists, and the label naming the active configuration.
#include <array>
#include <set>
#include <string>

namespace kv::automation {

inline constexpr int kPlayers = 8;
// A request for the list's "<don't change>" entry.
inline constexpr const char* kRequestDontChange = "<>";

struct AutomationState {
    bool aiFrozen = false;    // refreshing refills the player lists from the catalogue
    bool rulesFrozen = false; // the same for the rules list
    // Empty: no request; "<>": entry 0; otherwise a name. Requested AIs outlive a reset.
    std::array<std::string, kPlayers> requestedAi;
    std::string requestedRules;
    std::array<bool, kPlayers> aiLocked{};
    bool rulesLocked = false;

    // The MOD description files that were said to have changed the AI choices: a ticked
    // MOD runs its commands on every install, and says so once.
    std::set<std::string> choiceChangesTold;

    // The main window's label naming the active configuration.
    bool labelVisible = false;
    std::string label;

    // Clears what a configuration starts from; the requested AIs stay.
    void reset() {
        aiFrozen = false;
        rulesFrozen = false;
        requestedRules.clear();
        aiLocked.fill(false);
        rulesLocked = false;
    }
};

} // namespace kv::automation
