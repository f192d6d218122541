#pragma once
// The library edits of the MODs and AI manager: deleting AIs with their additional
// files, description files, rules sets and MOD archives, each after its question. The
// affected catalogue or list is rescanned afterwards; deletions ignore errors, so a file
// that stays simply shows up again.
#include "content/content_state.h"

#include <string>

namespace kv::content {

// The question, then "<name>.kvai" and the "*.kdg" files of the AI's additional-files
// folder; the folder goes when nothing else is left in it. True after a Yes.
// With `frozen` (a command file holds the AI list) the catalogue only loses the deleted
// AI; otherwise it is rescanned.
bool managerDeleteAi(ContentState& state, const ContentEnv& env, const std::string& name,
                     bool frozen = false);

// Only for an AI with a description file: deletes "Mods\INI\AI\<name>.ini".
bool managerDeleteAiDescription(ContentState& state, const ContentEnv& env,
                                const std::string& name);

// The rules set's folder with everything in it.
bool managerDeleteRules(ContentState& state, const ContentEnv& env, const std::string& name);

// The MOD entry's archive in the game folder.
bool managerDeleteMod(ContentState& state, const ContentEnv& env, std::size_t index);

// Only for a MOD with a description file: "Mods\INI\KDG Files\<name>.ini".
bool managerDeleteModDescription(ContentState& state, const ContentEnv& env, std::size_t index);

} // namespace kv::content
