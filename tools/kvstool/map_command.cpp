#include "tools/kvstool/commands.h"

#include <cstdio>

namespace kv::tool {

int runMapCommand(const std::vector<std::string>&) {
    std::fputs("kvstool: 'map' is not available yet\n", stderr);
    return 2;
}

} // namespace kv::tool
