#pragma once
// Text services. Texts are byte strings everywhere in the system; files from the game's
// world are in the Windows-1252 code page, and UTF-8 passes through untouched.
#include "platform/status.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv::platform {

// Bytes as stored → UTF-8 for display: valid UTF-8 is returned as it is, anything else
// is decoded as Windows-1252.
std::string toDisplayText(std::string_view bytes);
// UTF-8 typed by the user → bytes to store. Characters Windows-1252 can hold are stored
// in that code page when `legacy` is set; otherwise the UTF-8 is kept.
std::string fromDisplayText(std::string_view utf8, bool legacy = false);

// File, key and switch names compare without regard to the case of ASCII letters.
char lowerAscii(char c);
bool equalsNoCase(std::string_view a, std::string_view b);
// Without blanks and tab characters at either end.
std::string_view trimBlanksTabs(std::string_view text);

std::string cp1252ToUtf8(std::string_view bytes);
std::string utf8ToCp1252(std::string_view utf8); // unmappable characters become '?'

// Splits text into lines; accepts CR LF and LF, and a last line without a line end.
std::vector<std::string> splitLines(std::string_view text);
// Joins lines with CR LF after each one.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

Status readTextLines(std::string_view path, std::vector<std::string>& lines);
// Writes each line followed by CR LF, atomically.
Status writeTextLines(std::string_view path, const std::vector<std::string>& lines);

} // namespace kv::platform
