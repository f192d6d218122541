// kvstool: archive and map work from the command line, on the same system library as
// the launcher and without any display.
#include "tools/kvstool/commands.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

void printUsage() {
    std::fputs("usage: kvstool kdg <info|list|extract> ...\n"
               "       kvstool map <info|check|convert|render> ...\n"
               "       kvstool script <fields|apply> ...\n"
               "       kvstool config <list|check> ...\n",
               stderr);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        printUsage();
        return 2;
    }
    const std::string area = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (area == "kdg")
        return kv::tool::runKdgCommand(args);
    if (area == "map")
        return kv::tool::runMapCommand(args);
    if (area == "script")
        return kv::tool::runScriptCommand(args);
    if (area == "config")
        return kv::tool::runConfigCommand(args);
    printUsage();
    return 2;
}
