#include "tools/kvstool/commands.h"

#include <cstdio>

namespace kv::tool {

int runKdgCommand(const std::vector<std::string>&) {
    std::fputs("kvstool: 'kdg' is not available yet\n", stderr);
    return 2;
}

} // namespace kv::tool
