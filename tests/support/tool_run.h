#pragma once
// A program run the way a script runs it: one shell command line, its standard output
// and standard error captured whole.
#include <string>

namespace kv::test {

struct ToolRun {
    int exitCode = -1; // -1 when the program did not exit by itself
    std::string out, err;
};

// `commandLine` is shell text without redirections of its own.
ToolRun runShell(const std::string& commandLine);

} // namespace kv::test
