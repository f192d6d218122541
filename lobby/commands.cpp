// What the user does on the lobby page: adding a host's address, the address history and
// the lobby's menu commands.
#include "lobby/host_address.h"
#include "lobby/lobby.h"
#include "platform/text.h"

#include <algorithm>

namespace kv::lobby {

namespace {

std::string trimmedText(const std::string& text) {
    return std::string(platform::trimBlanksTabs(text));
}

std::string lowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    return text;
}

} // namespace

int Lobby::selectedConnection() const {
    const int selected = state_.selectedRow;
    return selected >= 0 && size_t(selected) < state_.rows.size() ? selected : -1;
}

void Lobby::addHostIp() {
    LobbyState& s = state();
    const std::string ip = s.ipEntry;
    if (ip.empty())
        return;
    if (std::any_of(s.rows.begin(), s.rows.end(), [&](const UserRow& r) { return r.ip == ip; })) {
        around_->ui().message("'" + ip + "' IP already exists");
        return;
    }
    s.rows.push_back(UserRow{ip, "?", "?"});
    if (s.selectedRow < 0)
        s.selectedRow = 0;
    emit rowChanged(int(s.rows.size()));

    auto& history = around_->hostHistory();
    int& count = around_->hostHistoryCount();
    const std::string entry = trimmedText(ip);
    const bool known = std::any_of(history.begin(), history.begin() + count,
                                   [&](const std::string& h) { return trimmedText(h) == entry; });
    if (!known) {
        // A full history forgets its oldest address.
        if (count == kHostHistorySize) {
            std::rotate(history.begin(), history.begin() + 1, history.end());
            --count;
        }
        history[size_t(count++)] = entry;
    }
    s.ipEntry.clear();
    s.controls.connect = true;
    s.controls.setHost = true;
    around_->setMultiplayerMode();
    s.controls.add = s.mode != LobbyMode::Host && s.rows.empty();
    emit changed();
}

std::vector<std::pair<std::string, bool>> Lobby::historyMenu() const {
    std::vector<std::pair<std::string, bool>> menu;
    for (const std::string& address : around_->hostHistory()) {
        const std::string shown = trimmedText(address);
        menu.emplace_back(shown.empty() ? "<Not set>" : shown, !shown.empty());
    }
    return menu;
}

void Lobby::chooseHistoryEntry(int index) {
    const auto menu = historyMenu();
    if (index < 0 || size_t(index) >= menu.size() || !menu[size_t(index)].second)
        return;
    state().ipEntry = menu[size_t(index)].first;
    emit changed();
}

void Lobby::runCommand(const std::string& entry) {
    LobbyState& s = state();
    s.localAddress = localAddress();
    const std::string command = lowerAscii(entry);
    const int k = selectedConnection();
    Ui& ui = around_->ui();
    if (command == "connect") {
        DoConnect();
    } else if (command == "disconnect") {
        if (k < 0)
            return;
        remote_Disconnect(k);
        // Closed on the connection's next turn, once the goodbye has left.
        outbox_->queue(k, [this, k] { DoDisconnect(k); });
    } else if (command == "set user as host") {
        if (k < 0 || s.rows[size_t(k)].ip.empty()) {
            ui.message("No user selected", Icon::Exclamation);
            return;
        }
        // The row's text may be a peer's own report; only an address goes to the game.
        if (!isHostAddress(s.rows[size_t(k)].ip)) {
            Status("Refused '" + s.rows[size_t(k)].ip +
                   "' as the host: it is not an IPv4 address or a host name");
            return;
        }
        s.hostLabel = s.rows[size_t(k)].ip;
        emit changed();
    } else if (command == "get current user status") {
        if (k < 0) {
            ui.message("No users selected", Icon::Exclamation);
            return;
        }
        remote_UpdateMyStatus(k);
    } else if (command == "send message") {
        if (k < 0)
            return;
        const auto text = ui.input("Message", "Message", "Your message here...");
        if (!text)
            return;
        remote_SendMessage(*text, k);
    } else if (command == "update my status") {
        if (k < 0)
            return;
        remote_sendAIConfig(k);
        remote_sendKDGConfig(k);
    } else if (command == "synchronize ais") {
        for (int c = 0; c < int(s.rows.size()); ++c)
            if (isConnected(c))
                remote_synchrinizeAIs(c);
    } else if (command == "user details") {
        if (k < 0)
            return;
        // Shown when the answer comes; a peer that is gone shows what is known.
        if (!isConnected(k)) {
            if (showUserDetails)
                showUserDetails(s.users[size_t(k)]);
            return;
        }
        if (std::find(detailsWanted_.begin(), detailsWanted_.end(), k) == detailsWanted_.end())
            detailsWanted_.push_back(k);
        remote_GetUserDetails(k);
    } else if (command == "disable all mods") {
        if (!s.rows.empty() && k >= 0)
            remote_disableMODs(k);
    }
    // "Synchronize MODs" has no action.
}

} // namespace kv::lobby
