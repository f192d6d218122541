#pragma once
// Small text helpers of the content area: letter-case-blind comparison and the trims the
// launcher's files have always been read with.
#include "platform/text.h"

#include <optional>
#include <string>
#include <string_view>

namespace kv::content {

using platform::equalsNoCase;
using platform::lowerAscii;
std::string toLower(std::string_view text);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
bool endsWithNoCase(std::string_view text, std::string_view suffix);
// Position of `needle` in `text` at or after `from`, letter case ignored.
size_t findNoCase(std::string_view text, std::string_view needle, size_t from = 0);

// Blanks only, as the old runtime's Trim.
std::string trimBlanks(std::string_view text);
// Blanks and tab characters.
std::string trimBlanksTabs(std::string_view text);

// "name.ext" -> "name"; a name without a dot is returned whole.
std::string withoutExtension(std::string_view fileName);
// The last component of a path given with '\' or '/'.
std::string fileNameOf(std::string_view path);

// The text as a number when it is one as a whole (blanks around it allowed): an optional
// sign, digits and at most one decimal point.
std::optional<double> numericValue(std::string_view text);
// A number rounded half-to-even, as the old runtime converted to integers; beyond the
// range of the result, the nearest end of it.
long long roundHalfEven(double value);

} // namespace kv::content
