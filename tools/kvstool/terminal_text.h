#pragma once
// Names from an archive are bytes of anybody's choosing; printed raw, control characters
// could move the cursor or retitle the terminal. They are shown as JSON escapes them.
#include <string>
#include <string_view>
#include <vector>

namespace kv::tool {

// Control characters (below 0x20, and DEL) as "\n", "\r", "\u001b", ...; tabs, which
// separate the columns of the text output, and other bytes as they are.
std::string escapeControls(std::string_view text);
std::vector<std::string> escapeControls(const std::vector<std::string>& lines);

} // namespace kv::tool
