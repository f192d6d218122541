// The senders of the lobby protocol, the error boundary every lobby operation shares and
// the queue of notices a peer causes.
#include "common/error_box.h"
#include "lobby/lobby.h"
#include "platform/text.h"

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
            showErrorBox(around_->ui(), e.number, e.description, op);
        });
}

void Lobby::notify(std::function<void()> job) {
    notices_->post(std::move(job));
}

void Lobby::post(int index, const char* operation, std::function<void()> body) {
    outbox_->queue(index, [this, operation, body = std::move(body)] { guarded(operation, body); });
}

void Lobby::send(int index, Command command, const std::string& payload, bool checkConnected) {
    if (!isConnected(index)) {
        if (checkConnected)
            return;
        socket(index); // a missing element is its own error
        fail(40006, "Wrong protocol or connection state for the requested transaction or request");
    }
    const std::string message = buildMessage(command, payload, around_->nick());
    QTcpSocket* c = socket(index);
    c->write(message.data(), qint64(message.size()));
    c->flush();
    emit sent(index, message);
}

void Lobby::remote_sendNick(int index) {
    post(index, "remote_sendNick",
         [this, index] { send(index, Command::Nickname, localAddress()); });
}

void Lobby::remote_sendNick_responce(int index) {
    post(index, "remote_sendNick_responce",
         [this, index] { send(index, Command::NicknameResponse, localAddress()); });
}

void Lobby::remote_sendAIConfig(int index) {
    post(index, "remote_sendAIConfig", [this, index] {
        if (!isConnected(index))
            return;
        send(index, Command::AiConfig, aiConfigToSend());
    });
}

void Lobby::remote_sendKDGConfig(int index) {
    post(index, "remote_sendKDGConfig", [this, index] {
        if (!isConnected(index))
            return;
        send(index, Command::KdgConfig, joinItems(activeMods(), kItemSeparator));
    });
}

void Lobby::remote_SendMessage(const std::string& text, int index) {
    // Peers read chat in the Windows code page, as the game's own world is written.
    post(index, "remote_SendMessage", [this, index, text = platform::utf8ToCp1252(text)] {
        send(index, Command::Message, text);
    });
}

void Lobby::remote_Disconnect(int index) {
    post(index, "remote_Disconnect", [this, index] { send(index, Command::Disconnect, " "); });
}

void Lobby::remote_StartGames() {
    const int rows = int(state().rows.size());
    for (int k = 0; k < rows; ++k)
        post(k, "remote_StartGames", [this, k] { send(k, Command::StartGame, localAddress()); });
}

void Lobby::remote_UpdateMyStatus(int index) {
    post(index, "remote_UpdateMyStatus",
         [this, index] { send(index, Command::UpdateMyStatus, " "); });
}

void Lobby::remote_Ping(int index) {
    post(index, "remote_Ping", [this, index] { send(index, Command::Ping, localAddress()); });
}

void Lobby::remote_PingResponse(int index) {
    post(index, "remote_PingResponse",
         [this, index] { send(index, Command::PingResponse, localAddress(), false); });
}

void Lobby::remote_synchrinizeAIs(int index) {
    post(index, "remote_synchrinizeAIs", [this, index] {
        send(index, Command::SynchronAi, joinItems(localSelections(), kItemSeparator));
    });
}

void Lobby::remote_GetUserDetails(int index) {
    post(index, "remote_GetUserDetails",
         [this, index] { send(index, Command::GetUserDetails, " "); });
}

void Lobby::remote_SendUserDetails(int index) {
    post(index, "remote_SendUserDetails", [this, index] {
        if (!isConnected(index))
            return;
        // Folders travel in the game's own form: a '/' would run into the "//" between them.
        auto wireForm = [](std::string folder) {
            std::replace(folder.begin(), folder.end(), '/', '\\');
            return folder;
        };
        send(index, Command::SendUserDetails,
             wireForm(around_->contentEnv().gameFolder) + std::string(kItemSeparator) +
                 wireForm(around_->contentEnv().paths.launcherFolder));
    });
}

void Lobby::remote_disableMODs(int index) {
    post(index, "remote_disableMODs", [this, index] { send(index, Command::DisableMods, ""); });
}

} // namespace kv::lobby
