// The lobby's place in the launcher: the start of the game and the closing.
#include "core/game_start.h"
#include "core/launcher.h"
#include "lobby/lobby.h"

namespace kv::lobby {

std::string parseNick(const std::string& text) {
    return text;
}

void wireLobby(Launcher& l) {
    auto lobby = std::make_shared<Lobby>(l);
    Lobby* session = lobby.get();
    l.lobby.session = std::move(lobby);
    session->startGame = [&l] { (void)kv::startGame(l); };
    LauncherHooks& h = l.hooks;
    h.tellPeersToStart = [session] { session->remote_StartGames(); };
    h.fillMultiplayerSwitches = [&l](MultiplayerSwitches& mp) {
        mp.role = l.lobby.mode == LobbyMode::Join ? LobbyRole::Join : LobbyRole::Host;
        mp.hostLabel = l.lobby.hostLabel;
        mp.localAddress = l.lobby.localAddress;
    };
    h.leaveLobby = [session] { session->leave(); };
}

} // namespace kv::lobby
