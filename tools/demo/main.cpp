// kvdemo <folder> [--fresh]: writes the demo world into <folder> and prints its launcher
// folder.
#include "tools/demo/demo_world.h"

#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] = "usage: kvdemo <folder> [--fresh]\n"
                      "Writes the demo world into <folder> and prints its launcher folder.\n"
                      "Files already there are kept; --fresh writes the settings file anew.\n";

bool isHelp(const char* arg) {
    return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}

} // namespace

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (isHelp(argv[i])) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    // Anything else that looks like an option is a mistake, never a folder name.
    if (argc < 2 || argc > 3 || argv[1][0] == '-' ||
        (argc == 3 && std::strcmp(argv[2], "--fresh") != 0)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    kv::demo::DemoWorld world;
    std::string error;
    if (!kv::demo::writeDemoWorld(argv[1], argc == 3, world, error)) {
        std::fprintf(stderr, "kvdemo: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", world.launcherFolder.c_str());
    return 0;
}
