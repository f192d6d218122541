#include "content/player_choices.h"

#include "content/ai_catalogue.h"

namespace kv::content {

std::string ChoiceList::text() const {
    if (selected < 0 || size_t(selected) >= items.size())
        return {};
    return items[size_t(selected)];
}

bool ChoiceList::select(std::string_view name) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == name) {
            selected = int(i);
            return true;
        }
    }
    selected = 0;
    return false;
}

PlayerChoices::PlayerChoices() {
    remembered.fill(kDontChange);
    rememberedRules = kDontChange;
    fillPlayers({});
    fillRules({});
}

void PlayerChoices::fillPlayers(const std::vector<std::string>& aiNames) {
    filling = true;
    for (auto& list : players) {
        const std::string previous = list.text();
        list.items.clear();
        list.items.push_back(kDontChange);
        list.items.insert(list.items.end(), aiNames.begin(), aiNames.end());
        list.items.push_back(kRandom);
        list.select(previous);
    }
    filling = false;
}

void PlayerChoices::fillRules(const std::vector<std::string>& rulesNames) {
    filling = true;
    const std::string previous = rules.text();
    rules.items.clear();
    rules.items.push_back(kDontChange);
    rules.items.insert(rules.items.end(), rulesNames.begin(), rulesNames.end());
    rules.select(previous);
    filling = false;
}

bool PlayerChoices::selectAI(int player, std::string_view name) {
    if (player < 0 || player >= kPlayerCount)
        return false;
    return players[size_t(player)].select(name);
}

bool PlayerChoices::selectRules(std::string_view name) {
    return rules.select(name);
}

void PlayerChoices::selectFirstEntries() {
    for (auto& list : players)
        list.selected = 0;
    rules.selected = 0;
}

bool PlayerChoices::isRealChoice(std::string_view choice) {
    return !choice.empty() && choice.front() != '<';
}

std::string PlayerChoices::toolTip(int player) const {
    return "Player " + std::to_string(player) + ": " + choice(player);
}

} // namespace kv::content
