#pragma once
// What the lobby keeps for the whole run: the user list and the user records, the mode,
// the host label and the state of the lobby's controls. The page mirrors it; the
// connections themselves live in the Lobby object the launcher holds here.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kv::lobby {

class Lobby;

inline constexpr int kUserRecords = 101;
inline constexpr int kMaxPeerMods = 31;
inline constexpr std::uint16_t kDefaultPort = 9966;

struct UserRecord {
    std::string ip;
    std::string nick;
    std::array<std::string, 8> ais;
    std::array<std::string, kMaxPeerMods> mods;
    std::int16_t modCount = 0;
    std::string rules;
    std::string gameFolder;
    std::string launcherFolder;
    std::string notReady; // "", "ai", "kdg" or "rules"
};

// One row of the user list: its text ("IP") and the "User" and "Configuration" columns.
struct UserRow {
    std::string ip;
    std::string user = "?";
    std::string configuration = "?";
};

enum class LobbyMode { None, Host, Join };

// Which lobby controls are enabled.
struct LobbyControls {
    bool modeOptions = true; // "Host" and "Join"
    bool add = true;
    bool connect = false;
    bool disconnect = false;
    bool getStatus = false;
    bool setHost = false;
    bool sendMessage = false;
    bool updateStatus = false;
    bool userDetails = false;
    bool gameNameEditable = false;
};

struct LobbyState {
    LobbyMode mode = LobbyMode::None;
    std::string hostLabel;    // the chosen host's address; the joining side connects there
    std::string localAddress; // "Your IP": this computer's address
    std::string ipEntry;      // the IP entry field
    std::vector<UserRow> rows;
    int selectedRow = -1; // index into rows, -1 for none
    std::array<UserRecord, kUserRecords> users;
    std::vector<std::string> sendTo; // the "Send to" menu: one entry per nick received
    LobbyControls controls;
    std::uint16_t port = kDefaultPort; // other values only in tests
    // Lines of the status log; the launcher shows none of them.
    std::vector<std::string> statusLog;
    // The connections; set by wireLobby.
    std::shared_ptr<Lobby> session;
};

} // namespace kv::lobby
