// The listening socket, the connection array and their handlers, the lobby's modes and
// the time-outs.
#include "common/error_box.h"
#include "lobby/lobby.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>

namespace kv::lobby {

namespace {

constexpr int kAcceptsPerPass = 4;

// The first IPv4 address of an interface that is up and not the loopback; the loopback
// when there is none.
std::string firstLocalAddress() {
    for (const QNetworkInterface& itf : QNetworkInterface::allInterfaces()) {
        const auto flags = itf.flags();
        if (!(flags & QNetworkInterface::IsUp) || (flags & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry& entry : itf.addressEntries())
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return entry.ip().toString().toStdString();
    }
    return "127.0.0.1";
}

// The socket layer's error numbers, as the common error box shows them.
int socketErrorNumber(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAccessError:
        return 10013;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    default:
        return 40006;
    }
}

} // namespace

Lobby::Lobby(LobbyState& lobbyState, std::unique_ptr<LobbySurroundings> surroundings)
    : state_(lobbyState), around_(std::move(surroundings)), server_(new QTcpServer(this)),
      outbox_(new Outbox(this)),
      notices_(new Notices(
          [this] {
              around_->ui().message("Too many messages from other players at once; "
                                    "the rest were not shown.",
                                    Icon::Exclamation);
          },
          this)) {
    clock_.start();
    LobbyState& s = state();
    if (s.localAddress.empty())
        s.localAddress = firstLocalAddress();
    createConnection(0);
    connectionTimer_.setInterval(kConnectionTimeoutMs);
    connect(&connectionTimer_, &QTimer::timeout, this, [this] { onConnectionTimeout(); });
    // Created disabled and never enabled by the lobby: pings are answered, not sent.
    keepAliveTimer_.setInterval(kKeepAliveMs);
    connect(&keepAliveTimer_, &QTimer::timeout, this, [this] { keepAliveSweep(); });
    // The system queues a whole burst of peers (by default it holds 50, and a peer beyond
    // retries only a second later); the server takes over a few of them at a time, so that
    // accepting them never holds up the rest of the lobby.
    server_->setListenBacklogSize(2 * kUserRecords);
    server_->setMaxPendingConnections(kAcceptsPerPass);
    // Taken from a timer, not inside the notification: taking them there would let the
    // server go on accepting the whole burst in one go.
    connect(server_, &QTcpServer::newConnection, this, [this] { scheduleAccept(); });
}

void Lobby::scheduleAccept() {
    if (acceptScheduled_)
        return;
    acceptScheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        acceptScheduled_ = false;
        acceptPending();
    });
}

void Lobby::acceptPending() {
    // A burst is taken a few at a time, so that sockets and timers run in between; in the
    // order they came, the first to connect being the first greeted.
    for (int i = 0; i < kAcceptsPerPass; ++i) {
        QTcpSocket* incoming = server_->nextPendingConnection();
        if (!incoming)
            return;
        onIncoming(incoming);
    }
    if (server_->hasPendingConnections())
        scheduleAccept();
}

Lobby::~Lobby() {
    for (QTcpSocket* s : sockets_)
        if (s)
            s->disconnect(this);
}

LobbyState& Lobby::state() {
    return state_;
}

std::string Lobby::localAddress() const {
    return state_.localAddress;
}

bool Lobby::listening() const {
    return server_->isListening();
}

QTcpSocket* Lobby::socket(int index) const {
    if (index < 0 || size_t(index) >= sockets_.size() || !sockets_[size_t(index)])
        fail(340, "Control array element '" + std::to_string(index) + "' doesn't exist");
    return sockets_[size_t(index)];
}

bool Lobby::isConnected(int index) const {
    return index >= 0 && size_t(index) < sockets_.size() && sockets_[size_t(index)] &&
           sockets_[size_t(index)]->state() == QAbstractSocket::ConnectedState;
}

QTcpSocket* Lobby::createConnection(int index) {
    auto* s = new QTcpSocket(this);
    adopt(index, s);
    return s;
}

