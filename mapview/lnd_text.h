#pragma once
// Line and token access for LND text, as the map editor lays it out: a line splits at
// every single blank, so leading blanks count as empty tokens. Numbers are read
// leniently (a leading numeric part, else 0) because the files are not validated.
#include <string_view>
#include <vector>

namespace kv::mapview {

// Lines split at LF with a trailing CR removed; a missing last line end is fine.
std::vector<std::string_view> splitLndLines(std::string_view text);

// Token `index` of `line`, empty when the line has fewer tokens.
std::string_view lndToken(std::string_view line, int index);

// Tokens 0 … count-1 of `line` into `out` (missing ones empty); faster than repeated
// lndToken calls for the tile lines.
void lndTokens(std::string_view line, std::string_view* out, int count);

// The leading decimal number of the text ("12", "-3.5", "128.00abc"), 0 when none.
double parseLndNumber(std::string_view text);
// The same, rounded towards zero and limited to the 32-bit range.
int parseLndInt(std::string_view text);
// A double limited to the 32-bit range (NaN gives 0).
int clampToInt(double value);

} // namespace kv::mapview
