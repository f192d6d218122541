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

// The main window's delete button for rules: asks, deletes the folder with everything in
// it, refreshes the rules list and selects entry 0.
void deleteRulesSet(ContentState& state, const ContentEnv& env);

// Deletes "<dir><name>.kvai" (attributes cleared first); true when it is gone.
bool deleteAiFile(const ContentState& state, std::string_view name);

// Removes a folder and everything below it; false when something stayed.
bool removeFolderTree(const std::string& folder);

} // namespace kv::content
