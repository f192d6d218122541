#pragma once
// The figures read from the game at one update, and the texts the monitor shows for them.
#include "debugmon/addresses.h"

#include <array>
#include <cstdint>
#include <string>

namespace kv::debugmon {

// The 4-byte figures are kept whole and shown as signed 32-bit numbers: a value outside
// the 16-bit range is then visible as what the game holds instead of a wrapped or
// clamped number that looks plausible but is wrong.
struct PlayerRecord {
    std::int32_t power = 0;
    std::uint8_t colour = 0;
    std::int32_t trucks = 0;
    std::int32_t units = 0;
    std::uint8_t derricks = 0;
    bool operator==(const PlayerRecord&) const = default;
};

struct GameFigures {
    std::array<PlayerRecord, kPlayers> players{};
    std::uint16_t debugFlag = 0;
    bool debugOn() const { return debugFlag != 0; }
    bool operator==(const GameFigures&) const = default;
};

// The report's rows in their order, with the texts of their cells, one per player.
inline constexpr std::array<const char*, 5> kReportRows{"Power", "Color", "Total Trucks",
                                                        "Total Units", "Derricks"};
using ReportCells = std::array<std::array<std::string, kPlayers>, kReportRows.size()>;
ReportCells reportCells(const GameFigures& figures);

// "True" or "False", as the debug label shows the flag.
const char* debugFlagText(const GameFigures& figures);

} // namespace kv::debugmon
