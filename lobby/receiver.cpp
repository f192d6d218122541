// The receiver of the lobby protocol and the user list rows it keeps.
#include "common/ui_port.h"
#include "lobby/host_address.h"
#include "lobby/lobby.h"
#include "platform/text.h"

#include <algorithm>

namespace kv::lobby {

UserRow& Lobby::row(int index) {
    auto& rows = state().rows;
    if (index < 0 || size_t(index) >= rows.size())
        fail(35600, "Index out of bounds");
    return rows[size_t(index)];
}

void Lobby::setRow(int index, const UserRow& value) {
    row(index) = value;
    emit rowChanged(index + 1);
}

void Lobby::insertRow(int index, const UserRow& value) {
    auto& rows = state().rows;
    if (index < 0 || index >= kUserRecords)
        fail(35600, "Index out of bounds");
    // Peers greeted out of order: rows of the connections still waiting for their nick
    // are held open, so row k+1 stays connection k's.
    while (rows.size() < size_t(index))
        rows.push_back(UserRow{});
    auto at = rows.begin() + index;
    if (at != rows.end() && at->ip.empty() && at->user == "?")
        *at = value;
    else
        rows.insert(at, value);
    if (state().selectedRow < 0)
        state().selectedRow = 0;
    for (int r = index; r < int(rows.size()); ++r)
        emit rowChanged(r + 1);
}

void Lobby::removeRow(int position) {
    auto& rows = state().rows;
    rows.erase(rows.begin() + position);
    int& selected = state().selectedRow;
    if (selected >= int(rows.size()))
        selected = int(rows.size()) - 1;
    emit rowsRemoved(int(rows.size()));
}

void Lobby::clearRows() {
    state().rows.clear();
    state().selectedRow = -1;
    emit rowsRemoved(0);
}

void Lobby::onNickname(int index, const std::vector<std::string>& fields) {
    const std::string& ip = field(fields, 1);
    const std::string& nick = field(fields, 2);
    // The address may become the host the game connects to.
    if (!isHostAddress(ip)) {
        Status("Refused the nickname from connection " + std::to_string(index) +
               ": its address is not an IPv4 address or a host name");
        return;
    }
    UserRecord& user = state().users.at(size_t(index));
    if (named_.size() <= size_t(index))
        named_.resize(size_t(index) + 1, false);
    const bool again = named_[size_t(index)];
    UserRow r;
    r.ip = ip;
    r.user = nick;
    auto& sendTo = state().sendTo;
    if (again) {
        // A peer that names itself again is still one peer: its row and entry change.
        r.configuration = row(index).configuration;
        setRow(index, r);
        const auto old = std::find(sendTo.begin(), sendTo.end(), user.nick);
        if (old != sendTo.end())
            *old = nick;
        else
            sendTo.push_back(nick);
    } else {
        insertRow(index, r);
        named_[size_t(index)] = true;
        sendTo.push_back(nick);
    }
    user.ip = ip;
    user.nick = nick;
    emit changed();
    setNotReady(index, "OK");
}

bool Lobby::chatAllowed(int index, const std::string& nick) {
    if (index < 0)
        return true;
    if (chatTimes_.size() <= size_t(index)) {
        chatTimes_.resize(size_t(index) + 1);
        floodSaid_.resize(size_t(index) + 1, false);
    }
    auto& times = chatTimes_[size_t(index)];
    const qint64 now = clock_.elapsed();
    while (!times.empty() && now - times.front() >= kChatWindowMs)
        times.pop_front();
    if (times.size() < size_t(kChatBoxesPerWindow)) {
        times.push_back(now);
        floodSaid_[size_t(index)] = false;
        return true;
    }
    if (!floodSaid_[size_t(index)]) {
        floodSaid_[size_t(index)] = true;
        notify([this, nick] {
            around_->ui().message(nick + " sends too many messages; the rest were not shown.",
                                  Icon::Exclamation);
        });
    }
    return false;
}

void Lobby::userDetailsReceived(int index, const std::vector<std::string>& fields) {
    const auto items = splitOn(field(fields, 1), kItemSeparator);
    UserRecord& user = state().users.at(size_t(index));
    user.gameFolder = field(items, 0);
    user.launcherFolder = field(items, 1);
    const auto wanted = std::find(detailsWanted_.begin(), detailsWanted_.end(), index);
    if (wanted == detailsWanted_.end())
        return;
    detailsWanted_.erase(wanted);
    if (showUserDetails)
        notify([this, user] { showUserDetails(user); });
}

void Lobby::remote_parseCommands(const std::string& block, int index) {
    guarded("remote_parseCommands", [&] {
        const Block parsed = parseBlock(block);
        if (!parsed.command)
            return;
        const auto& fields = parsed.fields;
        switch (*parsed.command) {
        case Command::Nickname:
            onNickname(index, fields);
            break;
        case Command::NicknameResponse: {
            UserRow r = row(index);
            r.user = field(fields, 2);
            setRow(index, r);
            // The host's record: its address is the one this side connected to.
            UserRecord& host = state().users.at(size_t(index));
            host.ip = r.ip;
            host.nick = r.user;
            setNotReady(index, "OK");
            break;
        }
        case Command::AiConfig:
            checkAiConfig(index, fields);
            break;
        case Command::KdgConfig:
            checkKdgConfig(index, fields);
            break;
        case Command::Disconnect:
            DoDisconnect(index);
            break;
        case Command::Message: {
            // Chat comes in the Windows code page; shown as the text it is.
            const std::string text = platform::cp1252ToUtf8(field(fields, 1));
            const std::string nick = platform::cp1252ToUtf8(field(fields, 2));
            if (!chatAllowed(index, nick))
                break;
            const std::string title = "Message from " + nick;
            notify([this, text, title] {
                around_->ui().message(text, Icon::Information, Buttons::Ok, title);
            });
            break;
        }
        case Command::StartGame:
            startGameReceived(fields);
            break;
        case Command::UpdateMyStatus:
            remote_sendKDGConfig(index);
            remote_sendAIConfig(index);
            break;
        case Command::Ping:
            remote_PingResponse(index);
            break;
        case Command::PingResponse:
            if (size_t(index) >= answered_.size())
                answered_.resize(size_t(index) + 1, false);
            answered_[size_t(index)] = true;
            break;
        case Command::SynchronAi:
            synchronizeAis(index, fields);
            break;
        case Command::GetUserDetails:
            remote_SendUserDetails(index);
            break;
        case Command::SendUserDetails:
            userDetailsReceived(index, fields);
            break;
        case Command::DisableMods: {
            const std::string nick = field(fields, 2);
            notify([this, nick] {
                DisableAllMODs();
                around_->ui().message(nick + " has disabled all MODs", Icon::Information);
            });
            break;
        }
        }
    });
}

} // namespace kv::lobby
