// Arbitrary bytes as blocks a peer delivers: parsed and dispatched through every command's
// action on a launcher without connections, files or a window.
#include "common/dialogless_ui.h"
#include "launcher/launcher.h"
#include "launcher/lobby_wiring.h"
#include "lobby/lobby.h"
#include "lobby/message.h"
#include "platform/registry.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// Says no to every question, as a cautious user.
class SilentUi : public kv::DialoglessUi {
public:
    kv::Answer message(const std::string&, kv::Icon, kv::Buttons, const std::string&) override {
        return kv::Answer::No;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "lobby_block_fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    static SilentUi ui;
    static auto registry = kv::platform::makeRegistryBackend("/nonexistent/kv-fuzz/registry.reg");
    if (size < 2)
        return 0;

    // One launcher for the whole run, its lobby state emptied before each input.
    static kv::Launcher& launcher = []() -> kv::Launcher& {
        auto* l = new kv::Launcher("/nonexistent/kv-fuzz/", ui, *registry, {});
        l->installations.setCurrentGameFolder("/nonexistent/kv-fuzz/game/");
        kv::wireLobby(*l);
        l->lobby.session->outbox().setSpacing(0);
        l->lobby.session->startGame = [] {};
        return *l;
    }();
    kv::lobby::Lobby& lobby = *launcher.lobby.session;
    launcher.lobby.rows.clear();
    launcher.lobby.sendTo.clear();
    launcher.lobby.hostLabel.clear();
    // The first byte picks the mode and the connection, the rest are blocks split at NUL.
    launcher.lobby.mode = kv::lobby::LobbyMode(data[0] % 3);
    const int connection = (data[0] / 3) % 110;
    for (int k : {0, connection})
        if (k < kv::lobby::kUserRecords)
            launcher.lobby.users[size_t(k)] = {};
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    while (!rest.empty()) {
        const size_t end = rest.find('\0');
        const std::string block(rest.substr(0, end));
        (void)kv::lobby::parseBlock(block);
        lobby.remote_parseCommands(block, connection);
        lobby.remote_parseCommands(block, 0);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    QCoreApplication::processEvents();
    if (launcher.lobby.rows.size() > kv::lobby::kUserRecords + 1u)
        __builtin_trap();
    return 0;
}
