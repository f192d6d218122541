#pragma once
// The eight player choice lists and the rules list: what the "AI" page shows and what an
// install puts into the game. Each list remembers the last choice the user applied.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kv::content {

inline constexpr int kPlayerCount = 8;

struct ChoiceList {
    std::vector<std::string> items;
    int selected = 0;

    // The selected entry's text; empty when the list is empty.
    std::string text() const;
    // Selects the entry with exactly this text; false (and entry 0) when there is none.
    bool select(std::string_view name);
};

class PlayerChoices {
public:
    PlayerChoices();

    std::array<ChoiceList, kPlayerCount> players;
    ChoiceList rules;
    // The choices last applied; "<don't change>" while nothing was chosen.
    std::array<std::string, kPlayerCount> remembered;
    std::string rememberedRules;
    // Set while the program fills the lists, so their change events are not the user's.
    bool filling = false;
    // The apply button's state: enabled by a choice, disabled by an install.
    bool applyEnabled = false;

    // "<don't change>", the names, "<Random>"; a previous choice still offered stays.
    void fillPlayers(const std::vector<std::string>& aiNames);
    // "<don't change>" and the names.
    void fillRules(const std::vector<std::string>& rulesNames);

    std::string choice(int player) const { return players[size_t(player)].text(); }
    std::string rulesChoice() const { return rules.text(); }
    bool selectAI(int player, std::string_view name);
    bool selectRules(std::string_view name);
    // Every list back to its first entry.
    void selectFirstEntries();

    // A real AI: neither empty nor one of the "<...>" placeholders.
    static bool isRealChoice(std::string_view choice);
    // "Player n: name" for each list's tool tip.
    std::string toolTip(int player) const;
};

} // namespace kv::content
