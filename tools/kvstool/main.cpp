// kvstool: archive and map work from the command line, on the same system library as
// the launcher and without any display.
#include "tools/kvstool/commands.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

void printUsage(std::FILE* to = stderr) {
    std::fputs("usage: kvstool kdg <info|list|extract|conflicts> ...\n"
               "       kvstool map <info|check|convert|render> ...\n"
               "       kvstool script <fields|apply> ...\n"
               "       kvstool lobby <host|join> ...\n"
               "       kvstool update <parse|check|install|download> ...\n"
               "       kvstool config <list|check> ...\n"
               "       kvstool debug <watch|set-flag> ...\n"
               "       kvstool plan LAUNCHER_FOLDER [--json]\n"
               "       kvstool AREA --help\n",
               to);
}

} // namespace

// No exception may end the tool with an abort: one line on stderr and exit code 1.
int main(int argc, char* argv[]) try {
    if (argc < 2) {
        printUsage();
        return 2;
    }
    const std::string area = argv[1];
    if (area == "--help" || area == "-h") {
        printUsage(stdout);
        return 0;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (area == "kdg")
        return kv::tool::runKdgCommand(args);
    if (area == "map")
        return kv::tool::runMapCommand(args);
    if (area == "script")
        return kv::tool::runScriptCommand(args);
    if (area == "lobby")
        return kv::tool::runLobbyCommand(args);
    if (area == "update")
        return kv::tool::runUpdateCommand(args);
    if (area == "config")
        return kv::tool::runConfigCommand(args);
    if (area == "debug")
        return kv::tool::runDebugCommand(args);
    if (area == "plan")
        return kv::tool::runPlanCommand(args);
    printUsage();
    return 2;
} catch (const std::bad_alloc&) {
    std::fputs("kvstool: out of memory\n", stderr);
    return 1;
} catch (const std::exception& e) {
    std::fprintf(stderr, "kvstool: %s\n", e.what());
    return 1;
} catch (...) {
    std::fputs("kvstool: unexpected failure\n", stderr);
    return 1;
}