void Lobby::adopt(int index, QTcpSocket* s) {
    if (size_t(index) >= sockets_.size())
        sockets_.resize(size_t(index) + 1, nullptr);
    if (QTcpSocket* old = sockets_[size_t(index)]; old && old != s) {
        old->disconnect(this);
        old->abort();
        old->deleteLater();
    }
    // What the connection's previous peer had coming is not for the new one.
    outbox_->forget(index);
    if (named_.size() <= size_t(index)) {
        named_.resize(size_t(index) + 1, false);
        chatTimes_.resize(size_t(index) + 1);
        floodSaid_.resize(size_t(index) + 1, false);
    }
    named_[size_t(index)] = false;
    chatTimes_[size_t(index)].clear();
    floodSaid_[size_t(index)] = false;
    detailsWanted_.erase(std::remove(detailsWanted_.begin(), detailsWanted_.end(), index),
                         detailsWanted_.end());
    sockets_[size_t(index)] = s;
    s->setParent(this);
    connect(s, &QTcpSocket::connected, this, [this, index] {
        sockets_[size_t(index)]->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QMetaObject::invokeMethod(
            this, [this, index] { onConnected(index); }, Qt::QueuedConnection);
    });
    connect(s, &QTcpSocket::disconnected, this, [this, index] { onClosed(index); });
    connect(s, &QTcpSocket::readyRead, this, [this, index] { onDataArrival(index); });
    // An accepted peer may have spoken before it was handed over; that data gives no
    // further notice.
    if (s->bytesAvailable() > 0)
        QMetaObject::invokeMethod(
            this, [this, index] { onDataArrival(index); }, Qt::QueuedConnection);
}

void Lobby::prepairListening() {
    guarded("prepairListening", [this] {
        server_->close();
        if (!server_->listen(QHostAddress::Any, state().port))
            fail(socketErrorNumber(server_->serverError()), server_->errorString().toStdString());
    });
}

void Lobby::chooseHost() {
    LobbyState& s = state();
    s.mode = LobbyMode::Host;
    around_->setMultiplayerMode();
    s.controls.gameNameEditable = true;
    s.controls.add = false;
    emit changed();
    prepairListening();
}

void Lobby::chooseJoin() {
    LobbyState& s = state();
    s.mode = LobbyMode::Join;
    around_->setMultiplayerMode();
    s.controls.gameNameEditable = false;
    server_->close();
    if (s.rows.empty())
        s.controls.add = true;
    emit changed();
}

void Lobby::DoConnect() {
    guarded("DoConnect", [this] {
        LobbyState& s = state();
        const int n = int(s.rows.size());
        if (n == 0)
            return;
        QTcpSocket* c = n >= 2 ? createConnection(n - 1) : socket(0);
        c->abort();
        outbox_->forget(n - 1);
        c->connectToHost(QString::fromStdString(s.rows[size_t(n - 1)].ip), s.port);
        s.controls.modeOptions = false;
        connectionTimer_.start();
        emit changed();
    });
}

void Lobby::onConnected(int index) {
    LobbyState& s = state();
    s.controls.disconnect = s.controls.getStatus = s.controls.updateStatus =
        s.controls.sendMessage = true;
    connectionTimer_.stop();
    emit changed();
    // Each goes out on its own turn of this connection.
    remote_sendNick(index);
    remote_sendAIConfig(index);
    remote_sendKDGConfig(index);
    remote_GetUserDetails(index);
}

void Lobby::onConnectionTimeout() {
    if (QTcpSocket* c = sockets_.empty() ? nullptr : sockets_[0])
        c->abort();
    LobbyState& s = state();
    s.controls.connect = true;
    s.controls.modeOptions = true;
    connectionTimer_.stop();
    emit changed();
}

void Lobby::refuse(QTcpSocket* incoming) {
    // The listening socket takes both families; an IPv4 peer is shown as one.
    bool isV4 = false;
    const quint32 v4 = incoming->peerAddress().toIPv4Address(&isV4);
    const std::string peer =
        (isV4 ? QHostAddress(v4) : incoming->peerAddress()).toString().toStdString();
    incoming->setParent(this);
    incoming->abort();
    incoming->deleteLater();
    Status("Refused a connection from " + peer + ": all " + std::to_string(kUserRecords) +
           " places are taken");
}

