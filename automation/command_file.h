#pragma once
// Global configuration files: function-call lines that load, select, lock and freeze AIs
// and rules and switch every MOD off. Errors are reported line by line; the rest of the
// file still runs.
#include "automation/automation_env.h"
#include <string>
#include <string_view>

namespace kv::content {
struct ContentState;
}

namespace kv::automation {

// Runs every line of `text` against the lists, the catalogues and the MODs.
void runCommandText(const AutomationEnv& env, std::string_view text);

// Runs the file at `path`: an empty path does nothing, otherwise the configuration label
// follows the file's name. False when the file cannot be read.
bool runCommandFile(const AutomationEnv& env, const std::string& path);
// The same with the file already read: nothing can fail any more.
void runCommandFile(const AutomationEnv& env, const std::string& path, std::string_view bytes);

// Empties the player lists down to "<don't change>" and the AI catalogue; the choices
// are remembered so a refresh can select them again. The caller syncs the options.
void deactivateAllAis(content::ContentState& content);

// The "Wrong number of arguments in function:" text shared by every command file reader.
std::string wrongArgumentCount(const std::string& line, int found, int expected);

// The argument as a whole number (rounded half to even); false when it is not numeric.
bool parseIndex(const std::string& text, long long& out);

} // namespace kv::automation
