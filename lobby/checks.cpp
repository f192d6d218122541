// Comparing a peer's AI, rules and MOD configuration with the local one, taking over a
// peer's AI selections, the remote MOD switch-off and the joint start on the joining side.
#include "content/mod_activation.h"
#include "lobby/host_address.h"
#include "lobby/lobby.h"
#include "platform/files.h"

#include <algorithm>
#include <charconv>

namespace kv::lobby {

namespace {

constexpr const char* kCrLf = "\r\n";

bool isPlaceholder(const std::string& text) {
    return text.empty() || text == content::kDontChange || text == content::kRandom;
}

} // namespace

void Lobby::setNotReady(int index, const std::string& newState) {
    struct Step {
        const char* state;
        const char* requires_; // the reason that must be set now; nullptr: any
        const char* column;
        const char* reason; // nullptr: unchanged
    };
    static const Step steps[] = {
        {"OK", nullptr, "OK", nullptr},
        {"ai", "", "Not ready (AI)", "ai"},
        {"kdg", "", "Not ready (KDG)", "kdg"},
        {"rules", "", "Not ready (Rules)", "rules"},
        {"aiOK", "ai", "OK", ""},
        {"kdgOK", "kdg", "OK", ""},
        {"rulesOK", "rules", "OK", ""},
    };
    const auto step = std::find_if(std::begin(steps), std::end(steps),
                                   [&](const Step& s) { return newState == s.state; });
    if (step == std::end(steps)) {
        const std::string text =
            "Error in setNotReady(" + std::to_string(index) + "," + newState + ")";
        notify([this, text] { around_->ui().message(text); });
        return;
    }
    // Errors are ignored here: a connection without a row or record keeps no state.
    if (index < 0 || index >= kUserRecords)
        return;
    std::string& reason = state().users[size_t(index)].notReady;
    if (step->requires_ && reason != step->requires_)
        return;
    if (step->reason)
        reason = step->reason;
    if (size_t(index) < state().rows.size()) {
        state().rows[size_t(index)].configuration = step->column;
        emit rowChanged(index + 1);
    }
}

std::uint64_t Lobby::playerScriptSize(int player) const {
    const std::string path =
        content::skirmishFolder(around_->contentEnv()) + "player" + std::to_string(player) + ".slo";
    const auto size = platform::fileLength(platform::resolvePath(path));
    if (!size)
        fail(53, "File not found");
    return *size;
}

std::uint64_t Lobby::aiFileSize(const std::string& name) const {
    std::string dir = around_->content().ais.directoryOf(name);
    if (dir.empty())
        dir = around_->contentEnv().paths.aiFolder;
    const auto size = platform::fileLength(platform::resolvePath(dir + name + ".kvai"));
    if (!size)
        fail(53, "File not found");
    return *size;
}

std::uint64_t Lobby::rulesFileSize(const std::string& name) const {
    std::string dir = around_->content().rules.directoryOf(name);
    if (dir.empty())
        dir = around_->contentEnv().paths.rulesFolder + name + platform::nativeSeparator();
    const auto size = platform::fileLength(platform::resolvePath(dir + "rules.slo"));
    if (!size)
        fail(53, "File not found");
    return *size;
}

std::uint64_t Lobby::gameRulesSize() const {
    const std::string path = content::skirmishFolder(around_->contentEnv()) + "rules.slo";
    const auto size = platform::fileLength(platform::resolvePath(path));
    if (!size)
        fail(53, "File not found");
    return *size;
}

std::vector<std::string> Lobby::localSelections() const {
    const auto& choices = around_->content().choices;
    std::vector<std::string> texts;
    for (int i = 0; i < kPlayers; ++i)
        texts.push_back(choices.choice(i));
    texts.push_back(choices.rulesChoice());
    return texts;
}

AiConfig Lobby::localAiConfig() const {
    const auto texts = localSelections();
    AiConfig config;
    for (int i = 0; i < kPlayers; ++i) {
        const std::string& name = texts[size_t(i)];
        config.players[size_t(i)] = name;
        config.playerSizes[size_t(i)] =
            isPlaceholder(name) ? playerScriptSize(i) : aiFileSize(name);
    }
    config.rules = texts[kPlayers];
    config.rulesSize = config.rules.empty() || config.rules == content::kDontChange
                           ? gameRulesSize()
                           : rulesFileSize(config.rules);
    return config;
}

std::string Lobby::aiConfigToSend() {
    // Long enough for a burst of peers; short enough that a replaced file is seen.
    constexpr qint64 kReadingKeptMs = 500;
    auto selections = localSelections();
    AiConfigReading& last = aiConfigReading_;
    const qint64 now = clock_.elapsed();
    if (last.atMs < 0 || now - last.atMs > kReadingKeptMs || last.selections != selections) {
        last.payload = aiConfigPayload(localAiConfig());
        last.selections = std::move(selections);
        last.atMs = now;
    }
    return last.payload;
}

std::vector<std::string> Lobby::activeMods() const {
    std::vector<std::string> names;
    for (const auto& entry : around_->content().mods.entries)
        if (entry.checked)
            names.push_back(entry.name);
    return names;
}

namespace {

// A size as the peer wrote it; anything but a plain number is a type mismatch.
std::uint64_t peerSize(const std::string& text, void (*fail)(int, std::string)) {
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        fail(13, "Type mismatch");
    return value;
}

} // namespace

void Lobby::checkAiConfig(int k, const std::vector<std::string>& fields) {
    const auto d = splitOn(field(fields, 1), kItemSeparator);
    const std::string nick = field(fields, 2);
    UserRecord& peer = state().users.at(size_t(k));
    const auto& choices = around_->content().choices;
    const std::string lead =
        nick + "'s AI configuration is not compatible with your configuration: ";
    auto show = [this](std::string text) {
        notify([this, text = std::move(text)] { around_->ui().message(text, Icon::Information); });
    };
    for (int i = 0; i < kPlayers; ++i) {
        const std::string& theirs = field(d, size_t(i));
        peer.ais[size_t(i)] = theirs;
        const std::string mine = choices.choice(i);
        const std::string player = "Player" + std::to_string(i);
        if (mine != theirs) {
            setNotReady(k, "ai");
            show(lead + kCrLf + player + ":" + kCrLf + "Your AI: '" + mine + "'" + kCrLf + nick +
                 "'s AI: '" + theirs + "'");
            return;
        }
        const std::uint64_t size = peerSize(field(d, size_t(9 + i)), fail);
        if (!isPlaceholder(theirs)) {
            if (aiFileSize(theirs) != size) {
                show(lead + kCrLf + nick + " uses a different version of '" + theirs + "'" + kCrLf +
                     "(" + player + ")");
                setNotReady(k, "ai");
                return;
            }
        } else if (playerScriptSize(i) != size) {
            show(lead + kCrLf + nick + " uses a different AI version for " + player);
            setNotReady(k, "ai");
            return;
        }
    }
    setNotReady(k, "aiOK");

    const std::string& theirRules = field(d, 8);
    peer.rules = theirRules;
    const std::string myRules = choices.rulesChoice();
    if (myRules != theirRules) {
        setNotReady(k, "rules");
        show(nick + "'s AI (rules) configuration is not compatible with your configuration: '" +
             myRules + "' - '" + theirRules + "'");
        return;
    }
    const std::uint64_t size = peerSize(field(d, 17), fail);
    if (!theirRules.empty() && theirRules != content::kDontChange) {
        if (rulesFileSize(theirRules) == size) {
            setNotReady(k, "rulesOK");
        } else {
            setNotReady(k, "rules");
            show(lead + kCrLf + nick + " uses a different '" + theirRules + "' version");
        }
    } else if (gameRulesSize() == size) {
        setNotReady(k, "rulesOK");
    } else {
        setNotReady(k, "rules");
        show(lead + kCrLf + nick + " uses a different rules file version" + kCrLf + "(" +
             around_->contentEnv().gameFolder + "multiplay\\skirmish\\rules.slo" + ")");
    }
}

void Lobby::checkKdgConfig(int k, const std::vector<std::string>& fields) {
    const std::string& payload = field(fields, 1);
    // An empty payload is no MOD at all, not one MOD with an empty name.
    const auto d = payload.empty() ? std::vector<std::string>{} : splitOn(payload, kItemSeparator);
    const std::string nick = field(fields, 2);
    UserRecord& peer = state().users.at(size_t(k));
    for (size_t j = 0; j < d.size(); ++j) {
        if (j >= peer.mods.size())
            fail(9, "Subscript out of range");
        peer.mods[j] = d[j];
        peer.modCount = std::int16_t(j + 1);
    }
    if (d.empty())
        peer.modCount = 0;
    auto show = [this](std::string text) {
        notify([this, text = std::move(text)] { around_->ui().message(text, Icon::Information); });
    };
    const auto& entries = around_->content().mods.entries;
    for (const std::string& mod : d) {
        const auto entry = std::find_if(entries.begin(), entries.end(),
                                        [&](const content::ModEntry& e) { return e.name == mod; });
        if (entry == entries.end()) {
            setNotReady(k, "kdg");
            show(nick + "'s KDG configuration is not compatible with your configuration: '" + mod +
                 "' MOD was not found");
            return;
        }
        if (!entry->checked)
            show("'" + mod + "' is active on " + nick + "'s PC, but it's not active on your PC." +
                 kCrLf + "Activate this MOD to make your Korvane campatible with HOST's Korvane.");
    }
    if (d.empty()) {
        setNotReady(k, "kdgOK");
        return;
    }
    for (const std::string& mine : activeMods())
        if (std::find(d.begin(), d.end(), mine) == d.end()) {
            setNotReady(k, "kdg");
            show("'" + mine + "' is active on your PC, but it's not active on " + nick + "'s PC." +
                 kCrLf + "Deactivate this MOD to make your Korvane campatible with " + nick +
                 "'s Korvane.");
            return;
        }
    setNotReady(k, "kdgOK");
}

void Lobby::synchronizeAis(int k, const std::vector<std::string>& fields) {
    auto d = splitOn(field(fields, 1), kItemSeparator);
    (void)field(d, 8);
    const std::string nick = field(fields, 2);
    notify([this, k, d = std::move(d), nick] {
        guarded("remote_parseCommands", [&] {
            Ui& ui = around_->ui();
            const std::string me = around_->nick();
            if (state().mode == LobbyMode::Host &&
                ui.message(nick + " wants to change AI settings, continue?", Icon::Question,
                           Buttons::YesNo) != Answer::Yes) {
                remote_SendMessage(me + " refused to change AI settings (he is the host)", k);
                return;
            }
            auto& choices = around_->content().choices;
            auto take = [&](content::ChoiceList& list, const std::string& name, const char* what) {
                if (std::find(list.items.begin(), list.items.end(), name) != list.items.end()) {
                    list.select(name);
                    return;
                }
                ui.message("'" + name + "' " + what + " file is not installed." + kCrLf + nick +
                               " was informed about it",
                           Icon::Exclamation);
                remote_SendMessage(
                    "'" + name + "' " + what + " file was not found on " + me + "'s system", k);
            };
            for (int i = 0; i < kPlayers; ++i)
                take(choices.players[size_t(i)], d[size_t(i)], "AI");
            take(choices.rules, d[8], "rules");
            // Installing is what the "Apply" button does; it then has nothing left to apply.
            around_->installChoices();
            choices.applyEnabled = false;
            around_->refresh();
            ui.message(nick + " has changed your AI settings", Icon::Information);
        });
    });
}

void Lobby::DisableAllMODs() {
    content::DisableAllMODs(around_->content(), around_->contentEnv());
    around_->refresh();
}

void Lobby::startGameReceived(const std::vector<std::string>& fields) {
    if (state().mode != LobbyMode::Join)
        return;
    const std::string host = field(fields, 1);
    const std::string nick = field(fields, 2);
    // The address goes onto the game's command line: nothing but an address may.
    if (!isHostAddress(host)) {
        Status("Refused a start from " + nick + ": '" + host +
               "' is not an IPv4 address or a host name");
        return;
    }
    notify([this, host, nick] {
        Ui& ui = around_->ui();
        bool start = false;
        if (state().hostLabel == host) {
            start =
                ui.message(nick + " wants to start the game now, do you want to launch Korvane?",
                           Icon::Exclamation, Buttons::YesNo) == Answer::Yes;
        } else if (ui.message(nick + " wants to start a game and be a host, should " + nick +
                                  " become a host?" + kCrLf + "Host address: " + host,
                              Icon::Question, Buttons::YesNo) == Answer::Yes) {
            state().hostLabel = host;
            emit changed();
            start = ui.message("Do you want to start the game now?", Icon::Exclamation,
                               Buttons::YesNo) == Answer::Yes;
        }
        if (!start)
            return;
        around_->setMultiplayerMode();
        emit changed();
        JoinGame();
    });
}

} // namespace kv::lobby
