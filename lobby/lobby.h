#pragma once
// The lobby's connections and everything that travels over them: the listening socket
// and the connection array, the greetings, the senders and the receiver of the message
// protocol, the configuration checks and the joint start. State lives in the launcher's
// LobbyState; this object owns the sockets and timers and acts on that state.
#include "lobby/lobby_state.h"
#include "lobby/lobby_surroundings.h"
#include "lobby/message.h"
#include "lobby/notices.h"
#include "lobby/outbox.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QTcpServer;
class QTcpSocket;

namespace kv::lobby {

// Blocks larger than this are dropped unread: no message of ours comes near it.
inline constexpr qint64 kMaxBlockBytes = 64 * 1024;
inline constexpr int kConnectionTimeoutMs = 10000;
inline constexpr int kKeepAliveMs = 10000;
// Chat boxes one peer may cause within the window; the rest of a flood is said once.
inline constexpr int kChatBoxesPerWindow = 8;
inline constexpr int kChatWindowMs = 10000;

class Lobby : public QObject {
    Q_OBJECT
public:
    Lobby(LobbyState& lobbyState, std::unique_ptr<LobbySurroundings> surroundings);
    ~Lobby() override;

    LobbyState& state();
    // Every message goes through here, spaced per connection.
    Outbox& outbox() { return *outbox_; }

    // The user's actions on the page.
    void chooseHost();
    void chooseJoin();
    void addHostIp();
    // The history menu's captions and whether each is enabled ("<Not set>" when empty).
    std::vector<std::pair<std::string, bool>> historyMenu() const;
    void chooseHistoryEntry(int index);
    // A lobby menu entry, by its text.
    void runCommand(const std::string& entry);

    // Connections.
    void prepairListening();
    void DoConnect();
    void DoDisconnect(int index);
    void JoinGame();
    // The status log: kept and announced, never shown by the launcher.
    void Status(const std::string& text);
    bool isConnected(int index) const;
    int connectionCount() const { return int(sockets_.size()); }
    bool listening() const;
    // Tells every peer this launcher leaves and closes every socket.
    void leave();
    QTimer& connectionTimer() { return connectionTimer_; }
    QTimer& keepAliveTimer() { return keepAliveTimer_; }

    // Senders of the protocol.
    void remote_sendNick(int index);
    void remote_sendNick_responce(int index);
    void remote_sendAIConfig(int index);
    void remote_sendKDGConfig(int index);
    void remote_SendMessage(const std::string& text, int index);
    void remote_Disconnect(int index);
    void remote_StartGames();
    void remote_UpdateMyStatus(int index);
    void remote_Ping(int index);
    void remote_PingResponse(int index);
    void remote_synchrinizeAIs(int index);
    void remote_GetUserDetails(int index);
    void remote_SendUserDetails(int index);
    void remote_disableMODs(int index);

    // The receiver: one delivered block from connection `index`.
    void remote_parseCommands(const std::string& block, int index);

    void setNotReady(int index, const std::string& state);
    void DisableAllMODs();
    // The local configuration as "aiconfig" reports it; a missing file is an error.
    AiConfig localAiConfig() const;
    // The "aiconfig" payload of localAiConfig. Reading the sizes takes a while; a burst of
    // greetings shares one reading while the selections stay the same.
    std::string aiConfigToSend();
    // The eight players' and the rules' selection texts.
    std::vector<std::string> localSelections() const;
    std::vector<std::string> activeMods() const;

    // The answered flags of the keep-alive sweep.
    const std::vector<bool>& answered() const { return answered_; }
    void keepAliveSweep();

    // Runs `job` (which may show message boxes) from the top of the event loop, after the
    // ones before it, never inside another; the queue is capped.
    void notify(std::function<void()> job);
    size_t pendingNotices() const { return notices_->pending(); }

    // What JoinGame runs: the start button by default.
    std::function<void()> startGame;
    // Shows the user details window for a record; nothing without a window.
    std::function<void(const UserRecord&)> showUserDetails;

signals:
    void sent(int connection, const std::string& message);
    void received(int connection, const std::string& block);
    // A user list row (1-based) was added or changed.
    void rowChanged(int row);
    // Rows were removed; `count` rows are left.
    void rowsRemoved(int count);
    // Mode, controls, labels or menus changed.
    void changed();
    // A line of the status log.
    void status(const std::string& text);

private:
    struct Error {
        int number;
        std::string description;
    };
    [[noreturn]] static void fail(int number, std::string description);
    // Runs `body`; an error ends it with the common error box naming `operation`.
    void guarded(const char* operation, const std::function<void()>& body);
    static const std::string& field(const std::vector<std::string>& fields, size_t i);

    QTcpSocket* socket(int index) const;
    QTcpSocket* createConnection(int index);
    void adopt(int index, QTcpSocket* socket);
    void scheduleAccept();
    void acceptPending();
    void onIncoming(QTcpSocket* socket);
    void onConnected(int index);
    void onClosed(int index);
    void onDataArrival(int index);
    void onConnectionTimeout();
    // Sends at once: only for steps the outbox runs, and for leaving.
    void send(int index, Command command, const std::string& payload, bool checkConnected = true);
    // Queues a sender on its connection; `body` runs, guarded as `operation`, on its turn.
    void post(int index, const char* operation, std::function<void()> body);
    // Peers beyond the last user record are let in and shown the door at once.
    void refuse(QTcpSocket* incoming);
    // False when the peer has caused its share of chat boxes for now.
    bool chatAllowed(int index, const std::string& nick);
    std::string localAddress() const;
    int selectedConnection() const;

    UserRow& row(int index); // row index+1
    void setRow(int index, const UserRow& row);
    void insertRow(int index, const UserRow& row);
    void removeRow(int position);
    void clearRows();

    // The sizes behind the local configuration.
    std::uint64_t playerScriptSize(int player) const;
    std::uint64_t aiFileSize(const std::string& name) const;
    std::uint64_t rulesFileSize(const std::string& name) const;
    std::uint64_t gameRulesSize() const;

    void onNickname(int index, const std::vector<std::string>& fields);
    void checkAiConfig(int index, const std::vector<std::string>& fields);
    void checkKdgConfig(int index, const std::vector<std::string>& fields);
    void synchronizeAis(int index, const std::vector<std::string>& fields);
    void startGameReceived(const std::vector<std::string>& fields);
    void userDetailsReceived(int index, const std::vector<std::string>& fields);

    LobbyState& state_;
    std::unique_ptr<LobbySurroundings> around_;
    QTcpServer* server_;
    std::vector<QTcpSocket*> sockets_;
    std::vector<bool> answered_;
    QTimer connectionTimer_;
    QTimer keepAliveTimer_;
    Outbox* outbox_;
    Notices* notices_;
    // Per connection: whether its "nickname" has given it a row.
    std::vector<bool> named_;
    // Per connection: when its recent chat boxes were caused, and whether its flood was said.
    std::vector<std::deque<qint64>> chatTimes_;
    std::vector<bool> floodSaid_;
    // Connections whose details the user asked for: shown when the answer comes.
    std::vector<int> detailsWanted_;
    QElapsedTimer clock_;
    bool acceptScheduled_ = false;
    struct AiConfigReading {
        std::vector<std::string> selections;
        std::string payload;
        qint64 atMs = -1;
    } aiConfigReading_;
};

} // namespace kv::lobby
