#include "content/required_archives.h"

#include "content/install_plan.h"

namespace kv::content {

void CopyAdditionalFiles(ContentState& state, const ContentEnv& env, int slot,
                         std::string_view folder, std::string_view ownerName) {
    const int owner = slot < 0 || slot >= kPlayerCount ? kRulesOwner : slot;
    // A "<Random>" choice passes the AI it resolved to.
    const std::string name = !ownerName.empty()     ? std::string(ownerName)
                             : owner == kRulesOwner ? state.choices.rulesChoice()
                                                    : state.choices.choice(slot);
    executeInstallPlan(state, env, planAdditionalFiles(state, env, owner, folder, name));
}

void CopyAllAdditionalFiles(ContentState& state, const ContentEnv& env) {
    for (int i = 0; i < kPlayerCount; ++i) {
        const std::string name = state.choices.choice(i);
        if (PlayerChoices::isRealChoice(name))
            CopyAdditionalFiles(state, env, i, env.paths.aiFolder + name);
    }
    const std::string rules = state.choices.rulesChoice();
    if (PlayerChoices::isRealChoice(rules))
        CopyAdditionalFiles(state, env, InstalledFiles::kRules, env.paths.rulesFolder + rules);
}

} // namespace kv::content
