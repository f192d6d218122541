// kvdemo <folder> [--fresh]: writes the demo world into <folder> and prints its launcher
// folder.
#include "tools/demo/demo_world.h"

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--fresh") != 0)) {
        std::fprintf(stderr, "usage: kvdemo <folder> [--fresh]\n");
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
