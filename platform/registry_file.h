#pragma once
// The REGEDIT4 text format of the POSIX registry store. Values keep the text to the right
// of '=' as it stood, so types this program never writes (hex:, hex(2):) survive a rewrite.
#include "platform/registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::platform {

struct RegFileValue {
    std::string name; // empty for the default value ("@")
    std::string data; // e.g. "\"text\"" or "dword:00000001"
};

struct RegFileKey {
    std::string path; // "HKEY_LOCAL_MACHINE\Software\..."
    std::vector<RegFileValue> values;
};

struct RegFile {
    std::vector<RegFileKey> keys;

    RegFileKey* findKey(std::string_view path); // letter case ignored
    RegFileKey& addKey(std::string_view path);  // appended when missing
    void setValue(RegFileKey& key, std::string_view name, std::string data);
    static const RegFileValue* findValue(const RegFileKey& key, std::string_view name);
};

// Nothing when the text is not a registry file (no "REGEDIT4" or version 5 header line);
// an empty text is an empty store. Lines that cannot be understood are skipped.
std::optional<RegFile> parseRegFile(std::string_view text);
// "REGEDIT4", a blank line, then each key with its values and a blank line; CR LF ends.
std::string formatRegFile(const RegFile& file);

std::string encodeRegString(std::string_view value); // with quotes and escapes
std::string encodeRegDword(std::uint32_t value);     // "dword:0000012c"
// The value a data text holds; nothing for types other than strings and dwords.
std::optional<RegistryValue> decodeRegData(std::string_view data);

} // namespace kv::platform
