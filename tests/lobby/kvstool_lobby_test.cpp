// kvstool lobby run as a child process, joining a launcher of this process.
#include "platform/files.h"
#include "tests/lobby/lobby_world.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>


namespace kv::test {
namespace {

struct Tool {
    int exitCode = -1;
    std::string out, err;
};

Tool runTool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(KVSTOOL_PATH), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), p.readAllStandardOutput().toStdString(),
            p.readAllStandardError().toStdString()};
}

TEST(KvstoolLobby, JoinsChatsAndIsAskedToStartByTheHost) {
    ensureCoreApplication();
    EXPECT_EQ(runTool({"lobby", "host", "/tmp", "--answer", "maybe"}).exitCode, 2);
    EXPECT_EQ(runTool({"lobby", "host", "/nonexistent/kvs", "--seconds", "1"}).err,
              "kvstool: /nonexistent/kvs: no such folder\n");

    const auto port = freePort();
    LobbyPeer host("Al", port);
    host.lobby().chooseHost();
    TempFolder guestDir;
    demo::DemoWorld guestWorld;
    std::string error;
    ASSERT_TRUE(demo::writeDemoWorld(guestDir / "demo", true, guestWorld, error)) << error;

    QProcess tool;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(guestDir / "config"));
    tool.setProcessEnvironment(env);
    // The folder as a user types it, relative to where the tool runs.
    tool.setWorkingDirectory(QString::fromStdString(guestDir.path()));
    const std::string relative = guestWorld.launcherFolder.substr(guestDir.path().size());
    tool.start(QStringLiteral(KVSTOOL_PATH),
               {"lobby", "join", QString::fromStdString(relative), "127.0.0.1", "--port",
                QString::number(port), "--nick", "Kay", "--seconds", "60", "--say", "hi\tall",
                "--details"});
    ASSERT_TRUE(tool.waitForStarted());
    std::string out;
    auto readOut = [&] {
        out += tool.readAllStandardOutput().toStdString();
        return out;
    };
    ASSERT_TRUE(waitUntil(
        [&] { return host.ui.messages().size() == 1 && host.rows().size() == 1; }, 20000))
        << readOut();
    EXPECT_EQ(host.ui.messages()[0].title + "|" + host.ui.messages()[0].text, "Message from Kay|hi\tall");
    EXPECT_NE(host.rows()[0].find("|Kay|OK"), std::string::npos);

    host.launcher->options.multiplayerModeOn = 1;
    host.launcher->lobby.session->remote_StartGames();
    ASSERT_TRUE(waitUntil([&] { return readOut().find("\nstart\t") != std::string::npos; }, 20000))
        << out;
    // The host's "disablemods" must not get a Yes to deleting the guest's older MOD.
    ASSERT_TRUE(platform::writeFileAtomic(guestWorld.gameFolder + "Mine.kdg", "newer"));
    ASSERT_TRUE(platform::writeFileAtomic(guestWorld.gameFolder + "Mine.kvw", "older"));
    host.lobby().remote_disableMODs(0);
    ASSERT_TRUE(waitUntil([&] { return readOut().find("disabled all MODs") != out.npos; }, 20000));
    host.state().selectedRow = 0;
    host.lobby().runCommand("Disconnect");
    // The goodbye leaves on the host's next turn: the event loop must run meanwhile.
    ASSERT_TRUE(waitUntil([&] { return tool.state() == QProcess::NotRunning; }, 20000))
        << readOut();
    EXPECT_EQ(tool.exitCode(), 0);
    readOut();

    for (const std::string& line : std::vector<std::string>{
             "row\t1\t127.0.0.1\tAl\tOK\n", "send\t0\tmessage||hi\\tall||Kay\n",
             "recv\t0\tstartgame||127.0.0.1||Al\n",
             "box\t\tAl wants to start a game and be a host, should Al become a host?\\r\\nHost "
             "address: 127.0.0.1\n",
             "details\t127.0.0.1\tAl\t",
             "box\t\tDo you want to start the game now?\n", "recv\t0\tdisconnect|| ||Al\n",
             "disable MOD, you already have a disabled 'Mine' MOD. Delete old file?\nbox\t\tMOD "
             "was not disabled.\n"})
        EXPECT_NE(out.find(line), std::string::npos) << line << "\nin:\n" << out;
    EXPECT_NE(out.find(" +connect \"127.0.0.1\" +name \"Kay\""), std::string::npos) << out;
}

} // namespace
} // namespace kv::test
