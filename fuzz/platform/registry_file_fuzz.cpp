#include "platform/registry_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// Any store file must parse without a fault, and what we write must parse back the same.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto file = kv::platform::parseRegFile(text);
    if (file) {
        const std::string written = kv::platform::formatRegFile(*file);
        auto again = kv::platform::parseRegFile(written);
        if (!again || kv::platform::formatRegFile(*again) != written)
            __builtin_trap();
        for (const auto& key : file->keys)
            for (const auto& value : key.values)
                (void)kv::platform::decodeRegData(value.data);
    }
    return 0;
}
