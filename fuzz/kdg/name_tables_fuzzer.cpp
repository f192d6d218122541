// Feeds arbitrary text to the name-table parser: the bytes before the first zero are
// "Files.txt", the rest "Types.txt". Every row found must be the row its key names.
#include "kdg/hex_text.h"
#include "kdg/name_tables.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = text.find('\0');
    const std::string_view files = text.substr(0, zero);
    const std::string_view types = zero == std::string_view::npos ? "" : text.substr(zero + 1);
    const kv::kdg::NameTables tables = kv::kdg::NameTables::fromText(files, types);
    if (tables.files().size() > kv::kdg::kFilesRowsKept ||
        tables.types().size() > kv::kdg::kTypesRowsKept)
        __builtin_trap();
    std::uint32_t probe = 0;
    for (std::size_t i = 0; i < 4 && i < size; ++i)
        probe = probe << 8 | data[i];
    for (const std::uint32_t value : {probe, 0u, 0xFFFFFFFFu, std::uint32_t(size)}) {
        const std::string key = kv::kdg::lowerHex(value);
        if (const auto* row = tables.findFile(value); row && row->hash != key)
            __builtin_trap();
        if (const auto* row = tables.findType(value); row && row->typeId != key)
            __builtin_trap();
    }
    return 0;
}
