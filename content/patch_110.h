#pragma once
// "Make compatible with 1.10 Patch": every MOD off and the 1.10 versions of the player
// and rules scripts put into the game.
#include "content/content_env.h"
#include "content/content_state.h"

#include <string>

namespace kv::content {

// A player's variable file from the backup text: characters 225 and 259 (counted from 1)
// hold the player number.
std::string patch110PlayerVlo(std::string backupText, int player);

// Asks first; false when the user declined. A file that cannot be read or written is
// reported with the error box and ends the set-up; the scripts are never half-made.
bool makeCompatible110(ContentState& state, const ContentEnv& env);

} // namespace kv::content
