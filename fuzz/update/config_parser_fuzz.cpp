// Any bytes as an update configuration file: the parser must finish, keep its lists within
// their counts and report only known messages.
#include "platform/text.h"
#include "update/config_parser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kv;
    content::FolderVars vars;
    vars.launcher = "L/";
    vars.ai = "L/Mods/SkirmishAI/";
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const update::ParseResult r = update::parseUpdateConfig(platform::splitLines(input), vars);
    const auto& s = r.state;
    if (s.ais.size() > update::kMaxRecords || s.rules.size() > update::kMaxRecords ||
        s.misc.size() > update::kMaxRecords || s.messages.size() > update::kMaxRecords)
        __builtin_trap();
    for (const auto& ai : s.ais)
        if (ai.hasIni && ai.ini.url.empty())
            __builtin_trap();
    for (const auto& m : r.messages)
        if (m.find("Unknown ") != 0)
            __builtin_trap();
    (void)update::formatVersion(s.launcher.version);
    return 0;
}
