#include "tests/support/tool_run.h"

#include "tests/support/temp_folder.h"

#include <cstdlib>
#include <sys/wait.h>

namespace kv::test {

ToolRun runShell(const std::string& commandLine) {
    const TempFolder capture;
    const std::string command =
        commandLine + " >'" + (capture / "out") + "' 2>'" + (capture / "err") + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, capture.read("out"), capture.read("err")};
}

} // namespace kv::test
