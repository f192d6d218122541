#pragma once
// The subcommands of kvstool. Each returns the process exit code: 0 success, 1 failure
// (reason on stderr), 2 bad usage.
#include <string>
#include <vector>

namespace kv::tool {

int runKdgCommand(const std::vector<std::string>& args); // args after "kdg"
// args after "kdg project"
int runKdgProjectCommand(const std::vector<std::string>& args);
int runMapCommand(const std::vector<std::string>& args); // args after "map"

} // namespace kv::tool
