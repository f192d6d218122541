#pragma once
// Bringing the KDG archives an AI or rules set needs into the game folder.
#include "content/content_env.h"
#include "content/content_state.h"

#include <string_view>

namespace kv::content {

// `slot` is the player 0..7 or InstalledFiles::kRules; `folder` the AI's additional-files
// folder or the rules folder. Archives copied in are listed for removal after the game;
// an archive that was already there, or that was reactivated from its ".kvw", is the
// user's and stays.
void CopyAdditionalFiles(ContentState& state, const ContentEnv& env, int slot,
                         std::string_view folder, std::string_view ownerName = {});

// CopyAdditionalFiles for every player with a real AI choice, then for the rules.
void CopyAllAdditionalFiles(ContentState& state, const ContentEnv& env);

} // namespace kv::content
