// Peers that misbehave: garbage, floods, huge blocks, silence, leaving mid-greeting; and
// a host port that is already taken. The launcher must stay usable after each.
#include "tests/lobby/lobby_world.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <utility>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace kv::test {
namespace {

// A Ui whose boxes stay open a while, running events as a modal box does: a few
// milliseconds, or until `whileOpen` holds (5 s at most) for the next box.
class ModalBoxUi : public ScriptedUi {
public:
    Answer message(const std::string& text, Icon icon, Buttons buttons,
                   const std::string& title) override {
        maxDepth = std::max(maxDepth, ++depth);
        QElapsedTimer open;
        open.start();
        if (auto until = std::exchange(whileOpen, nullptr)) {
            metWhileOpen = waitUntil(until, 5000);
            openMs = open.elapsed();
        } else {
            waitUntil([] { return false; }, 4);
        }
        --depth;
        return ScriptedUi::message(text, icon, buttons, title);
    }
    std::function<bool()> whileOpen;
    bool metWhileOpen = false;
    int depth = 0, maxDepth = 0;
    qint64 openMs = 0;
};

std::unique_ptr<QTcpSocket> rawPeer(std::uint16_t port) {
    auto s = std::make_unique<QTcpSocket>();
    s->connectToHost(QStringLiteral("127.0.0.1"), port);
    EXPECT_TRUE(waitUntil([&] { return s->state() == QAbstractSocket::ConnectedState; }));
    return s;
}

// A plain socket to the host, for peers that write while this process's loop is not running.
int connectedSocket(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return fd;
    ::close(fd);
    return -1;
}

void write(QTcpSocket& s, const std::string& bytes) {
    s.write(bytes.data(), qint64(bytes.size()));
    s.flush();
}

// A launcher hosting on a port of its own, with a Ui of the test's choice.
struct Hosting {
    explicit Hosting(std::unique_ptr<ScriptedUi> ui = nullptr)
        : port(freePort()), host("Al", port, std::move(ui)) {
        host.lobby().chooseHost();
    }
    // The host is still usable: a well-behaved guest gets through the whole greeting.
    void expectAGuestStillGetsGreeted() {
        LobbyPeer guest("Bea", port);
        guest.joinAt("127.0.0.1");
        EXPECT_TRUE(waitUntil(
            [&] {
                const auto rows = host.rows();
                return guest.rows() == std::vector<std::string>{"127.0.0.1|Al|OK"} &&
                       std::find(rows.begin(), rows.end(), "127.0.0.1|Bea|OK") != rows.end();
            },
            10000))
            << testing::PrintToString(guest.rows()) << testing::PrintToString(host.rows());
    }
    std::uint16_t port;
    LobbyPeer host;
};

// Reads from `peer` until `done` holds for what arrived.
std::string readUntil(QTcpSocket& peer, const std::function<bool(const std::string&)>& done) {
    std::string got;
    EXPECT_TRUE(waitUntil([&] {
        got += peer.readAll().toStdString();
        return done(got);
    })) << got;
    return got;
}

TEST(LobbyHostilePeer, SilentAndEarlyPeersAreGreetedAndHeard) {
    Hosting h;
    LobbyPeer& host = h.host;
    auto peer = rawPeer(h.port);
    const std::string got =
        readUntil(*peer, [](const std::string& s) { return s.find("kdgconfig||") != s.npos; });
    EXPECT_EQ(got.rfind("nicknameresponse||127.0.0.1||Al", 0), 0u) << got;
    EXPECT_TRUE(host.rows().empty());

    // Two messages in one block are one message, as the peer's parser reads them.
    write(*peer, "message||one||Zedmessage||two||Zed");
    ASSERT_TRUE(waitUntil([&] { return host.ui.messages().size() == 1; }));
    EXPECT_EQ(host.ui.messages()[0].title + "|" + host.ui.messages()[0].text, "Message from Zedmessage|one");
    write(*peer, "ping||10.1.1.1||Zed");
    EXPECT_EQ(readUntil(*peer, [](const std::string& s) { return !s.empty(); }),
              "pingresponse||127.0.0.1||Al");

    // Three peers send their nick while the host's loop is not running; the silent one has no name.
    std::vector<int> fds;
    for (int i = 0; i < 3; ++i) {
        const int fd = connectedSocket(h.port);
        ASSERT_GE(fd, 0);
        const std::string nick =
            "nickname||10.0.0." + std::to_string(i) + "||P" + std::to_string(i);
        ASSERT_GT(::send(fd, nick.data(), nick.size(), MSG_NOSIGNAL), 0);
        fds.push_back(fd);
    }
    EXPECT_TRUE(waitUntil([&] { return host.rows().size() == 4; }))
        << testing::PrintToString(host.rows());
    auto rows = host.rows();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows,
              (std::vector<std::string>{"10.0.0.0|P0|OK", "10.0.0.1|P1|OK", "10.0.0.2|P2|OK", "|?|?"}));
    for (int fd : fds)
        ::close(fd);
}