void Lobby::onIncoming(QTcpSocket* incoming) {
    LobbyState& s = state();
    // The next connection is the one after the last row; one still in use by a peer whose
    // nick has not arrived yet is not taken over.
    int n = int(s.rows.size());
    while (isConnected(n))
        ++n;
    if (n >= kUserRecords) {
        refuse(incoming);
        return;
    }
    incoming->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    adopt(n, incoming);
    s.controls.modeOptions = false;
    connectionTimer_.stop();
    if (s.mode == LobbyMode::Join)
        s.controls.connect = true;
    s.controls.disconnect = s.controls.getStatus = s.controls.updateStatus =
        s.controls.sendMessage = s.controls.setHost = s.controls.userDetails = true;
    emit changed();
    remote_sendNick_responce(n);
    remote_sendAIConfig(n);
    remote_sendKDGConfig(n);
}

void Lobby::onClosed(int index) {
    // What is still queued stays: a send finds the connection closed and is skipped, and
    // a queued close is still due.
    if (QTcpSocket* c = sockets_[size_t(index)])
        c->close();
}

void Lobby::onDataArrival(int index) {
    QTcpSocket* c = sockets_[size_t(index)];
    if (!c)
        return;
    if (c->bytesAvailable() > kMaxBlockBytes) {
        const qint64 dropped = c->bytesAvailable();
        c->readAll();
        Status("Dropped a block of " + std::to_string(dropped) + " bytes from connection " +
               std::to_string(index));
        return;
    }
    const QByteArray bytes = c->readAll();
    std::string block(bytes.constData(), size_t(bytes.size()));
    emit received(index, block);
    remote_parseCommands(block, index);
}

void Lobby::DoDisconnect(int index) {
    guarded("DoDisconnect", [this, index] {
        LobbyState& s = state();
        if (index >= 0 && size_t(index) < s.rows.size()) {
            s.rows[size_t(index)].user = "?";
            s.rows[size_t(index)].configuration = "?";
            emit rowChanged(index + 1);
        }
        s.controls.disconnect = s.controls.getStatus = s.controls.updateStatus =
            s.controls.sendMessage = true;
        socket(index)->close();
        outbox_->forget(index);
        if (s.mode == LobbyMode::Join) {
            if (s.selectedRow >= 0 && size_t(s.selectedRow) < s.rows.size())
                removeRow(s.selectedRow);
            s.controls.add = true;
        }
        bool anyConnected = false;
        for (int k = 0; k < int(s.rows.size()); ++k)
            anyConnected = anyConnected || isConnected(k);
        if (!anyConnected) {
            s.controls.modeOptions = true;
            s.controls.connect = true;
            s.controls.disconnect = s.controls.getStatus = s.controls.updateStatus =
                s.controls.sendMessage = false;
            if (s.mode == LobbyMode::Host)
                clearRows();
        }
        s.controls.connect = false;
        emit changed();
    });
}

void Lobby::keepAliveSweep() {
    const size_t upper = sockets_.empty() ? 0 : sockets_.size() - 1;
    answered_.resize(upper + 1, false);
    for (size_t k = 0; k <= upper && k < sockets_.size(); ++k) {
        if (!isConnected(int(k)))
            continue;
        if (!answered_[k]) {
            sockets_[k]->close();
            outbox_->forget(int(k));
            continue;
        }
        answered_[k] = false;
        remote_Ping(int(k));
    }
}

void Lobby::leave() {
    // At the end there is no later turn: the goodbye goes at once, whatever was queued.
    for (int k = 0; k < int(sockets_.size()); ++k)
        if (isConnected(k)) {
            outbox_->forget(k);
            guarded("remote_Disconnect", [&] { send(k, Command::Disconnect, " "); });
            sockets_[size_t(k)]->flush();
        }
    for (QTcpSocket* c : sockets_)
        if (c)
            c->close();
    server_->close();
}

void Lobby::Status(const std::string& text) {
    state().statusLog.push_back(text);
    emit status(text);
}

void Lobby::JoinGame() {
    if (startGame)
        startGame();
}

} // namespace kv::lobby
