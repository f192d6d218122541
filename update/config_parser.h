#pragma once
// The grammar of "Config.ini": sections opened by "[NAME]:" header lines and closed by a
// line that is exactly "}", key lines inside them. A pure function over lines; it never
// fails, unknown headers only produce messages.
#include "content/line_syntax.h"
#include "update/update_records.h"

#include <string>
#include <vector>

namespace kv::update {

inline constexpr const char* kParseErrorTitle = "Error parsing autodownload config file";

struct ParseResult {
    UpdateState state;
    // Texts of the exclamation boxes titled kParseErrorTitle, in order.
    std::vector<std::string> messages;
};

ParseResult parseUpdateConfig(const std::vector<std::string>& lines,
                              const content::FolderVars& vars);

} // namespace kv::update
