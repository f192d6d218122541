#pragma once
// Making a new AI file from a game script pair, with the dialogs the main window's
// button leads through.
#include "content/content_env.h"
#include "content/content_state.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv::content {

// The variable file's body for an AI file: the player declaration blanked out and
// everything after "run" CR LF "{". False with the message to show when it lacks either.
bool extractVloBody(const std::vector<std::string>& vloLines, std::string& body,
                    std::string& error);

// The whole dialogue; true when an AI file was written.
bool createAiFile(ContentState& state, const ContentEnv& env);

} // namespace kv::content
