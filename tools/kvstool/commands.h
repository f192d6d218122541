#pragma once
// The subcommands of kvstool. Each returns the process exit code: 0 success, 1 failure
// (reason on stderr), 2 bad usage.
#include <string>
#include <vector>

namespace kv::tool {

int runKdgCommand(const std::vector<std::string>& args);        // args after "kdg"
int runKdgProjectCommand(const std::vector<std::string>& args); // args after "kdg project"
int runMapCommand(const std::vector<std::string>& args);        // args after "map"
int runScriptCommand(const std::vector<std::string>& args);     // args after "script"
int runLobbyCommand(const std::vector<std::string>& args);      // args after "lobby"
int runUpdateCommand(const std::vector<std::string>& args);     // args after "update"
int runConfigCommand(const std::vector<std::string>& args);     // args after "config"
int runDebugCommand(const std::vector<std::string>& args);      // args after "debug"
// args after "kdg conflicts"
int runKdgConflictsCommand(const std::vector<std::string>& args);
int runPlanCommand(const std::vector<std::string>& args); // args after "plan"

} // namespace kv::tool
