#pragma once
// Building the AI and rules catalogues from the launcher's library and the lists that
// offer them, plus the library edits the main window offers (delete a rules set).
#include "content/content_env.h"
#include "content/content_state.h"

#include <string_view>

namespace kv::content {

// Rescans the AI folder: empty AI files are deleted (with a message), every other one is
// loaded; the eight player lists are refilled.
void CustomAIList_fill(ContentState& state, const ContentEnv& env);
// Loads or refreshes one AI record; false (with a message) when its file is missing.
bool InstallAIs(ContentState& state, const ContentEnv& env, std::string_view name,
                std::string_view directory);

// Rescans the rules folder: every subfolder holding a ".slo" becomes a rules set.
void CustomRulesList_fill(ContentState& state, const ContentEnv& env);
bool InstallRules(ContentState& state, const ContentEnv& env, std::string_view name,
                  std::string_view directory);

// The main window's delete button for rules: asks, moves the folder to the trash,
// refreshes the rules list and selects entry 0.
void deleteRulesSet(ContentState& state, const ContentEnv& env);
// The rules set's folder to the trash when it is one directly inside Mods\Rules; a set
// loaded from anywhere else is left where it is. The caller rescans the catalogue.
void forgetOrTrashRules(ContentState& state, const ContentEnv& env, std::string_view name);

// Moves "<dir><name>.kvai" to the trash when it lies in Mods\SkirmishAI; true when it
// is gone.
bool deleteAiFile(const ContentState& state, const ContentEnv& env, std::string_view name);

} // namespace kv::content
