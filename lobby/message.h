#pragma once
// The lobby's wire format: a message is "command||payload||nick", list items inside a
// payload are joined by "//". Building and reading blocks are pure functions.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::lobby {

inline constexpr std::string_view kFieldSeparator = "||";
inline constexpr std::string_view kItemSeparator = "//";
inline constexpr int kPlayers = 8;

// In the order a received command name is compared.
enum class Command {
    Nickname,
    AiConfig,
    Disconnect,
    Message,
    KdgConfig,
    StartGame,
    UpdateMyStatus,
    NicknameResponse,
    Ping,
    PingResponse,
    SynchronAi,
    GetUserDetails,
    SendUserDetails,
    DisableMods,
};

const char* commandName(Command command);

// "command||payload||nick".
std::string buildMessage(Command command, std::string_view payload, std::string_view nick);

// Splits on every occurrence of `separator`; an empty text gives one empty item.
std::vector<std::string> splitOn(std::string_view text, std::string_view separator);
std::string joinItems(const std::vector<std::string>& items, std::string_view separator);

struct Block {
    std::optional<Command> command; // nothing: no command matches, the block is ignored
    std::vector<std::string> fields;
};

// Splits a received block into fields and matches field 0, lower-cased, against the
// command names.
Block parseBlock(std::string_view block);

// What "aiconfig" carries: eight player choices, the rules choice, then their file sizes.
struct AiConfig {
    std::array<std::string, kPlayers> players;
    std::string rules;
    std::array<std::uint64_t, kPlayers> playerSizes{};
    std::uint64_t rulesSize = 0;
};

// 18 items, each followed by "//".
std::string aiConfigPayload(const AiConfig& config);

} // namespace kv::lobby
