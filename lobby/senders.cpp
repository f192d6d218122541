// The senders of the lobby protocol, the error boundary every lobby operation shares and
// the queue of notices a peer causes.
#include "common/error_box.h"
#include "core/launcher.h"
#include "lobby/lobby.h"

#include <QTcpSocket>

#include <algorithm>
#include <exception>
#include <new>
#include <stdexcept>

namespace kv::lobby {

void Lobby::fail(int number, std::string description) {
    throw Error{number, std::move(description)};
}

const std::string& Lobby::field(const std::vector<std::string>& fields, size_t i) {
    if (i >= fields.size())
        fail(9, "Subscript out of range");
    return fields[i];
}

void Lobby::guarded(const char* operation, const std::function<void()>& body) {
    std::optional<Error> error;
    try {
        body();
    } catch (const Error& e) {
        error = e;
    } catch (const std::out_of_range&) {
        error = Error{9, "Subscript out of range"};
    } catch (const std::bad_alloc&) {
        error = Error{7, "Out of memory"};
    } catch (const std::exception& e) {
        error = Error{5, e.what()};
    }
    if (error)
        notify([this, e = *error, op = std::string(operation)] {
            showErrorBox(launcher_.ui(), e.number, e.description, op);
        });
}

void Lobby::notify(std::function<void()> job) {
    if (notices_.size() >= kMaxPendingNotices) {
        if (!dropSaid_) {
            dropSaid_ = true;
            // Said once per flood, when its turn comes.
            notices_.emplace_back([this] {
                launcher_.ui().message("Too many messages from other players at once; "
                                       "the rest were not shown.",
                                       Icon::Exclamation);
            });
        }
        return;
    }
    notices_.push_back(std::move(job));
    drainNotices();
}

void Lobby::drainNotices() {
    // A box shown now lets events run; a notice caused meanwhile waits for this one.
    if (showingNotices_)
        return;
    showingNotices_ = true;
    while (!notices_.empty()) {
        auto job = std::move(notices_.front());
        notices_.pop_front();
        job();
    }
    showingNotices_ = false;
    dropSaid_ = false;
}

void Lobby::send(int index, Command command, const std::string& payload, bool checkConnected) {
    if (!isConnected(index)) {
        if (checkConnected)
            return;
        socket(index); // a missing element is its own error
        fail(40006, "Wrong protocol or connection state for the requested transaction or request");
    }
    const std::string message = buildMessage(command, payload, launcher_.nickParsed);
    QTcpSocket* c = socket(index);
    c->write(message.data(), qint64(message.size()));
    c->flush();
    emit sent(index, message);
}

void Lobby::remote_sendNick(int index) {
    guarded("remote_sendNick", [&] { send(index, Command::Nickname, localAddress()); });
}

void Lobby::remote_sendNick_responce(int index) {
    guarded("remote_sendNick_responce",
            [&] { send(index, Command::NicknameResponse, localAddress()); });
}

void Lobby::remote_sendAIConfig(int index) {
    guarded("remote_sendAIConfig", [&] {
        pacingPause();
        if (!isConnected(index))
            return;
        send(index, Command::AiConfig, aiConfigPayload(localAiConfig()));
    });
}

void Lobby::remote_sendKDGConfig(int index) {
    guarded("remote_sendKDGConfig", [&] {
        if (!isConnected(index))
            return;
        pacingPause();
        send(index, Command::KdgConfig, joinItems(activeMods(), kItemSeparator));
    });
}

void Lobby::remote_SendMessage(const std::string& text, int index) {
    guarded("remote_SendMessage", [&] { send(index, Command::Message, text); });
}

void Lobby::remote_Disconnect(int index) {
    guarded("remote_Disconnect", [&] { send(index, Command::Disconnect, " "); });
}

void Lobby::remote_StartGames() {
    guarded("remote_StartGames", [&] {
        const int rows = int(state().rows.size());
        for (int k = 0; k < rows; ++k)
            send(k, Command::StartGame, localAddress());
    });
}

void Lobby::remote_UpdateMyStatus(int index) {
    guarded("remote_UpdateMyStatus", [&] { send(index, Command::UpdateMyStatus, " "); });
}

void Lobby::remote_Ping(int index) {
    guarded("remote_Ping", [&] {
        pacingPause();
        send(index, Command::Ping, localAddress());
    });
}

void Lobby::remote_PingResponse(int index) {
    guarded("remote_PingResponse", [&] {
        pacingPause();
        send(index, Command::PingResponse, localAddress(), false);
    });
}

void Lobby::remote_synchrinizeAIs(int index) {
    guarded("remote_synchrinizeAIs", [&] {
        send(index, Command::SynchronAi, joinItems(localSelections(), kItemSeparator));
    });
}

void Lobby::remote_GetUserDetails(int index) {
    guarded("remote_GetUserDetails", [&] {
        pacingPause();
        send(index, Command::GetUserDetails, " ");
    });
}

void Lobby::remote_SendUserDetails(int index) {
    guarded("remote_SendUserDetails", [&] {
        if (!isConnected(index))
            return;
        pacingPause();
        // Folders travel in the game's own form: a '/' would run into the "//" between them.
        auto wireForm = [](std::string folder) {
            std::replace(folder.begin(), folder.end(), '/', '\\');
            return folder;
        };
        send(index, Command::SendUserDetails,
             wireForm(launcher_.installations.currentGameFolder()) + std::string(kItemSeparator) +
                 wireForm(launcher_.paths.launcherFolder));
    });
}

void Lobby::remote_disableMODs(int index) {
    guarded("remote_disableMODs", [&] {
        pacingPause();
        send(index, Command::DisableMods, "");
    });
}

} // namespace kv::lobby