TEST(LobbyHostilePeer, GarbageHugeBlocksAndALeavingPeerLeaveTheHostWorking) {
    Hosting h;
    LobbyPeer& host = h.host;
    // A peer leaving mid-greeting: the greeting's remaining messages are dropped silently.
    {
        auto peer = rawPeer(h.port);
        write(*peer, "nickname||10.2.2.2||Gone");
        peer->abort();
    }
    ASSERT_TRUE(waitUntil([&] { return host.rows() == std::vector<std::string>{"10.2.2.2|Gone|OK"}; }));
    waitUntil([] { return false; }, 200);
    EXPECT_TRUE(host.ui.messages().empty()) << host.ui.messageTexts()[0];

    {
        auto peer = rawPeer(h.port);
        QRandomGenerator random(7);
        for (int i = 0; i < 200; ++i) {
            std::string junk(size_t(random.bounded(1, 300)), '\0');
            for (char& c : junk)
                c = char(random.bounded(256));
            if (i % 3 == 0)
                junk = "aiconfig||" + junk; // reaches the checks with nonsense
            write(*peer, junk);
        }
        write(*peer, std::string(300 * 1024, 'x'));
        ASSERT_TRUE(waitUntil([&] { return !host.state().statusLog.empty(); }));
        EXPECT_NE(host.state().statusLog[0].find("Dropped a block of"), std::string::npos);
        peer->abort();
    }
    // Whatever the junk caused was said with the error box, nothing else.
    for (const auto& m : host.ui.messages())
        EXPECT_NE(m.text.find("Error in: remote_parseCommands()"), std::string::npos) << m.text;

    // A second launcher cannot host on the taken port and says why.
    LobbyPeer second("Cy", h.port);
    second.lobby().chooseHost();
    ASSERT_TRUE(waitUntil([&] { return second.ui.messages().size() == 1; }));
    const std::string box = second.ui.messages()[0].text;
    EXPECT_TRUE(box.starts_with("Error:\n10048: ") && box.ends_with("\nError in: prepairListening()"))
        << box;
    EXPECT_EQ(second.state().mode, lobby::LobbyMode::Host);
    EXPECT_FALSE(second.lobby().listening());
    h.expectAGuestStillGetsGreeted();
}

TEST(LobbyHostilePeer, AFloodOfMessagesIsCappedAndSaidOnce) {
    auto owned = std::make_unique<ModalBoxUi>();
    ModalBoxUi& slow = *owned;
    Hosting h(std::move(owned));
    lobby::Lobby& lobby = h.host.lobby();
    // The flood comes from another thread, as from another machine: it goes on while a
    // box is open here.
    std::atomic<bool> floodDone = false;
    std::thread flooder([port = h.port, &floodDone] {
        const int fd = connectedSocket(port);
        if (fd >= 0) {
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            for (int i = 0; i < 10000; ++i) {
                const std::string m = "message||flood " + std::to_string(i) + "||Zed";
                if (::send(fd, m.data(), m.size(), MSG_NOSIGNAL) < 0)
                    break;
                if (i % 20 == 0)
                    std::this_thread::sleep_for(std::chrono::microseconds(300));
            }
            ::close(fd);
        }
        floodDone = true;
    });
    const bool finished =
        waitUntil([&] { return floodDone && lobby.pendingNotices() == 0; }, 60000);
    flooder.join();
    ASSERT_TRUE(finished);
    waitUntil([] { return false; }, 300);
    // A few boxes, then the flood said once.
    const auto texts = slow.messageTexts();
    const auto floodNotices = std::count_if(texts.begin(), texts.end(), [](const std::string& t) {
        return t.find(" sends too many messages; the rest were not shown.") != std::string::npos;
    });
    EXPECT_EQ(floodNotices, 1) << testing::PrintToString(texts);
    EXPECT_LE(texts.size(), size_t(lobby::kChatBoxesPerWindow + 1));
    // Boxes were shown one after the other, never one inside another.
    EXPECT_EQ(slow.maxDepth, 1);
}

