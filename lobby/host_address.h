#pragma once
// A host address that came from a peer ends up on the game's command line, so it must
// be an address and nothing else: an IPv4 address or a host name.
#include <string_view>

namespace kv::lobby {

inline constexpr size_t kMaxHostNameLength = 253;

// Dotted IPv4, or a host name of letters, digits, '-' and '.', at most 253 characters,
// whose labels are not empty and do not start with '-' (the game would read a switch).
bool isHostAddress(std::string_view text);

} // namespace kv::lobby
