// Two launchers in one process meeting over loopback: the greeting, AI synchronisation,
// the remote MOD switch-off, keep-alive pings and the joint start.
#include "tests/lobby/lobby_world.h"

#include "platform/files.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kv::test {
namespace {

struct Pair {
    Pair() : port(freePort()), host("Al", port), guest("Bea", port) {
        host.lobby().chooseHost();
        EXPECT_TRUE(host.lobby().listening());
        guest.joinAt("127.0.0.1");
        EXPECT_TRUE(waitUntil([this] { return greeted(); }, 10000))
            << "host rows: " << testing::PrintToString(host.rows())
            << " guest rows: " << testing::PrintToString(guest.rows());
    }
    bool greeted() {
        return host.rows() == std::vector<std::string>{"127.0.0.1|Bea|OK"} &&
               guest.rows() == std::vector<std::string>{"127.0.0.1|Al|OK"} &&
               !guest.state().users[0].launcherFolder.empty();
    }
    std::uint16_t port;
    LobbyPeer host;
    LobbyPeer guest;
};

TEST(LobbyLoopback, HostAndGuestGreetEachOtherInOrder) {
    Pair p;
    // Each message travelled alone, each greeting in its order; in one process the guest's
    // request for details may be answered in the middle of the host's greeting.
    auto commands = [](const std::vector<std::string>& log) {
        std::vector<std::string> out;
        for (const auto& line : log)
            if (line.find("senduserdetails") == std::string::npos)
                out.push_back(line.substr(0, line.find("||")));
        return out;
    };
    EXPECT_EQ(
        commands(p.guest.sent),
        (std::vector<std::string>{"0|nickname", "0|aiconfig", "0|kdgconfig", "0|getuserdetails"}));
    EXPECT_EQ(commands(p.host.sent),
              (std::vector<std::string>{"0|nicknameresponse", "0|aiconfig", "0|kdgconfig"}));
    EXPECT_EQ(p.host.received, p.guest.sent);
    EXPECT_EQ(p.guest.received, p.host.sent);
    EXPECT_EQ(p.guest.sent[0] + " " + p.guest.sent[2],
              "0|nickname||127.0.0.1||Bea 0|kdgconfig||Tanks//Islands||Bea");
    std::string folders = p.host.world.gameFolder + "|" + p.host.world.launcherFolder;
    std::replace(folders.begin(), folders.end(), '/', '\\');
    EXPECT_EQ(p.guest.state().users[0].gameFolder + "|" + p.guest.state().users[0].launcherFolder,
              folders);
    EXPECT_FALSE(p.host.state().controls.modeOptions || p.guest.state().controls.modeOptions);
    EXPECT_TRUE(p.host.ui.messages().empty() && p.guest.ui.messages().empty());

    // A changed AI shows after "Update my status".
    p.guest.launcher->content.choices.players[4].select("Hunter");
    p.guest.lobby().runCommand("Update my status");
    ASSERT_TRUE(waitUntil([&] { return p.host.rows()[0] == "127.0.0.1|Bea|Not ready (AI)"; }));
    p.guest.state().ipEntry = "127.0.0.1"; // the same address twice is refused
    p.guest.lobby().addHostIp();
    EXPECT_EQ(p.guest.ui.messageTexts(), std::vector<std::string>{"'127.0.0.1' IP already exists"});

    // "Disable all MODs" switches the peer's MODs off; the sender keeps its own.
    p.host.ui.clear();
    p.guest.lobby().runCommand("Disable all MODs");
    ASSERT_TRUE(waitUntil([&] { return p.host.ui.messages().size() == 1; }));
    EXPECT_EQ(p.host.ui.messages()[0].text, "Bea has disabled all MODs");
    const auto hostHas = [&](const char* file) { return platform::fileExists(p.host.game(file)); };
    EXPECT_TRUE(hostHas("Tanks.kvw") && hostHas("Islands.kvw") && !hostHas("Tanks.kdg"));
    EXPECT_TRUE(p.host.lobby().activeMods().empty() && platform::fileExists(p.guest.game("Tanks.kdg")));

    // "Disconnect": the guest's row goes, the host's list empties, both may choose again.
    p.guest.lobby().runCommand("Disconnect");
    ASSERT_TRUE(waitUntil([&] { return p.host.rows().empty() && p.guest.rows().empty(); }));
    EXPECT_TRUE(p.guest.state().controls.modeOptions && p.host.state().controls.modeOptions);
}

TEST(LobbyLoopback, SynchronizeAisBothWaysThenKeepAlivePings) {
    Pair p;
    auto& mine = p.guest.launcher->content.choices;
    mine.players[1].select("Hunter");
    mine.rules.select("Classic");
    p.host.ui.answerMessage(Answer::Yes);
    p.guest.lobby().runCommand("Synchronize AIs");
    ASSERT_TRUE(waitUntil([&] { return p.host.ui.messages().size() == 2; }));
    EXPECT_EQ(p.host.ui.messageTexts(), (std::vector<std::string>{"Bea wants to change AI settings, continue?",
                                                                  "Bea has changed your AI settings"}));
    EXPECT_EQ(p.host.ui.messages()[0].buttons, Buttons::YesNo);
    const auto& theirs = p.host.launcher->content.choices;
    EXPECT_EQ(theirs.choice(1) + "|" + theirs.rulesChoice() + "|" + p.host.launcher->options.ai[1],
              "Hunter|Classic|Hunter");
    // Installed into the host's game as the player's script.
    std::string installed;
    platform::readFile(p.host.game("multiplay/skirmish/player1.vlo"), installed);
    EXPECT_NE(installed.find("player1.slo"), std::string::npos);

    p.host.ui.clear();
    mine.players[1].select("Raider");
    p.host.ui.answerMessage(Answer::No);
    p.guest.lobby().runCommand("Synchronize AIs");
    ASSERT_TRUE(waitUntil([&] { return p.guest.ui.messages().size() == 1; }));
    EXPECT_EQ(p.guest.ui.messages()[0].title + "|" + p.guest.ui.messages()[0].text,
              "Message from Al|Al refused to change AI settings (he is the host)");
    EXPECT_EQ(theirs.choice(1), "Hunter");

    // The other way the joining side is not asked; an AI it lacks keeps that player's choice.
    p.host.ui.clear();
    p.guest.ui.clear();
    p.host.launcher->content.choices.players[5].items.push_back("Ghost");
    p.host.launcher->content.choices.players[5].select("Ghost");
    p.host.lobby().state().selectedRow = 0;
    p.host.lobby().runCommand("Synchronize AIs");
    ASSERT_TRUE(waitUntil([&] { return p.host.ui.messages().size() == 1; }));
    EXPECT_EQ(p.host.ui.messages()[0].text, "'Ghost' AI file was not found on Bea's system");
    const auto told = p.guest.ui.messageTexts();
    ASSERT_GE(told.size(), 2u);
    EXPECT_EQ(told.front() + "|" + told.back() + "|" + p.guest.launcher->content.choices.choice(5),
              "'Ghost' AI file is not installed.\r\nAl was informed about it|"
              "Al has changed your AI settings|<don't change>");

    // A sweep keeps a peer that answered its ping and asks again; one that did not is closed.
    p.guest.lobby().outbox().setSpacing(0); // sent at once: no answer comes between sweeps
    p.guest.lobby().remote_Ping(0);
    ASSERT_TRUE(waitUntil([&] { return p.guest.lobby().answered() == std::vector<bool>{true}; }));
    p.guest.lobby().keepAliveSweep();
    EXPECT_TRUE(p.guest.lobby().isConnected(0) && !p.guest.lobby().answered()[0]);
    EXPECT_EQ(p.guest.sent.back(), "0|ping||127.0.0.1||Bea");
    p.guest.lobby().keepAliveSweep();
    EXPECT_FALSE(p.guest.lobby().isConnected(0));
}

TEST(LobbyLoopback, JointStartBuildsTheGuestsConnectLine) {
    Pair p;
    p.host.launcher->options.multiplayerModeOn = 1;
    // The host label already names the host: one question.
    p.guest.lobby().runCommand("Set User as host");
    EXPECT_EQ(p.guest.state().hostLabel, "127.0.0.1");
    p.guest.ui.answerMessage(Answer::Yes);
    p.host.launcher->lobby.session->remote_StartGames();
    ASSERT_TRUE(waitUntil([&] { return !p.guest.started.empty(); }));
    EXPECT_EQ(
        p.guest.ui.messageTexts(),
        std::vector<std::string>{"Al wants to start the game now, do you want to launch Korvane?"});
    EXPECT_NE(p.guest.started[0].find(" +connect \"127.0.0.1\" +name \"Bea\""), std::string::npos)
        << p.guest.started[0];

    // A host whose address carries switches is refused without a question.
    p.guest.ui.clear();
    p.guest.lobby().remote_parseCommands(
        "startgame||1.2.3.4\" -ovyrdelmkasitroquenbafp -game \"CAM_3A||Al", 0);
    waitUntil([] { return false; }, 50);
    EXPECT_TRUE(p.guest.ui.messages().empty());
    EXPECT_EQ(p.guest.state().hostLabel, "127.0.0.1");
    EXPECT_EQ(p.guest.state().statusLog.back(),
              "Refused a start from Al: '1.2.3.4\" -ovyrdelmkasitroquenbafp -game \"CAM_3A' is "
              "not an IPv4 address or a host name");

    // Declined: nothing starts. The host ignores "startgame" itself.
    p.guest.ui.answerMessage(Answer::No);
    p.host.launcher->lobby.session->remote_StartGames();
    ASSERT_TRUE(waitUntil([&] { return p.guest.ui.messages().size() == 1; }));
    p.host.lobby().remote_parseCommands("startgame||1.2.3.4||Bea", 0);
    EXPECT_EQ(p.guest.started.size(), 1u);
    EXPECT_TRUE(p.host.ui.messages().empty());
}

} // namespace
} // namespace kv::test
