#pragma once
// Small text helpers shared by the launcher core's readers.
#include "platform/text.h"

#include <optional>
#include <string>
#include <string_view>

namespace kv {

// Without leading and trailing blanks, tabs, CR and LF.
std::string trimmed(std::string_view text);
// ASCII letters in lower case; other bytes unchanged.
std::string lowerAscii(std::string_view text);
using platform::equalsNoCase;
bool endsWithNoCase(std::string_view text, std::string_view tail);

// A whole decimal number within the 16-bit range, blanks around it allowed; nothing for
// anything else, so a damaged value is skipped instead of turning into a random setting.
std::optional<int> toInt16(std::string_view text);

} // namespace kv
