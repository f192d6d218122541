#pragma once
// A lobby peer for tests: a launcher on its own demo world, started and wired to the
// content area and the lobby as kvstarter does it, answering through a scripted Ui.
#include "launcher/launcher.h"
#include "lobby/lobby.h"
#include "platform/registry.h"
#include "tests/support/scripted_ui.h"
#include "tests/support/temp_folder.h"
#include "tools/demo/demo_world.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kv::test {

void ensureCoreApplication();

// Runs the event loop until `done` holds; false after `timeoutMs`.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// A TCP port nobody listens on now.
std::uint16_t freePort();

struct LobbyPeer {
    // `customUi` replaces the scripted Ui, for boxes that behave differently.
    LobbyPeer(const std::string& nick, std::uint16_t port,
              std::unique_ptr<ScriptedUi> customUi = nullptr);

    lobby::Lobby& lobby() { return *launcher->lobby.session; }
    lobby::LobbyState& state() { return launcher->lobby; }
    // The user list as "ip|user|configuration" per row.
    std::vector<std::string> rows() const;
    std::string game(const std::string& rel) const { return world.gameFolder + rel; }

    // Join mode, the host's address added and "Connect".
    void joinAt(const std::string& address);

    TempFolder tmp;
    demo::DemoWorld world;
    std::unique_ptr<ScriptedUi> uiHolder;
    ScriptedUi& ui;
    std::unique_ptr<platform::RegistryBackend> registry;
    std::unique_ptr<Launcher> launcher;
    std::vector<std::string> sent;     // "conn|message"
    std::vector<std::string> received; // "conn|block"
    std::vector<std::string> started;  // command lines JoinGame would run
};

} // namespace kv::test
