// AI files of any shape: parsed, and when accepted turned into a player's script pair.
#include "content/ai_file.h"
#include "content/create_ai.h"
#include "platform/text.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kv::content;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    AiFileParts parts;
    AiFileError error;
    if (parseAiFile(input, parts, error)) {
        (void)playerSloText(parts);
        (void)playerVloText(parts, 7);
    }
    std::string body, message;
    extractVloBody(kv::platform::splitLines(input), body, message);
    return 0;
}
