// Every line of the input through the whole line syntax: cleaning, classification, key and
// value, function name and arguments with expansion.
#include "content/line_syntax.h"
#include "platform/text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kv::content;
    FolderVars vars;
    vars.game = "G\\";
    vars.launcher = "A\\";
    vars.ai = "A\\Mods\\SkirmishAI\\n\\";
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (const auto& raw : kv::platform::splitLines(input)) {
        const std::string line = cleanLine(raw);
        if (isKeyLine(line)) {
            KeyValue kv;
            keyAndValue(line, vars, kv);
        } else if (isFunctionCall(line)) {
            (void)functionName(line);
            const FunctionCall call = parseArguments(line, vars);
            if (call.validCount > int(call.arguments.size()))
                __builtin_trap();
        }
        // Raw lines too: callers may hand in uncleaned text.
        (void)parseArguments(raw, vars);
        (void)functionName(raw);
        (void)expandValue(raw, vars);
    }
    return 0;
}