TEST(LobbyHostilePeer, ABoxOpenOnTheHostHoldsUpNoGreeting) {
    auto owned = std::make_unique<ModalBoxUi>();
    ModalBoxUi& box = *owned;
    Hosting h(std::move(owned));
    LobbyPeer& host = h.host;
    LobbyPeer guest("Bea", h.port);
    auto peer = rawPeer(h.port);
    write(*peer, "nickname||10.3.3.3||Zed");
    ASSERT_TRUE(waitUntil([&] { return host.rows().size() == 1; }));
    // While Zed's chat box is open, Bea joins; both sides finish the greeting meanwhile.
    bool joined = false;
    box.whileOpen = [&] {
        if (!std::exchange(joined, true))
            guest.joinAt("127.0.0.1");
        return guest.rows() == std::vector<std::string>{"127.0.0.1|Al|OK"} &&
               host.rows().size() == 2 && host.rows()[1] == "127.0.0.1|Bea|OK";
    };
    write(*peer, "message||hold on||Zed");
    ASSERT_TRUE(waitUntil([&] { return box.messages().size() == 1; }, 10000));
    EXPECT_TRUE(box.metWhileOpen) << testing::PrintToString(host.rows());
    EXPECT_LT(box.openMs, 1000);
}

TEST(LobbyHostilePeer, NicknameFloodAndPeersBeyondTheLastRecord) {
    Hosting h;
    LobbyPeer& host = h.host;
    std::vector<std::unique_ptr<QTcpSocket>> peers;
    peers.push_back(rawPeer(h.port));
    for (int i = 0; i < 2000; ++i)
        write(*peers[0],
              "nickname||10.4.4." + std::to_string(i % 250) + "||Zed" + std::to_string(i));
    waitUntil([] { return false; }, 200);
    write(*peers[0], "nickname||10.4.4.4||Zed");
    ASSERT_TRUE(waitUntil([&] {
        return host.rows() == std::vector<std::string>{"10.4.4.4|Zed|OK"};
    })) << testing::PrintToString(host.rows());
    EXPECT_EQ(host.state().sendTo, std::vector<std::string>{"Zed"});
    // Every user record taken: the next connection is let in and closed at once.
    while (peers.size() < size_t(lobby::kUserRecords))
        peers.push_back(rawPeer(h.port));
    QTcpSocket extra;
    extra.connectToHost(QStringLiteral("127.0.0.1"), h.port);
    const std::string refused = "Refused a connection from 127.0.0.1: all 101 places are taken";
    ASSERT_TRUE(waitUntil([&] {
        return !host.state().statusLog.empty() && host.state().statusLog.back() == refused &&
               extra.state() == QAbstractSocket::UnconnectedState;
    }));
    EXPECT_TRUE(host.ui.messages().empty()) << host.ui.messageTexts()[0];
    // Once the silent ones leave, a real peer gets their place and its greeting.
    peers.resize(1);
    ASSERT_TRUE(waitUntil([&] {
        for (int k = 1; k < host.lobby().connectionCount(); ++k)
            if (host.lobby().isConnected(k))
                return false;
        return true;
    }));
    h.expectAGuestStillGetsGreeted();
}

} // namespace
} // namespace kv::test
