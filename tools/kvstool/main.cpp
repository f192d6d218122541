// kvstool: archive and map work from the command line, on the same system library as
// the launcher and without any display.
#include "tools/kvstool/commands.h"
#include "tools/kvstool/console.h"
#include "tools/kvstool/reference_pages.h"

#include "platform/files.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

void printUsage(std::FILE* to = stderr) {
    std::fputs(kv::tool::kToolUsage, to);
}

using AreaCommand = int (*)(const std::vector<std::string>&);

AreaCommand commandOf(const std::string& area) {
    if (area == "kdg")
        return kv::tool::runKdgCommand;
    if (area == "map")
        return kv::tool::runMapCommand;
    if (area == "script")
        return kv::tool::runScriptCommand;
    if (area == "lobby")
        return kv::tool::runLobbyCommand;
    if (area == "update")
        return kv::tool::runUpdateCommand;
    if (area == "config")
        return kv::tool::runConfigCommand;
    if (area == "debug")
        return kv::tool::runDebugCommand;
    if (area == "plan")
        return kv::tool::runPlanCommand;
    return nullptr;
}

int unknownArea(const std::string& area) {
    std::fprintf(stderr, "kvstool: unknown area '%s'\n", area.c_str());
    printUsage();
    return 2;
}

} // namespace

// No exception may end the tool with an abort: one line on stderr and exit code 1.
int main(int argc, char* argv[]) try {
    if (argc < 2) {
        printUsage();
        return 2;
    }
    const std::string area = argv[1];
    if (area == "--help" || area == "-h" || (area == "help" && argc == 2)) {
        printUsage(stdout);
        return 0;
    }
    if (area == "--version") {
        std::printf("kvstool %s\n", KV_VERSION);
        return 0;
    }
    // The build makes the manual page and the shell completion from the help texts.
    if ((area == "--man-page" || area == "--bash-completion") && argc == 3) {
        const std::string page =
            area == "--man-page" ? kv::tool::manPage(KV_VERSION) : kv::tool::bashCompletion();
        if (const kv::platform::Status s = kv::platform::writeFileAtomic(argv[2], page); !s) {
            std::fprintf(stderr, "kvstool: %s: %s\n", argv[2], s.description.c_str());
            return 1;
        }
        return 0;
    }
    // "help AREA [WORDS]" is "AREA [WORDS] --help".
    const bool help = area == "help";
    const std::string name = help ? argv[2] : area;
    const AreaCommand command = commandOf(name);
    if (!command)
        return unknownArea(name);
    std::vector<std::string> args(argv + (help ? 3 : 2), argv + argc);
    if (help)
        args.emplace_back("--help");
    return command(args);
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
