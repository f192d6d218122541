#pragma once
// The user's choices on the "AI" page and the settings that restore them.
#include "content/content_env.h"
#include "content/content_state.h"

#include <string>

namespace kv::content {

struct CompatibleResult {
    bool compatible = true;
    std::string other; // "'name' (Player j)" of the clashing AI
};

// Two different AIs that both bring KDG archives cannot play together; the same AI on
// several players can. The clash names the first such AI in player order, whoever chose.
CompatibleResult Compatible(const ContentState& state, const ContentEnv& env, int player);

// Player `player` picked entry `index`. Asks before accepting an incompatible AI and puts
// the remembered choice back on No. True when the choice stands.
bool choosePlayerAI(ContentState& state, const ContentEnv& env, int player, int index);
// The rules list's choice.
void chooseRules(ContentState& state, int index);

// Applies the settings file keys AI0..AI7 and RulesFile.
void loadAI(ContentState& state, const ContentEnv& env, const std::string& settingsFile);
// The older block: a line "ai:", eight AI names, one rules name.
void loadAI2(ContentState& state, const ContentEnv& env, const std::string& settingsFile);
// Selects the remembered choices again (after a rescan); each missing name is reported.
void reselectRemembered(ContentState& state, const ContentEnv& env);

// Shown once per settings file when the "AI" page first opens.
void showAiOverwriteWarning(int& warnedFlag, Ui& ui);

} // namespace kv::content
