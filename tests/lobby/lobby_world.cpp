#include "tests/lobby/lobby_world.h"

#include "launcher/content_wiring.h"
#include "core/game_command_line.h"
#include "launcher/game_start.h"
#include "launcher/lobby_wiring.h"
#include "launcher/startup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QThread>

#include <gtest/gtest.h>

namespace kv::test {

void ensureCoreApplication() {
    static int argc = 1;
    static char name[] = "lobby_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // never destroyed, as Qt's globals may go first
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

std::uint16_t freePort() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    return probe.serverPort();
}

LobbyPeer::LobbyPeer(const std::string& nick, std::uint16_t port,
                     std::unique_ptr<ScriptedUi> customUi)
    : uiHolder(customUi ? std::move(customUi) : std::make_unique<ScriptedUi>()), ui(*uiHolder) {
    ensureCoreApplication();
    std::string error;
    EXPECT_TRUE(demo::writeDemoWorld(tmp / "demo", true, world, error)) << error;
    registry = platform::makeRegistryBackend(tmp / "registry.reg");
    launcher = std::make_unique<Launcher>(world.launcherFolder, ui, *registry,
                                          [](const std::string&) { return true; });
    launcher->lobby.localAddress = "127.0.0.1";
    launcher->lobby.port = port;
    wireLobby(*launcher);
    EXPECT_TRUE(runStartup(*launcher, ""));
    EXPECT_EQ(ui.messageTexts(), std::vector<std::string>{});
    launcher->nick = launcher->nickParsed = nick;
    lobby().startGame = [this] {
        started.push_back(
            gameCommandLine(launcher->options, currentMultiplayerSwitches(*launcher)));
    };
    QObject::connect(&lobby(), &lobby::Lobby::sent, [this](int c, const std::string& m) {
        sent.push_back(std::to_string(c) + "|" + m);
    });
    QObject::connect(&lobby(), &lobby::Lobby::received, [this](int c, const std::string& b) {
        received.push_back(std::to_string(c) + "|" + b);
    });
}

std::vector<std::string> LobbyPeer::rows() const {
    std::vector<std::string> out;
    for (const auto& r : launcher->lobby.rows)
        out.push_back(r.ip + "|" + r.user + "|" + r.configuration);
    return out;
}

void LobbyPeer::joinAt(const std::string& address) {
    lobby().chooseJoin();
    state().ipEntry = address;
    lobby().addHostIp();
    lobby().runCommand("Connect");
}

} // namespace kv::test
