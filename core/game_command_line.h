#pragma once
// The game's command line, built from the option set: display, map and misc parts, the
// hidden debug switch and the multiplayer switches. Everything here is a pure function
// except AddMiscToCommandLine, which also writes the game's registry values.
#include "core/options.h"

#include <array>
#include <cstdint>
#include <string>

namespace kv {

class Registry;

inline constexpr const char* kGameRegistryKey =
    "HKEY_LOCAL_MACHINE\\Software\\Bramble Studios\\KorvaneTactics";
inline constexpr const char* kGameDebugSwitch = "ovyrdelmkasitroquenbafp";

enum class LobbyRole { Host, Join };

// What the lobby knows about the coming multiplayer game.
struct MultiplayerSwitches {
    LobbyRole role = LobbyRole::Host;
    std::string hostLabel;    // joining: the host chosen in the lobby
    std::string localAddress; // hosting: this computer's address as the lobby socket has it
    std::string gameName;
    std::string nick; // the parsed nick name
};

// The values the game reads from its registry key.
struct GameRegistryValues {
    std::uint32_t alliance = 0;
    std::array<std::string, 6> phrases;
    std::uint32_t scroll = 0;
    std::uint32_t base = 0;
};

// " " + renderer switch, then " -" + the resolution's first four characters unless the
// resolution is "Default" (an index outside the list counts as "Default").
std::string AddDisplayToCommandLine(const OptionSet& options);
// "-game " + the campaign's map name when the campaign check box is on, else empty.
std::string AddMapToCommandLine(const OptionSet& options);
// "-intro" or empty; writes the game registry values.
std::string AddMiscToCommandLine(const OptionSet& options, Registry& registry);
// The misc part alone, without touching the registry.
std::string miscPart(const OptionSet& options);

// "FASTPLAY" for "Demo", "CAM_1A" to "CAM_3A" for the campaigns, any other text as it is.
std::string campaignMapName(const std::string& campaign);

GameRegistryValues gameRegistryValues(const OptionSet& options);
void writeGameRegistryValues(Registry& registry, const GameRegistryValues& values);

// " -ovyr..." with "Debug on", else empty.
std::string debugSwitch(const OptionSet& options);
// The " +connect"/" +host ... +hostname" and " +name" tail; empty for a single player game.
std::string multiplayerTail(const OptionSet& options, const MultiplayerSwitches& lobby);

// The whole command line as the start button would pass it, without writing anything.
std::string gameCommandLine(const OptionSet& options, const MultiplayerSwitches& lobby);

} // namespace kv
