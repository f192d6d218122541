#pragma once
// `Addresses`: where one release of the game keeps the figures the debug monitor shows.
// Absolute addresses in the game process; other releases would need other tables.
#include <array>
#include <cstdint>

namespace kv::debugmon {

inline constexpr int kPlayers = 8;

using Address = std::uint64_t;
using PlayerAddresses = std::array<Address, kPlayers>;

struct Addresses {
    PlayerAddresses power;    // 4 bytes each
    PlayerAddresses colour;   // 1 byte each
    PlayerAddresses trucks;   // 4 bytes each
    PlayerAddresses units;    // 4 bytes each
    PlayerAddresses derricks; // 1 byte each
    Address debugFlag = 0;    // 2 bytes, one for the game
};

// The table of the release this monitor was written for.
const Addresses& gameAddresses();

} // namespace kv::debugmon
